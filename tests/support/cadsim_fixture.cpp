#include "tests/support/cadsim_fixture.h"

#include "tests/support/private_bus_environment.h"

#include <fstream>

namespace bustest {

namespace {
const auto* const kBus = ::testing::AddGlobalTestEnvironment(new testbus::PrivateBusEnvironment);
}  // namespace

std::string drawingJson(const std::string& title, const std::vector<SheetSpec>& sheets,
                        const std::string& active)
{
    std::string json = "{\"type\": \"drawing\", \"title\": \"" + title + "\", ";
    if (!active.empty())
        json += "\"activeSheet\": \"" + active + "\", ";
    json += "\"sheets\": [";
    for (size_t i = 0; i < sheets.size(); ++i) {
        const SheetSpec& s = sheets[i];
        json += (i ? ", " : "") + std::string("{\"name\": \"") + s.name +
                "\", \"paperSize\": " + std::to_string(s.paperSize) +
                ", \"template\": " + std::to_string(s.templateCode) + R"(, "templatePath": "C:\\Vorlagen\\)" +
                s.name + R"(.drt", "scale": [1, 2], "firstAngle": )" + (i % 2 ? "false" : "true") + ", " +
                (s.extra.empty() ? "" : s.extra + ", ") + "\"entities\": [" + s.entities + "]}";
    }
    return json + "]}";
}

void CadsimTest::SetUp()
{
    ASSERT_TRUE(dir_.isValid());
    preferences = folder() + "/preferences.json";
    options.cadsimPath = "/nonexistent/cadsim";  // attach only: the test starts cadsim itself
    options.startWaitMs = 200;
}

void CadsimTest::TearDown()
{
    cad::setBackend(nullptr);
    cadsim.reset();
}

std::string CadsimTest::writeFile(const std::string& name, const std::string& text) const
{
    const std::string path = folder() + "/" + name;
    std::ofstream(path) << text;
    return path;
}

void CadsimTest::start(const std::vector<std::string>& drawings, const std::vector<std::string>& extra)
{
    cadsim = std::make_unique<testbus::CadsimProcess>(preferences, drawings, extra);
    cad::setBackend(cad::dbus::makeBackend(options));
}

std::unique_ptr<cad::Application> CadsimTest::app()
{
    std::unique_ptr<cad::Application> application = cad::attach();
    EXPECT_NE(application, nullptr);
    return application;
}

std::unique_ptr<cad::Document> CadsimTest::activeDoc()
{
    auto application = app();
    return application ? application->ActiveDoc() : nullptr;
}

}  // namespace bustest
