// The user's regional settings as the core's number texts take them.
#pragma once

#include <QLocale>

#include <string>

namespace ui {

// The decimal separator of the regional settings (the default locale unless
// given), as UTF-8: a separator such as the Arabic "٫" is more than one byte.
std::string decimalSeparator(const QLocale& locale = QLocale());

}  // namespace ui
