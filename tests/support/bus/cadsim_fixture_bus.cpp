#include "tests/support/cadsim_fixture.h"

namespace cadsimtest {

const bool kCadsimCanBeBusy = false;

std::string injectedError(const std::string& member)
{
    return "Fehler beim CAD-Aufruf " + member + ": eingespeister Fehler bei " + member +
           " (SldWorks.Error.Injected)";
}

std::string lostDuringCall(const std::string& member)
{
    return "Fehler beim CAD-Aufruf " + member +
           ": Message recipient disconnected from message bus without replying";
}

std::string unansweredCall(const std::string& member)
{
    return "Fehler beim CAD-Aufruf " + member + ": Did not receive a reply";
}

void CadsimTest::SetUp()
{
    ASSERT_TRUE(dir_.isValid());
    preferences = folder() + "/preferences.json";
    options.cadsimPath = "/nonexistent/cadsim";  // attach only: the test starts cadsim itself
    options.startWaitMs = 200;
}

void CadsimTest::installBackend()
{
    cad::setBackend(cad::dbus::makeBackend(options));
}

}  // namespace cadsimtest
