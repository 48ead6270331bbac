// Texts between the core (UTF-8 std::string) and Qt, and the regional decimal separator the
// core writes numbers with.
#pragma once

#include <QString>

#include <string>

namespace ui {

inline QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

// The decimal separator of the user's regional settings (the default locale),
// as the number texts write it: UTF-8, since a separator such as the Arabic
// "٫" is more than one byte.
std::string regionalDecimalSeparator();

}  // namespace ui
