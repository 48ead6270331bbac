#include "tests/support/cadsim_fixture.h"

#include "tests/support/private_bus_environment.h"

namespace cadsimtest {

namespace {
const auto* const kBus = ::testing::AddGlobalTestEnvironment(new testbus::PrivateBusEnvironment);
}  // namespace

void CadsimTest::SetUp()
{
    ASSERT_TRUE(dir_.isValid());
    preferences = folder() + "/preferences.json";
    options.cadsimPath = "/nonexistent/cadsim";  // attach only: the test starts cadsim itself
    options.startWaitMs = 200;
}

void CadsimTest::start(const std::vector<std::string>& drawings, const std::vector<std::string>& extra)
{
    cadsim = std::make_unique<CadsimProcess>(preferences, drawings, extra);
    installBackend();
}

void CadsimTest::installBackend()
{
    cad::setBackend(cad::dbus::makeBackend(options));
}

std::string CadsimTest::control(const char* member, const QList<QVariant>& arguments)
{
    return cadsim::control(member, arguments);
}

}  // namespace cadsimtest
