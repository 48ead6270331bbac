// cadsim.exe: the stand-in CAD system as a COM local server.
#include "cadsim/cad_session.h"
#include "cadsim/com/automation_objects.h"
#include "cadsim/com/com_server.h"
#include "cadsim/main_window.h"
#include "cadsim/startup.h"
#include "platform/win_text.h"

#include <objbase.h>
#include <shellapi.h>
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

// The command line as Windows holds it, in UTF-8: argv is in the narrow code page.
std::vector<std::string> arguments()
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> result;
    for (int i = 1; i < count; ++i)
        result.push_back(win::utf8FromWide(wide[i]));
    LocalFree(wide);
    return result;
}

std::wstring exePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    using namespace cadsim;
    Options options;
    if (const std::optional<int> end = readCommandLine(arguments(), options))
        return *end;
    // Started by COM (-Embedding) it runs as it would started by hand.
    if (options.registerServer)
        return com::registerServer(exePath());
    if (options.unregisterServer)
        return com::unregisterServer();
    std::vector<Drawing> drawings;
    if (const std::optional<int> end = loadDrawings(options, drawings))
        return *end;

    // The window thread is the application's apartment, where the message filter works.
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        std::fprintf(stderr, "cadsim: COM nicht zu beginnen (CoInitializeEx)\n");
        return 1;
    }
    // Qt's offscreen platform has no fonts on Windows, and the sheets' texts are drawn from glyph
    // outlines: headless means the window platform without a window.
    if (options.headless && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "windows");
    int rc = 1;
    {
        std::unique_ptr<QGuiApplication> app = makeApplication(options, argc, argv);
        std::unique_ptr<CadSession> session = openSession(options, std::move(drawings));
        com::setJournal(options.journal);
        com::SessionAccess access(*session);
        com::Server server(access);
        if (server.start()) {
            std::unique_ptr<MainWindow> window;
            if (!options.headless) {
                window = std::make_unique<MainWindow>(*session);
                window->show();
            }
            rc = app->exec();
        }
    }
    CoUninitialize();
    return rc;
}
