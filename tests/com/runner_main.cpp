// The Windows test runner: the COM backend and the core procedures over COM,
// against the stand-in server in a private wine prefix.
#include "cad/automation.h"
#include "cad/com/com_backend.h"
#include "tests/com/standin.h"

#include <objbase.h>
#include <windows.h>

#include <stdexcept>

namespace standin {

State& server()
{
    static State* const instance = [] {
        wchar_t path[MAX_PATH] = {};
        LONG size = sizeof path;
        if (RegQueryValueW(HKEY_CLASSES_ROOT, L"CLSID\\" KUP_STANDIN_CLSID_TEXT L"\\InprocServer32", path,
                           &size) != ERROR_SUCCESS)
            throw std::runtime_error("Ersatzserver " KUP_STANDIN_CLSID_TEXT " ist nicht registriert");
        const HMODULE dll = LoadLibraryW(path);
        const auto get = dll ? reinterpret_cast<StandIn_State_t>(
                                   reinterpret_cast<void*>(GetProcAddress(dll, "StandIn_State")))
                             : nullptr;
        if (!get)
            throw std::runtime_error("Ersatzserver nicht ladbar");
        return get();
    }();
    return *instance;
}

void reset()
{
    State& s = server();
    s.cad.document.reset();
    s.cad.clearFaults();
    fake::setDefaultPreferences(s.cad);
    s.journal.clear();
    s.created = 0;
}

void drawing(const std::string& title, const std::vector<std::pair<std::string, int>>& sheets)
{
    reset();
    server().cad.document = fake::Document{3, title, {}, 0};
    for (const auto& [name, paperSize] : sheets)
        server().cad.document->sheets.push_back(fake::makeSheet(name, paperSize));
}

Lines journalOf(const std::string& member)
{
    return fake::callsOf(server().journal, member);
}

}  // namespace standin

int main(int argc, char** argv)
{
    SetConsoleOutputCP(CP_UTF8);
    testing::InitGoogleTest(&argc, argv);
    // As the tool's window thread: COM stays entered between the procedures.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    cad::setBackend(cad::com::makeBackend());
    const int result = RUN_ALL_TESTS();
    cad::setBackend(nullptr);
    CoUninitialize();
    // A run in which nothing passed proves nothing.
    return result != 0 || testing::UnitTest::GetInstance()->successful_test_count() == 0;
}
