// One private bus per test program, and per test a cadsim on it with drawings
// and a settings file in a folder of the test's own; the tool reaches it
// through its D-Bus backend.
#pragma once

#include "cad/automation.h"
#include "cad/dbus/dbus_backend.h"
#include "tests/support/cadsim_process.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace bustest {

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

    std::string folder() const { return dir_.path().toStdString(); }
    std::string writeFile(const std::string& name, const std::string& text) const;
    // Starts cadsim with these drawings and installs the backend (which never
    // starts a cadsim of its own here).
    void start(const std::vector<std::string>& drawings, const std::vector<std::string>& extra = {});
    std::unique_ptr<cad::Application> app();
    std::unique_ptr<cad::Document> activeDoc();
    // A call on cadsim's control interface; the error text, empty on success.
    static std::string control(const char* member, const QList<QVariant>& arguments = {})
    {
        return cadsim::control(member, arguments);
    }

    cad::dbus::BackendOptions options;
    std::unique_ptr<testbus::CadsimProcess> cadsim;
    std::string preferences;

private:
    QTemporaryDir dir_;
};

}  // namespace bustest
