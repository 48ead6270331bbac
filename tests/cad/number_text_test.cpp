#include "cad/number_text.h"

#include <gtest/gtest.h>

#include <clocale>

using namespace cad;

TEST(NumberText, GeneralFormWithEitherSeparator)
{
    const struct {
        double value;
        const char* german;
        const char* english;
    } cases[] = {
        {1, "1", "1"},
        {50, "50", "50"},
        {2.5, "2,5", "2.5"},
        {0.297, "0,297", "0.297"},
        {0.21, "0,21", "0.21"},
        {0.2794, "0,2794", "0.2794"},
        {-1, "-1", "-1"},
        {-0.0, "0", "0"},
        {1.0 / 3, "0,333333333333333", "0.333333333333333"},  // 15 significant digits
        {123456789012345678.0, "1,23456789012346E+17", "1.23456789012346E+17"},
        {1e20, "1E+20", "1E+20"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(numberText(c.value, ","), c.german) << c.value;
        EXPECT_EQ(numberText(c.value, "."), c.english) << c.value;
    }
    // A separator outside Latin-1 is a UTF-8 string of its own ("٫", Arabic).
    EXPECT_EQ(numberText(0.297, "\u066b"), "0\u066b297");
    EXPECT_EQ(readRegionalNumber("0\u066b42", "\u066b"), 0.42);
    EXPECT_FALSE(readRegionalNumber("0\xd9", "\u066b"));
}

TEST(NumberText, IgnoresTheProcessCLocale)
{
    // The toolkit sets the C locale from the environment; the texts must not follow it.
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "no German C locale installed";
    EXPECT_EQ(numberText(0.42, "."), "0.42");
    EXPECT_EQ(leadingNumber("12.7"), 12.7);
    EXPECT_EQ(readRegionalNumber("0,42", ","), 0.42);
    std::setlocale(LC_ALL, "C");
}

TEST(LeadingNumber, ReadsWhatStandsAtTheStart)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"100", 100},   {"  42", 42},  {"12.7", 12.7}, {"2,5", 2},       {"abc", 0},    {"", 0},
        {"1500", 1500}, {"-3x", -3},   {"+7", 7},      {".5", 0.5},      {"5.", 5},     {"-", 0},
        {".", 0},       {"1e3", 1000}, {"2e", 2},      {"200 dpi", 200}, {"3E-1", 0.3}, {"x12", 0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(Rounding, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(roundHalfEven(12.5), 12);
    EXPECT_EQ(roundHalfEven(13.5), 14);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(12.7), 13);
    EXPECT_EQ(toInt16(1000.4), 1000);
    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_FALSE(toInt16(32768));
    EXPECT_FALSE(toInt16(-32769));
    EXPECT_FALSE(toInt32(1e300));
    EXPECT_FALSE(toInt32(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(toInt32(-1.0), -1);
}

TEST(RegionalNumber, AcceptsOnlyTheRegionalNotation)
{
    EXPECT_EQ(readRegionalNumber("0,42", ","), 0.42);
    EXPECT_EQ(readRegionalNumber(" 0,297 ", ","), 0.297);
    EXPECT_EQ(readRegionalNumber("1", ","), 1);
    EXPECT_EQ(readRegionalNumber("-0,5", ","), -0.5);
    EXPECT_EQ(readRegionalNumber("0.42", "."), 0.42);
    EXPECT_EQ(readRegionalNumber("1,5E-2", ","), 0.015);
    // A point under German settings would be a digit group there: never a silent 42.
    EXPECT_FALSE(readRegionalNumber("0.42", ","));
    EXPECT_FALSE(readRegionalNumber("0,42", "."));
    for (const char* bad : {"", "  ", "abc", "1,2,3", "1e", ",", "-", "0,42m", "1e999"})
        EXPECT_FALSE(readRegionalNumber(bad, ",")) << '"' << bad << '"';
}
