// The stand-in's automation objects: IDispatch by member name over the
// scripted CAD of the tests, strict about the variant types it accepts. The
// runner reaches the same state through StandIn_State, from the DLL that COM
// loaded, and scripts its CAD directly.
#pragma once

#include "tests/support/fake_cad.h"

#include <oaidl.h>
#include <windows.h>

#include <string>
#include <vector>

// {7D2E5A10-4C1B-4E8A-9F3D-2B6C8A1E5F07}: registered as SldWorks.Application in the test prefix.
#define KUP_STANDIN_CLSID_TEXT "{7D2E5A10-4C1B-4E8A-9F3D-2B6C8A1E5F07}"

namespace standin {

struct State {
    fake::Cad cad;
    // Every member call with the variant types it received: "Member(VT_I4 10, VT_I2 12)",
    // "Visible=VT_BOOL -1", "ActivateSheet(VT_BYREF|VT_BSTR Blatt1)".
    std::vector<std::string> journal;
    int created = 0;  // application objects the class factory made
    int living = 0;   // objects of any kind alive now
};
State& state();

// The application object, as the class factory makes it.
IDispatch* newApplication();

}  // namespace standin

extern "C" standin::State* StandIn_State();
using StandIn_State_t = standin::State* (*)();
