#include "dialogs/drives.h"

#include <QDir>
#include <QFileInfo>

namespace kup {

namespace {

// "/" inside, no trailing separator except for a root.
QString inner(const QString& path)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

bool liesBelow(const QString& path, const QString& drive)
{
    if (path.compare(drive, pathCase()) == 0)
        return true;
    const QString prefix = drive.endsWith('/') ? drive : drive + '/';
    return path.startsWith(prefix, pathCase());
}

}  // namespace

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
    const QString kept = keptDirectoryOf(drive);
    return resultPath(kept.isEmpty() ? drive : kept);
}

bool isReadableDirectory(const QString& path)
{
    const QFileInfo info(path);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

}  // namespace kup
