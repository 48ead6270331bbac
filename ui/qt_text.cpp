#include "ui/qt_text.h"

#include <QLocale>

namespace ui {

char regionalDecimalSeparator()
{
    const QString point = QLocale().decimalPoint();
    const char separator = point.isEmpty() ? '\0' : point.at(0).toLatin1();
    return separator == '\0' ? '.' : separator;
}

}  // namespace ui
