#include "cad/number_text.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>
#include <utility>

namespace cad {

namespace {
std::string& currentSeparator()
{
    static std::string separator = ".";
    return separator;
}

// Parses [-+]digits[.digits][E[-+]digits] whatever the C locale says.
double parseCanonical(const std::string& number)
{
    std::size_t at = 0;
    bool negative = false;
    if (at < number.size() && (number[at] == '+' || number[at] == '-'))
        negative = number[at++] == '-';
    double value = 0;
    const auto result = std::from_chars(number.data() + at, number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        value = std::numeric_limits<double>::infinity();
    return negative ? -value : value;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}
}  // namespace

void setDecimalSeparator(std::string separator)
{
    currentSeparator() = std::move(separator);
}
const std::string& decimalSeparator()
{
    return currentSeparator();
}

std::string numberText(double value, std::string_view separator)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Inf" : "-Inf";
    if (value == 0)
        return "0";  // also for -0

    // to_chars, unlike printf, ignores the C locale that the toolkit may have set.
    char buffer[40];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
    for (char& c : text)
        if (c == 'e')
            c = 'E';

    const std::size_t exponentAt = text.find('E');
    std::string mantissa = text.substr(0, exponentAt);
    const std::string exponent = exponentAt == std::string::npos ? "" : text.substr(exponentAt);
    if (mantissa.find('.') != std::string::npos) {
        while (!mantissa.empty() && mantissa.back() == '0')
            mantissa.pop_back();
        if (!mantissa.empty() && mantissa.back() == '.')
            mantissa.pop_back();
    }
    const std::size_t point = mantissa.find('.');
    if (point != std::string::npos)
        mantissa.replace(point, 1, separator);
    return mantissa + exponent;
}

std::string numberText(double value)
{
    return numberText(value, currentSeparator());
}

double leadingNumber(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    const std::size_t mantissaStart = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
    }
    // A lone sign or point is no number.
    bool anyDigit = false;
    for (std::size_t k = mantissaStart; k < i; ++k)
        anyDigit = anyDigit || isDigit(text[k]);
    if (!anyDigit)
        return 0;
    // An exponent counts only when digits follow it.
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        std::size_t k = i + 1;
        if (k < text.size() && (text[k] == '+' || text[k] == '-'))
            ++k;
        if (k < text.size() && isDigit(text[k])) {
            while (k < text.size() && isDigit(text[k]))
                ++k;
            i = k;
        }
    }
    return parseCanonical(text.substr(start, i - start));
}

double roundHalfEven(double value)
{
    // nearbyint follows the current rounding mode; force the default one.
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(mode);
    return rounded;
}

namespace {
template <typename Int> std::optional<Int> toInt(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = roundHalfEven(value);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(rounded);
}
}  // namespace

std::optional<int16_t> toInt16(double value)
{
    return toInt<int16_t>(value);
}
std::optional<int32_t> toInt32(double value)
{
    return toInt<int32_t>(value);
}

std::optional<double> readRegionalNumber(const std::string& text, std::string_view separator)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;

    std::string canonical;
    std::size_t i = begin;
    if (i < end && (text[i] == '+' || text[i] == '-'))
        canonical += text[i++];
    std::size_t digits = 0;
    while (i < end && isDigit(text[i])) {
        canonical += text[i++];
        ++digits;
    }
    if (!separator.empty() && i + separator.size() <= end &&
        text.compare(i, separator.size(), separator) == 0) {
        canonical += '.';
        i += separator.size();
        while (i < end && isDigit(text[i])) {
            canonical += text[i++];
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < end && (text[i] == 'E' || text[i] == 'e')) {
        canonical += 'E';
        ++i;
        if (i < end && (text[i] == '+' || text[i] == '-'))
            canonical += text[i++];
        std::size_t exponentDigits = 0;
        while (i < end && isDigit(text[i])) {
            canonical += text[i++];
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != end)
        return std::nullopt;
    const double value = parseCanonical(canonical);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

}  // namespace cad
