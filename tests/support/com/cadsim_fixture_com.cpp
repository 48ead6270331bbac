#include "tests/support/cadsim_fixture.h"

namespace cadsimtest {

const bool kCadsimCanBeBusy = true;

std::string injectedError(const std::string& member)
{
    return member + ": eingespeister Fehler bei " + member;
}

std::string lostDuringCall(const std::string& member)
{
    return member + ": Solidworks ist nicht mehr erreichbar (beendet?), 0x";
}

std::string unansweredCall(const std::string& member)
{
    return member + ": Solidworks antwortet nicht (nach ";
}

void CadsimTest::SetUp()
{
    ASSERT_TRUE(dir_.isValid());
    preferences = folder() + "/preferences.json";
}

void CadsimTest::installBackend()
{
    cad::setBackend(cad::com::makeBackend(options));
}

}  // namespace cadsimtest
