#include "tests/support/cadsim_fixture.h"

#include <chrono>
#include <filesystem>
#include <fstream>

namespace cadsimtest {

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
            killProcess(pid);
    });
}

std::string CadsimTest::inject(const std::string& member, const std::string& argument,
                               const std::string& kind)
{
    return control("InjectFault", {QString::fromStdString(member), QString::fromStdString(argument),
                                   QString::fromStdString(kind)});
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
