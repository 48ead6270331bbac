#include "app/windows_start.h"

#include <windows.h>

void setUpWindowsProcess()
{
    // A drive without its medium, or one that is not ready, is the chooser's to tell (it says
    // so in its note); without this Windows would stop the program with its own "no disk" box
    // whenever a file test touches such a drive.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

    // The installer and the uninstaller open this mutex to tell that the program runs, and then
    // replace or remove nothing. The handle is never closed: Windows releases it when the process
    // ends, however it ends. In the session's own namespace, as the installation is the user's.
    CreateMutexW(nullptr, FALSE, L"" KUP_RUNNING_MUTEX);
}
