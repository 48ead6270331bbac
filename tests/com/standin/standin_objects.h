// The stand-in's automation objects: IDispatch by member name over the
// scripted CAD of the tests, strict about the variant types it accepts.
#pragma once

#include "cad/automation.h"
#include "tests/support/fake_cad.h"

#include <oaidl.h>
#include <windows.h>

#include <string>
#include <vector>

namespace standin {

struct State {
    fake::Cad cad;
    std::vector<std::string> journal;
    int created = 0;
    int living = 0;
};
State& state();

// The application object, as the class factory makes it.
IDispatch* newApplication();

}  // namespace standin
