#include "tests/support/cadsim_fixture.h"

namespace cadsimtest {

namespace {

// cadsim.exe registered once per test program, for the user, as it registers itself.
class Registration : public ::testing::Environment {
public:
    void SetUp() override
    {
        std::string output;
        ASSERT_EQ(CadsimProcess::registerServer(output), 0) << output;
    }
    void TearDown() override { CadsimProcess::removeMachineLinks(); }
};
const auto* const kRegistration = ::testing::AddGlobalTestEnvironment(new Registration);

}  // namespace

void CadsimTest::SetUp()
{
    ASSERT_TRUE(dir_.isValid());
    preferences = folder() + "/preferences.json";
}

void CadsimTest::start(const std::vector<std::string>& drawings, const std::vector<std::string>& extra)
{
    std::vector<std::string> arguments{"--headless", "--prefs", preferences};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    arguments.insert(arguments.end(), drawings.begin(), drawings.end());
    cadsim = std::make_unique<CadsimProcess>();
    ASSERT_TRUE(cadsim->start(arguments)) << cadsim->output();
    installBackend();
}

void CadsimTest::installBackend()
{
    cad::setBackend(cad::com::makeBackend(options));
}

std::string CadsimTest::control(const char* member, const QList<QVariant>& arguments)
{
    std::vector<std::string> texts;
    for (const QVariant& argument : arguments)
        texts.push_back(argument.toString().toStdString());
    return CadsimProcess::control(member, texts);
}

}  // namespace cadsimtest
