#include "cad/automation.h"

#include "cad/members.h"

#include <utility>

namespace cad {

namespace {
Backend& installedBackend()
{
    static Backend backend;
    return backend;
}
}  // namespace

void setBackend(Backend backend)
{
    installedBackend() = std::move(backend);
}

std::unique_ptr<Application> attach()
{
    const Backend& backend = installedBackend();
    if (!backend)
        return nullptr;
    std::unique_ptr<Application> application = backend();
    if (application)
        application->Visible(true);
    return application;
}

std::unique_ptr<Application> attachOrSay(std::string& message)
{
    std::unique_ptr<Application> application = attach();
    if (!application)
        message = "Solidworks läuft gar nicht";
    return application;
}

std::string failureText(const std::string& cutShort, const AutomationError& error)
{
    return cutShort + ", Solidworks meldet einen Fehler:\r\n" + error.what();
}

std::unique_ptr<Sheet> currentSheetOf(Document& document)
{
    std::unique_ptr<Sheet> sheet = document.GetCurrentSheet();
    if (!sheet)
        throw AutomationError(std::string(members::nameOf(members::Id::GetCurrentSheet)) +
                              ": die Zeichnung hat kein aktives Blatt");
    return sheet;
}

}  // namespace cad
