// The DLL's entry points: the class factory COM asks for, and the control
// functions of the test runner (standin_control.h).
#include "tests/com/standin/standin_control.h"
#include "tests/com/standin/standin_objects.h"

#include <objbase.h>
#include <oleauto.h>

#include <cstring>

namespace {

const CLSID kStandInClass = {0x7D2E5A10, 0x4C1B, 0x4E8A, {0x9F, 0x3D, 0x2B, 0x6C, 0x8A, 0x1E, 0x5F, 0x07}};

class Factory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // One factory for the life of the DLL.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        IDispatch* application = standin::newApplication();
        if (!application)
            return E_FAIL;
        const HRESULT result = application->QueryInterface(iid, object);
        application->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

Factory factory;
DWORD runningCookie = 0;

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

void StandIn_Reset()
{
    standin::State& s = standin::state();
    s.cad.document.reset();
    s.cad.clearFaults();
    s.cad.savedFiles.clear();
    s.cad.integerPreferences.clear();
    s.cad.togglePreferences.clear();
    s.cad.doublePreferences.clear();
    fake::setDefaultPreferences(s.cad);
    s.journal.clear();
    s.created = 0;
}

void StandIn_OpenDocument(int32_t type, const char* title)
{
    standin::state().cad.document = fake::Document{type, title, {}, 0};
}

void StandIn_AddSheet(const char* name, int32_t paperSizeCode, int32_t templateCode, double scaleNumerator,
                      double scaleDenominator)
{
    standin::state().cad.activeDocument().sheets.push_back(
        fake::makeSheet(name, paperSizeCode, templateCode, scaleNumerator, scaleDenominator));
}

void StandIn_SetPreference(char kind, int32_t number, double value)
{
    fake::Cad& cad = standin::state().cad;
    if (kind == 'i')
        cad.integerPreferences[number] = int16_t(value);
    else if (kind == 't')
        cad.togglePreferences[number] = value != 0;
    else
        cad.doublePreferences[number] = value;
}

double StandIn_Preference(char kind, int32_t number)
{
    fake::Cad& cad = standin::state().cad;
    if (kind == 'i')
        return cad.integerPreferences[number];
    if (kind == 't')
        return cad.togglePreferences[number] ? 1 : 0;
    return cad.doublePreferences[number];
}

void StandIn_Fault(const char* member, const char* argument, char kind, int nth)
{
    fake::Fault fault{member, kind == 'r' ? fake::FaultKind::Refuse : fake::FaultKind::Throw, std::nullopt,
                      nth};
    if (argument)
        fault.argument = argument;
    standin::state().cad.addFault(fault);
}

int StandIn_Journal(char* text, int capacity)
{
    std::string all;
    for (const std::string& line : standin::state().journal)
        all += line + "\n";
    if (text && capacity > 0) {
        const std::size_t copied = std::min(all.size(), std::size_t(capacity - 1));
        std::memcpy(text, all.data(), copied);
        text[copied] = '\0';
    }
    return int(all.size());
}

int StandIn_Created()
{
    return standin::state().created;
}

int StandIn_Living()
{
    return standin::state().living;
}

int StandIn_RegisterRunning()
{
    IDispatch* application = standin::newApplication();
    if (!application)
        return 0;
    const HRESULT result =
        RegisterActiveObject(application, kStandInClass, ACTIVEOBJECT_STRONG, &runningCookie);
    application->Release();  // the table of running objects holds it now
    return SUCCEEDED(result);
}

void StandIn_RevokeRunning()
{
    if (runningCookie)
        RevokeActiveObject(runningCookie, nullptr);
    runningCookie = 0;
}

}  // extern "C"
