#include "dialogs/desktop_system.h"

#include <QFileInfo>
#include <QProcess>

#include <cstdlib>

namespace kup {

long NoRegistry::OpenKey(uint32_t, const std::string&, uint32_t, uint32_t, Key& key)
{
    key = 0;
    return kErrorFileNotFound;
}

long NoRegistry::QueryValue(Key, const std::string&, uint32_t& type, unsigned char*, uint32_t& size)
{
    type = 0;
    size = 0;
    return kErrorFileNotFound;
}

long NoRegistry::CloseKey(Key)
{
    return kErrorSuccess;
}

bool DesktopLauncher::fileExists(const std::string& path)
{
    const QFileInfo file(QString::fromStdString(path));
    return file.isFile() && !file.isHidden();
}

bool DesktopLauncher::start(const std::string& path)
{
    // Detached: the program lives on after the tool, which neither waits for it nor ends it.
    return QProcess::startDetached(QString::fromStdString(path), {});
}

std::optional<std::string> DesktopLauncher::equivalentProgram()
{
    const char* searchPath = std::getenv("PATH");
    if (searchPath == nullptr)
        return std::nullopt;
    return findOnSearchPath(kEquivalentSysInfoPrograms, searchPath, ':', *this);
}

Registry& systemRegistry()
{
    static NoRegistry registry;
    return registry;
}

ProgramLauncher& systemLauncher()
{
    static DesktopLauncher launcher;
    return launcher;
}

}  // namespace kup
