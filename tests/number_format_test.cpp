// Number texts of the drive list at their edges: the MB/GB switch, exact
// rounding ties (round half to even), padding, grouping and the user's
// separators.
#include <gtest/gtest.h>

#include <cstdint>

#include "inventory/number_format.h"
#include "platform/sim/machine.h"

using tw::inventory::FormatFixed;
using tw::inventory::FormatGrouped;
using tw::inventory::NumberSeparators;
using tw::inventory::PercentText;
using tw::inventory::SerialText;
using tw::inventory::SizeText;

namespace {

const NumberSeparators kEnglish{".", ","};
const NumberSeparators kGerman{",", "."};

}  // namespace

TEST(NumberFormat, SizeSwitchesToGigabytesAboveOneGibibyte) {
    const struct {
        double bytes;
        const char* text;
    } cases[] = {
        {0, "0.00 MB"},
        {5242, "0.00 MB"},    // 0.004999 MB
        {5243, "0.01 MB"},    // 0.005000 MB
        {131072, "0.12 MB"},  // 0.125 exactly: ties go to the even digit
        {393216, "0.38 MB"},  // 0.375 exactly
        {1048576, "1.00 MB"},
        {1073741824, "1024.00 MB"},  // exactly one gibibyte is still megabytes
        {1073741825, "1.00 GB"},
        {1207959552, "1.12 GB"},  // 1.125 exactly
        {1476395008, "1.38 GB"},  // 1.375 exactly
        {1099511627776.0, "1024.00 GB"},
        {18446744073709551615.0, "17179869184.00 GB"},
    };
    for (const auto& c : cases) EXPECT_EQ(SizeText(c.bytes, kEnglish), c.text) << c.bytes;
    EXPECT_EQ(SizeText(1207959552, kGerman), "1,12 GB");
    EXPECT_EQ(SizeText(1073741824, kGerman), "1024,00 MB");
}

TEST(NumberFormat, PercentIsEightWideWithOneDecimal) {
    const struct {
        double percent;
        const char* text;
    } cases[] = {
        {0, "     0.0%"},     {100, "   100.0%"},          {12.25, "    12.2%"},  // exact tie, rounds to even
        {12.75, "    12.8%"}, {4.95, "     5.0%"},                                // just above 4.95 in binary
        {99.95, "   100.0%"}, {12345678.9, "12345678.9%"},                        // wider than eight: nothing cut
    };
    for (const auto& c : cases) EXPECT_EQ(PercentText(c.percent, kEnglish), c.text) << c.percent;
    EXPECT_EQ(PercentText(12.25, kGerman), "    12,2%");
}

TEST(NumberFormat, FixedPadsToWidthAndUsesTheDecimalSeparator) {
    EXPECT_EQ(FormatFixed(5, 0, 3, kEnglish), "  5");
    EXPECT_EQ(FormatFixed(0.5, 0, 0, kEnglish), "0");
    EXPECT_EQ(FormatFixed(1.5, 0, 0, kEnglish), "2");
    EXPECT_EQ(FormatFixed(1234.5, 2, 7, kEnglish), "1234.50");
    EXPECT_EQ(FormatFixed(1234.5, 2, 8, kGerman), " 1234,50");  // no grouping in fixed texts
    EXPECT_EQ(FormatFixed(-1.5, 1, 6, kEnglish), "  -1.5");
    EXPECT_EQ(FormatFixed(2.25, 1, 0, {"::", ","}), "2::2");
}

TEST(NumberFormat, GroupsByThrees) {
    const struct {
        std::uint64_t value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1,000"},
        {999999, "999,999"},
        {1000000, "1,000,000"},
        {1234567, "1,234,567"},
        {18446744073709551615u, "18,446,744,073,709,551,615"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatGrouped(c.value, kEnglish), c.text) << c.value;
    EXPECT_EQ(FormatGrouped(1234567, kGerman), "1.234.567");
    EXPECT_EQ(FormatGrouped(1234567, {",", "\xA0"}),
              "1\xA0"
              "234\xA0"
              "567");
    EXPECT_EQ(FormatGrouped(1234567, {",", "\xC2\xA0"}),
              "1\xC2\xA0"
              "234\xC2\xA0"
              "567");
}

TEST(NumberFormat, SerialIsTwoHexHalves) {
    EXPECT_EQ(SerialText(0x1A2B3C4D), "1A2B - 3C4D");
    EXPECT_EQ(SerialText(0), "0000 - 0000");
    EXPECT_EQ(SerialText(0x00C0FFEE), "00C0 - FFEE");
    EXPECT_EQ(SerialText(0xABCD0000), "ABCD - 0000");
    EXPECT_EQ(SerialText(0xFFFFFFFF), "FFFF - FFFF");
}

TEST(NumberFormat, SeparatorsComeFromTheLocaleWithFallbacks) {
    tw::sim::Machine m;
    m.SetLocale(",", "\xA0");
    NumberSeparators sep = tw::inventory::ReadSeparators(m.locale());
    EXPECT_EQ(sep.decimal, ",");
    EXPECT_EQ(sep.thousand, "\xA0");
    m.SetLocale("", "");
    sep = tw::inventory::ReadSeparators(m.locale());
    EXPECT_EQ(sep.decimal, ".");
    EXPECT_EQ(sep.thousand, ",");
}

#if defined(__GNUC__) && (defined(__i386__) || defined(__x86_64__))
// Windows may leave the x87 unit rounding to 53 bits; the texts must not change.
TEST(NumberFormat, PercentIsTheSameWhateverPrecisionTheUnitWasLeftIn) {
    unsigned short saved = 0;
    __asm__ volatile("fnstcw %0" : "=m"(saved));
    const unsigned short doublePrecision = static_cast<unsigned short>((saved & ~0x0300) | 0x0200);
    __asm__ volatile("fldcw %0" ::"m"(doublePrecision));
    const std::string text = PercentText(tw::inventory::PercentFree(2888793209096, 3854293808000), kEnglish);
    unsigned short after = 0;
    __asm__ volatile("fnstcw %0" : "=m"(after));
    __asm__ volatile("fldcw %0" ::"m"(saved));
    EXPECT_EQ(text, "    74.9%");
    EXPECT_EQ(after, doublePrecision);  // the unit is handed back as it was
}
#endif
