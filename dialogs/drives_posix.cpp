#include "dialogs/drives.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace kup {

Qt::CaseSensitivity pathCase()
{
    return Qt::CaseSensitive;
}

QStringList systemDrives()
{
    QStringList drives;
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
    return drives;
}

QString keptDirectoryOf(const QString&)
{
    return {};
}

}  // namespace kup
