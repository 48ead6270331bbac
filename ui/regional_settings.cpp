#include "ui/regional_settings.h"

namespace ui {

std::string decimalSeparator(const QLocale& locale)
{
    const QString point = locale.decimalPoint();
    return point.isEmpty() ? std::string(".") : point.toStdString();
}

}  // namespace ui
