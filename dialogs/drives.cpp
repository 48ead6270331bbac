#include "dialogs/drives.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace kup {

namespace {

// "/" inside, no trailing separator except for a root.
QString inner(const QString& path)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

Qt::CaseSensitivity pathCase()
{
#ifdef Q_OS_WIN
    return Qt::CaseInsensitive;
#else
    return Qt::CaseSensitive;
#endif
}

bool liesBelow(const QString& path, const QString& drive)
{
    if (path.compare(drive, pathCase()) == 0)
        return true;
    const QString prefix = drive.endsWith('/') ? drive : drive + '/';
    return path.startsWith(prefix, pathCase());
}

}  // namespace

QStringList systemDrives()
{
    QStringList drives;
#ifdef Q_OS_WIN
    for (const QFileInfo& drive : QDir::drives())
        drives << resultPath(drive.absoluteFilePath());
#else
    drives << resultPath(QDir::rootPath());
    QStringList volumes;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        // Files mounted over files (containers do that) are no drives.
        if (!QFileInfo(volume.rootPath()).isDir())
            continue;
        const QString path = resultPath(volume.rootPath());
        if (!drives.contains(path) && !volumes.contains(path))
            volumes << path;
    }
    volumes.sort();
    drives << volumes;
#endif
    return drives;
}

QString resultPath(const QString& path)
{
    if (path.isEmpty())
        return {};
    return QDir::toNativeSeparators(inner(QFileInfo(path).absoluteFilePath()));
}

QString driveOf(const QString& path, const QStringList& drives)
{
    const QString target = inner(path);
    QString best;
    for (const QString& drive : drives) {
        const QString candidate = inner(drive);
        if (liesBelow(target, candidate) && candidate.size() > inner(best).size())
            best = drive;
    }
    return best;
}

QString directoryOnDrive(const QString& drive, const QStringList& drives)
{
    const QString current = QDir::currentPath();
    if (driveOf(current, drives).compare(drive, pathCase()) == 0)
        return resultPath(current);
#ifdef Q_OS_WIN
    // "D:" alone names the directory the system keeps as current on drive D.
    if (drive.size() >= 2 && drive.at(1) == ':')
        return resultPath(QFileInfo(drive.left(2)).absoluteFilePath());
#endif
    return resultPath(drive);
}

bool isReadableDirectory(const QString& path)
{
    const QFileInfo info(path);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

}  // namespace kup
