#include "dialogs/desktop_system.h"
#include "tests/support/message_recorder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace {

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
    for (const auto& [name, exists] :
         {std::pair{"datei", true}, {".versteckt", false}, {"", false}, {"fehlt", false}})
        EXPECT_EQ(launcher.fileExists(dir.filePath(name).toStdString()), exists) << name;
}

// Without a registry the first preferred desktop program on the search path is
// started, on its own, and only when there is none the user is told so.
TEST(DesktopLauncher, WithoutARegistryTheFirstPreferredProgramIsStartedOrThereIsNone)
{
    QTemporaryDir early, late;
    writeProgram(early.path(), kup::kEquivalentSysInfoPrograms.back(), early.filePath("mark"));
    const QString wanted =
        writeProgram(late.path(), kup::kEquivalentSysInfoPrograms.front(), late.filePath("mark"));
    kup::NoRegistry registry;
    kup::DesktopLauncher launcher;
    fake::MessageRecorder messages;
    // PATH is the process's: set for this test only.
    const QByteArray previous = qgetenv("PATH");
    qputenv("PATH", (QDir::rootPath() + "kup-fehlt:" + early.path() + ':' + late.path()).toLocal8Bit());
    EXPECT_EQ(launcher.equivalentProgram(), wanted.toStdString());
    kup::StartSysInfo(registry, launcher, messages);
    qputenv("PATH", previous);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo(late.filePath("mark")).size() > 0; }, 30000));
    EXPECT_FALSE(QFileInfo::exists(early.filePath("mark")));

    qputenv("PATH", (QDir::rootPath() + "kup-fehlt").toLocal8Bit());
    EXPECT_EQ(launcher.equivalentProgram(), std::nullopt);
    kup::StartSysInfo(registry, launcher, messages);
    qputenv("PATH", previous);
    EXPECT_EQ(messages.messages.size(), 1u);
}
