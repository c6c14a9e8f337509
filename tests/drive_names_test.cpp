// The names of drives and disks every layer builds and parses.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "platform/drive_names.h"

using namespace tw::platform;

TEST(DriveNames, ACommandLineNamesADriveInFourForms) {
    for (const char* text : {"E", "e", "E:", "e:\\"}) EXPECT_EQ(ParseDriveLetter(text), 'E') << text;
    EXPECT_EQ(ParseDriveLetter("z:\\"), 'Z');
    for (const char* text : {"", "EE", "E\\", "E:/", "E:\\x", "1", "@:", "[", ":", "\xC4"}) {
        EXPECT_EQ(ParseDriveLetter(text), std::nullopt) << text;
    }
}

TEST(DriveNames, ACaptionNamesTheDriveItBeginsWith) {
    EXPECT_EQ(LeadingDriveLetter("e: [DATA]"), 'E');
    EXPECT_EQ(LeadingDriveLetter("C:\\Windows"), 'C');
    EXPECT_EQ(LeadingDriveLetter(" E:"), std::nullopt);
    EXPECT_EQ(LeadingDriveLetter(""), std::nullopt);
}

TEST(DriveNames, PathsKeepTheLetterAsGiven) {
    EXPECT_EQ(DriveName('E'), "E:");
    EXPECT_EQ(RootPath('e'), "e:\\");
    EXPECT_EQ(VolumeDevicePath('E'), "\\\\.\\E:");
    EXPECT_EQ(PhysicalDrivePath(0), "\\\\.\\PhysicalDrive0");
    EXPECT_EQ(PhysicalDrivePath(12), "\\\\.\\PhysicalDrive12");
}

TEST(DriveNames, DriveBits) {
    EXPECT_EQ(DriveBit('A'), 1u);
    EXPECT_EQ(DriveBit('E'), 0x10u);
    EXPECT_EQ(DriveBit('Z'), 1u << 25);
    for (char c = 'a'; c <= 'z'; ++c) EXPECT_EQ(DriveBit(c), DriveBit(static_cast<char>(c - 'a' + 'A'))) << c;
    for (char c : {'@', '[', '`', '{', '0', ':', '\0', '\xC4'}) EXPECT_EQ(DriveBit(c), 0u) << int(c);
}

TEST(DriveNames, NumbersAreDecimalDigitsOfTheirOwnType) {
    EXPECT_EQ(Decimal(0), "0");
    EXPECT_EQ(Decimal(std::uint8_t{200}), "200");
    EXPECT_EQ(Decimal(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(Decimal(std::numeric_limits<std::uint64_t>::max()), "18446744073709551615");
}
