#include "dialogs/drives.h"

#include <QDir>
#include <QFileInfo>

namespace kup {

Qt::CaseSensitivity pathCase()
{
    return Qt::CaseInsensitive;
}

QStringList systemDrives()
{
    QStringList drives;
    for (const QFileInfo& drive : QDir::drives())
        drives << resultPath(drive.absoluteFilePath());
    return drives;
}

QString keptDirectoryOf(const QString& drive)
{
    // "D:" alone names the directory the system keeps as current on drive D. Only a drive itself
    // ("D:\\") has one: a folder offered as a drive is where it is.
    if (drive.size() <= 3 && drive.size() >= 2 && drive.at(1) == ':')
        return QFileInfo(drive.left(2)).absoluteFilePath();
    return {};
}

}  // namespace kup
