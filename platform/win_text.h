// Text between the program's UTF-8 strings and Windows' UTF-16 and code pages.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace win {

inline std::wstring wideFrom(std::string_view text, UINT codePage)
{
    if (text.empty())
        return {};
    const int length = MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(std::size_t(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), wide.data(), length);
    return wide;
}

inline std::string narrowTo(std::wstring_view text, UINT codePage)
{
    if (text.empty())
        return {};
    const int length =
        WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(std::size_t(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), narrow.data(), length, nullptr, nullptr);
    return narrow;
}

inline std::wstring wideFromUtf8(std::string_view text)
{
    return wideFrom(text, CP_UTF8);
}
inline std::string utf8FromWide(std::wstring_view text)
{
    return narrowTo(text, CP_UTF8);
}

}  // namespace win
