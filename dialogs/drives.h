// Drives and paths as the directory chooser shows and returns them. Paths are
// handled with "/" inside and given back in the system's own form: absolute,
// no separator at the end except for a root ("C:\", "/").
#pragma once

#include <QString>
#include <QStringList>

namespace kup {

// The drives the drive list offers: the drive letters where there are such;
// elsewhere the file-system root, then every mounted volume that is a
// directory (also one that cannot be read now: choosing it says so).
QStringList systemDrives();

// A path in the chooser's result form.
QString resultPath(const QString& path);

// The drive of drives (as systemDrives() gives them) that holds path: the
// longest one path lies below. Empty when none does.
QString driveOf(const QString& path, const QStringList& drives);

// The directory the directory list moves to when drive is chosen: the
// current directory of the process if it lies on that drive, otherwise the
// drive's own current directory where the system keeps one, or its root.
QString directoryOnDrive(const QString& drive, const QStringList& drives);

// The platform's part (drives_windows.cpp or drives_posix.cpp, chosen by the
// build): how paths compare, and the directory the system keeps as current on
// a drive (empty where it keeps none).
Qt::CaseSensitivity pathCase();
QString keptDirectoryOf(const QString& drive);

// Whether the directory list can open path: an existing, readable directory.
bool isReadableDirectory(const QString& path);

}  // namespace kup
