// Per test a cadsim of its own with drawings and a settings file in a folder of
// the test's own, reached through the tool's backend of the platform: on a
// private session bus on Linux, as a COM local server on Windows.
#pragma once

#include "cad/automation.h"
#include "tests/support/cadsim_platform.h"

#include <QList>
#include <QVariant>

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace cadsimtest {

// A drawing file with one sheet per entry: {name, paperSize, template}.
struct SheetSpec {
    std::string name;
    int paperSize = 8;
    int templateCode = 8;
    std::string extra;  // more JSON fields, e.g. "\"width\": 0.5, \"height\": 0.25"
    std::string entities =
        R"({"rect": [20, 10, 100, 50]}, {"circle": [60, 40, 15]}, {"text": [25, 15, 5, "Test"]})";
};
std::string drawingJson(const std::string& title, const std::vector<SheetSpec>& sheets,
                        const std::string& active = {});

class CadsimTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // In the system's own notation, as cadsim reports the paths it saved to.
    std::string folder() const { return QDir::toNativeSeparators(dir_.path()).toStdString(); }
    std::string writeFile(const std::string& name, const std::string& text) const;
    // Starts cadsim with these drawings and installs the backend (which never
    // starts a cadsim of its own here).
    void start(const std::vector<std::string>& drawings, const std::vector<std::string>& extra = {});
    // The backend as options are now.
    void installBackend();
    std::unique_ptr<cad::Application> app();
    std::unique_ptr<cad::Document> activeDoc();
    // A call on cadsim's control interface; the error text, empty on success.
    static std::string control(const char* member, const QList<QVariant>& arguments = {});
    // A fault cadsim is to show at a member (for calls with this first argument, "" for all):
    // InjectFault's error text, empty when it was taken.
    static std::string inject(const std::string& member, const std::string& argument,
                              const std::string& kind);
    // The active document saved under this name: SaveAsSilent's result.
    int32_t save(std::string name = "x.tif");
    // Ends cadsim as a crash would, from a thread of its own, once `ready`
    // holds: for a kill while the tool is in the middle of something.
    std::jthread killCadsimOnce(std::function<bool()> ready);

    BackendOptions options;
    std::unique_ptr<CadsimProcess> cadsim;
    std::string preferences;

private:
    QTemporaryDir dir_;
};

}  // namespace cadsimtest
