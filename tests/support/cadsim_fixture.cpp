#include "tests/support/cadsim_fixture.h"

#include <chrono>
#include <filesystem>
#include <fstream>

namespace cadsimtest {

namespace {

// What cadsim needs around it, once for a whole test program: registered as a GoogleTest
// environment, so that it comes up when the first test runs, not when tests are only listed.
class Surroundings : public ::testing::Environment {
public:
    void SetUp() override { environment_ = std::make_unique<cadsim::Environment>(); }
    void TearDown() override { environment_.reset(); }

private:
    std::unique_ptr<cadsim::Environment> environment_;
};
const auto* const kSurroundings = ::testing::AddGlobalTestEnvironment(new Surroundings);

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

void CadsimTest::start(const std::vector<std::string>& drawings, const std::vector<std::string>& extra)
{
    cadsim = std::make_unique<cadsim::Cadsim>(preferences, drawings, extra);
    installBackend();
}

void CadsimTest::TearDown()
{
    cad::setBackend(nullptr);
    cadsim.reset();
}

std::string CadsimTest::writeFile(const std::string& name, const std::string& text) const
{
    const std::string path = folder() + char(std::filesystem::path::preferred_separator) + name;
    // Names are UTF-8, whatever the system's narrow code page is.
    std::ofstream(std::filesystem::path(std::u8string(path.begin(), path.end()))) << text;
    return path;
}

std::jthread CadsimTest::killCadsimOnce(std::function<bool()> ready)
{
    return std::jthread([pid = cadsim->pid(), ready = std::move(ready)](std::stop_token stop) {
        while (!stop.stop_requested() && !ready())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (!stop.stop_requested())
            cadsim::Cadsim::kill(pid);
    });
}

std::string CadsimTest::inject(const std::string& member, const std::string& argument,
                               const std::string& kind)
{
    return control("InjectFault", {member, argument, kind});
}

int32_t CadsimTest::save(std::string name)
{
    bool flag = true;
    const std::unique_ptr<cad::Document> document = activeDoc();
    return document ? document->SaveAsSilent(name, flag) : -1;
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

}  // namespace cadsimtest
