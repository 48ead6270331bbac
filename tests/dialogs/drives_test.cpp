#include "dialogs/drives.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <gtest/gtest.h>

TEST(Drives, ResultPathsAreAbsoluteWithoutTrailingSeparatorExceptARoot)
{
    const QString root = QDir::toNativeSeparators(QDir::rootPath());
    EXPECT_EQ(kup::resultPath(QDir::rootPath()), root);
    EXPECT_EQ(kup::resultPath(QDir::rootPath() + "daten/tiff/"),
              QDir::toNativeSeparators(QDir::rootPath() + "daten/tiff"));
    EXPECT_EQ(kup::resultPath(QDir::rootPath() + "daten//x/../tiff"),
              QDir::toNativeSeparators(QDir::rootPath() + "daten/tiff"));
    EXPECT_TRUE(QFileInfo(kup::resultPath("relativ")).isAbsolute());
    EXPECT_EQ(kup::resultPath(""), "");
}

TEST(Drives, APathBelongsToTheLongestDriveItLiesBelowWholeNamesOnly)
{
    const QStringList drives{"/", "/mnt/usb", "/mnt/usb/inner"};
    EXPECT_EQ(kup::driveOf("/mnt/usb/a", drives), "/mnt/usb");
    EXPECT_EQ(kup::driveOf("/mnt/usb", drives), "/mnt/usb");
    EXPECT_EQ(kup::driveOf("/mnt/usb/inner/b", drives), "/mnt/usb/inner");
    EXPECT_EQ(kup::driveOf("/mnt/usb2/a", drives), "/");
    EXPECT_EQ(kup::driveOf("/mnt/usb2/a", QStringList{"/mnt/usb"}), "");
}

TEST(Drives, TheMachineOffersItsRootFirstAndOnlyDirectoriesOnce)
{
    const QStringList drives = kup::systemDrives();
    ASSERT_FALSE(drives.isEmpty());
#ifndef Q_OS_WIN
    EXPECT_EQ(drives.first(), "/");
#endif
    EXPECT_EQ(QSet<QString>(drives.begin(), drives.end()).size(), drives.size());
    for (const QString& drive : drives)
        EXPECT_TRUE(QFileInfo(drive).isDir()) << drive.toStdString();
    EXPECT_FALSE(kup::driveOf(QDir::currentPath(), drives).isEmpty());
}
