#include "ui/core_texts.h"

#include <QLocale>

namespace ui {

std::string regionalDecimalSeparator()
{
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? std::string(".") : point.toStdString();
}

}  // namespace ui
