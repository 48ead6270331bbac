// The DLL's entry points: the class factory COM asks for, and the state the
// test runner scripts.
#include "tests/com/standin/standin_objects.h"

#include "platform/com_object.h"

#include <objbase.h>

namespace {

const CLSID kStandInClass = {0x7D2E5A10, 0x4C1B, 0x4E8A, {0x9F, 0x3D, 0x2B, 0x6C, 0x8A, 0x1E, 0x5F, 0x07}};

win::ClassFactory factory([] { return standin::newApplication(); });

}  // namespace

extern "C" {

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID iid, void** object)
{
    if (!IsEqualCLSID(classId, kStandInClass))
        return CLASS_E_CLASSNOTAVAILABLE;
    return factory.QueryInterface(iid, object);
}

// The scripted state lives as long as the process: the runner keeps it loaded.
HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return S_FALSE;
}

standin::State* StandIn_State()
{
    return &standin::state();
}

}  // extern "C"
