#include "dialogs/desktop_system.h"
#include "dialogs/frmAbout.h"
#include "tests/support/message_recorder.h"
#include "tests/support/qt_print.h"
#include "ui/qt_message_boxes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// PATH is the process's: set for one test, restored afterwards.
class SearchPath {
public:
    explicit SearchPath(const QString& path) : previous_(std::getenv("PATH") ? std::getenv("PATH") : "")
    {
        setenv("PATH", path.toLocal8Bit().constData(), 1);
    }
    ~SearchPath() { setenv("PATH", previous_.c_str(), 1); }

private:
    std::string previous_;
};

// A stand-in for a desktop program: a script that leaves a mark when it runs.
QString writeProgram(const QString& folder, const std::string& name, const QString& mark)
{
    const QString path = folder + '/' + QString::fromStdString(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(("#!/bin/sh\necho gestartet > '" + mark + "'\n").toLocal8Bit());
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    return path;
}

}  // namespace

TEST(DesktopLauncher, OrdinaryFilesOnlyCount)
{
    QTemporaryDir dir;
    kup::DesktopLauncher launcher;
    QFile(dir.filePath("datei")).open(QIODevice::WriteOnly);
    QFile(dir.filePath(".versteckt")).open(QIODevice::WriteOnly);
    EXPECT_TRUE(launcher.fileExists(dir.filePath("datei").toStdString()));
    EXPECT_FALSE(launcher.fileExists(dir.filePath(".versteckt").toStdString()));
    EXPECT_FALSE(launcher.fileExists(dir.path().toStdString()));
    EXPECT_FALSE(launcher.fileExists(dir.filePath("fehlt").toStdString()));
}

TEST(DesktopLauncher, TheEquivalentIsTheFirstPreferredProgramOnThePath)
{
    QTemporaryDir early, late;
    const std::string preferred = kup::kEquivalentSysInfoPrograms.front();
    const std::string other = kup::kEquivalentSysInfoPrograms.back();
    writeProgram(early.path(), other, early.filePath("mark"));
    const QString wanted = writeProgram(late.path(), preferred, late.filePath("mark"));
    SearchPath path(QDir::rootPath() + "kup-fehlt:" + early.path() + ':' + late.path());
    kup::DesktopLauncher launcher;
    EXPECT_EQ(launcher.equivalentProgram(), wanted.toStdString());

    SearchPath none(QDir::rootPath() + "kup-fehlt");
    EXPECT_EQ(launcher.equivalentProgram(), std::nullopt);
}

// Without a registry, "&System-Info..." starts the desktop's program from the
// search path, and only says that there is none when there is none.
TEST(DesktopLauncher, SystemInfoButtonStartsTheDesktopProgramOrSaysThereIsNone)
{
    QTemporaryDir dir;
    const QString mark = dir.filePath("mark");
    writeProgram(dir.path(), kup::kEquivalentSysInfoPrograms.back(), mark);
    kup::NoRegistry registry;
    kup::DesktopLauncher launcher;
    fake::MessageRecorder messages;
    const ui::ScopedMessageBoxes installed(messages);
    frmAbout form(registry, launcher);
    {
        SearchPath path(dir.path());
        QTest::mouseClick(form.control<QPushButton>("cmdSysInfo"), Qt::LeftButton);
    }
    EXPECT_TRUE(messages.messages.empty());
    // The program runs on its own; it leaves its mark soon.
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo(mark).size() > 0; }, 5000));

    SearchPath empty(dir.filePath("leer"));
    QTest::mouseClick(form.control<QPushButton>("cmdSysInfo"), Qt::LeftButton);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "System-Informationen sind augenblicklich nicht verfügbar.");
}
