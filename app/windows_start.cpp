#include "app/windows_start.h"

#include <windows.h>

void setUpWindowsProcess()
{
    // The installer and the uninstaller open this mutex to tell that the program runs, and then
    // replace or remove nothing. The handle is never closed: Windows releases it when the process
    // ends, however it ends. In the session's own namespace, as the installation is the user's.
    CreateMutexW(nullptr, FALSE, L"" KUP_RUNNING_MUTEX);
}
