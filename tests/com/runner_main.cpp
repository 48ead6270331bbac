// The Windows test runner: the COM backend, the core procedures over COM and
// the registry lookup, against the stand-in server in a private wine prefix.
//   kup_com_runner [part of a case name]
#include "cad/automation.h"
#include "cad/com/com_backend.h"
#include "tests/com/check.h"

#include <objbase.h>
#include <windows.h>

#include <string>

int main(int argc, char** argv)
{
    SetConsoleOutputCP(CP_UTF8);
    // As the tool's window thread: COM stays entered between the procedures.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    cad::setBackend(cad::com::makeBackend());
    const int result = check::runAll(argc > 1 ? argv[1] : "");
    cad::setBackend(nullptr);
    CoUninitialize();
    return result;
}
