// The disc library's pure parts: the command blocks it sends and the
// decoders of what drives answer, short and lying replies included.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "optical/capability_text.h"
#include "optical/inquiry_identity.h"
#include "optical/profile_table.h"
#include "optical/scsi_commands.h"
#include "optical/windows_version.h"

namespace {

using namespace tw::optical;
using Bytes = std::vector<std::uint8_t>;

// --- Profiles ---------------------------------------------------------------

struct ProfileCase {
    std::uint16_t number;
    int index;
    const char* name;
};

const ProfileCase kProfileCases[] = {
    {0x0000, 0, "No Current Profile"},
    {0x0001, 1, "Non Removable Disk"},
    {0x0002, 2, "Removable Disk"},
    {0x0003, 3, "Magneto Optical Erasable"},
    {0x0004, 4, "Optical Write Once"},
    {0x0005, 5, "AS-MO"},
    {0x0008, 6, "CD-ROM"},
    {0x0009, 7, "CD-R"},
    {0x000A, 8, "CD-RW"},
    {0x0010, 9, "DVD-ROM"},
    {0x0011, 10, "DVD-R SequentialRecording,"},
    {0x0012, 11, "DVD-RAM"},
    {0x0013, 12, "DVD-RW Restricted Overwrite"},
    {0x0014, 13, "DVD-RW Sequential Recording"},
    {0x001A, 14, "DVD+RW"},
    {0x001B, 15, "DVD+R"},
    {0x0020, 16, "DDCD-ROM"},
    {0x0021, 17, "DDCD-R"},
    {0x0022, 18, "DDCD-RW"},
    {0xFFFF, 19, "UNKNOWN"},
};

Bytes ConfigurationReply(std::uint16_t profile) {
    Bytes reply(114, 0);
    reply[6] = static_cast<std::uint8_t>(profile >> 8);
    reply[7] = static_cast<std::uint8_t>(profile & 0xFF);
    return reply;
}

TEST(OpticalProfiles, EveryRowOfTheTableFromAConfigurationReply) {
    for (const ProfileCase& row : kProfileCases) {
        SCOPED_TRACE(row.name);
        const int index = CurrentProfileIndex(ConfigurationReply(row.number));
        EXPECT_EQ(index, row.index);
        EXPECT_EQ(ProfileName(index), row.name);
        EXPECT_EQ(IsDvdProfile(index), row.number >= 0x0010 && row.number <= 0x001B);
    }
}

TEST(OpticalProfiles, NumbersOutsideTheTableHaveNoIndexAndNoName) {
    for (std::uint16_t number : {0x0006, 0x0007, 0x000B, 0x0015, 0x001C, 0x0023, 0x0040, 0x0100, 0xFFFE}) {
        SCOPED_TRACE(number);
        EXPECT_EQ(CurrentProfileIndex(ConfigurationReply(number)), kNoProfile);
    }
    EXPECT_EQ(ProfileName(kNoProfile), "");
    EXPECT_EQ(ProfileName(20), "");
    EXPECT_FALSE(IsDvdProfile(kNoProfile));
}

TEST(OpticalProfiles, AReplyTooShortForTheProfileFieldHasNoProfile) {
    const Bytes seven = {0, 0, 0, 0, 0, 0, 0x00};
    EXPECT_EQ(CurrentProfileIndex(seven), kNoProfile);
    EXPECT_EQ(CurrentProfileIndex(Bytes{}), kNoProfile);
    const Bytes eight = {0, 0, 0, 0, 0, 0, 0x00, 0x08};
    EXPECT_EQ(CurrentProfileIndex(eight), 6);
}

// --- Capability text -------------------------------------------------------

Bytes CapabilitiesReply(std::uint8_t readBits, std::uint8_t writeBits, std::uint16_t buffer, std::uint16_t readSpeed,
                        std::uint16_t writeSpeed) {
    Bytes reply(440, 0);
    reply[10] = readBits;
    reply[11] = writeBits;
    reply[16] = static_cast<std::uint8_t>(readSpeed >> 8);
    reply[17] = static_cast<std::uint8_t>(readSpeed & 0xFF);
    reply[20] = static_cast<std::uint8_t>(buffer >> 8);
    reply[21] = static_cast<std::uint8_t>(buffer & 0xFF);
    reply[26] = static_cast<std::uint8_t>(writeSpeed >> 8);
    reply[27] = static_cast<std::uint8_t>(writeSpeed & 0xFF);
    return reply;
}

TEST(OpticalCapabilityText, ADvdWriterListsEveryLineInOrderWithoutALeadingBreak) {
    EXPECT_EQ(CapabilityText(CapabilitiesReply(0x3F, 0x37, 0x0800, 0x1B90, 0x0B06)),
              "Read CD-R\r\nRead CD-RW\r\nRead Method 2\r\nRead DVD-ROM\r\nRead DVD-R / DVD-RW\r\nRead DVD-RAM\r\n"
              "Write CD-R\r\nWrite CD-RW\r\nWrite Test\r\nWrite DVD-R / DVD-RW\r\nWrite DVD-RAM\r\n"
              "Device Buffer: 2048k\r\nMax Read Speed: 40x\r\nMax Write Speed: 16x");
}

TEST(OpticalCapabilityText, WithoutReadCdRTheTextStartsWithAnEmptyLine) {
    EXPECT_EQ(CapabilityText(CapabilitiesReply(0x02, 0x00, 512, 1764, 0)),
              "\r\nRead CD-RW\r\nDevice Buffer: 512k\r\nMax Read Speed: 10x\r\nMax Write Speed: 0x");
}

TEST(OpticalCapabilityText, UnreportedBitsAddNoLines) {
    // Byte 11 bit 3 and bits 6-7 of both bytes.
    EXPECT_EQ(CapabilityText(CapabilitiesReply(0xC1, 0xC8, 0, 0, 0)),
              "Read CD-R\r\nDevice Buffer: 0k\r\nMax Read Speed: 0x\r\nMax Write Speed: 0x");
}

TEST(OpticalCapabilityText, AZeroedPageGivesAnEmptyLineAndThreeZeroes) {
    EXPECT_EQ(CapabilityText(Bytes(440, 0)), "\r\nDevice Buffer: 0k\r\nMax Read Speed: 0x\r\nMax Write Speed: 0x");
}

TEST(OpticalCapabilityText, ShortRepliesReadMissingBytesAsZero) {
    const Bytes full = CapabilitiesReply(0x01, 0x01, 0xFFFF, 0xFFFF, 0xFFFF);
    // Cut inside the write speed: its high byte stays, the low one is 0.
    EXPECT_EQ(CapabilityText(std::span(full).first(27)),
              "Read CD-R\r\nWrite CD-R\r\nDevice Buffer: 65535k\r\nMax Read Speed: 371x\r\nMax Write Speed: 370x");
    EXPECT_EQ(CapabilityText(std::span(full).first(11)),
              "Read CD-R\r\nDevice Buffer: 0k\r\nMax Read Speed: 0x\r\nMax Write Speed: 0x");
    EXPECT_EQ(CapabilityText(Bytes{}), "\r\nDevice Buffer: 0k\r\nMax Read Speed: 0x\r\nMax Write Speed: 0x");
}

// --- Speeds and rounding ---------------------------------------------------

TEST(OpticalSpeed, RoundingBoundariesOfTheCdSpeed) {
    struct Case {
        std::uint16_t kilobytesPerSecond;
        std::uint64_t multiple;
    };
    const Case cases[] = {
        {0, 0},     {88, 0},    {89, 1},    {176, 1},    {264, 1},     {265, 2},
        {1764, 10}, {2822, 16}, {7056, 40}, {11025, 62}, {65535, 371},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kilobytesPerSecond);
        EXPECT_EQ(SpeedMultiple(c.kilobytesPerSecond), c.multiple);
    }
}

TEST(OpticalSpeed, ExactHalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(1, 2), 0u);
    EXPECT_EQ(RoundHalfEven(3, 2), 2u);
    EXPECT_EQ(RoundHalfEven(5, 2), 2u);
    EXPECT_EQ(RoundHalfEven(7, 2), 4u);
    EXPECT_EQ(RoundHalfEven(25, 10), 2u);
    EXPECT_EQ(RoundHalfEven(35, 10), 4u);
    EXPECT_EQ(RoundHalfEven(24, 10), 2u);
    EXPECT_EQ(RoundHalfEven(26, 10), 3u);
}

// 176.46 is 8823/50 and 8823 is odd, so v / 176.46 = 50v / 8823 is never
// exactly half way for any 16-bit speed: every answer is the one nearest
// integer. Checked over the whole range against the exact fraction.
TEST(OpticalSpeed, EverySixteenBitSpeedIsTheNearestMultiple) {
    for (std::uint32_t v = 0; v <= 0xFFFF; ++v) {
        const std::int64_t scaled = std::int64_t{v} * 50;
        const std::int64_t multiple = static_cast<std::int64_t>(SpeedMultiple(static_cast<std::uint16_t>(v)));
        const std::int64_t distanceTwice = 2 * (scaled - multiple * 8823);
        ASSERT_LT(distanceTwice, 8823) << v;
        ASSERT_GT(distanceTwice, -8823) << v;
    }
}

// --- Identity --------------------------------------------------------------

Bytes InquiryReply(const std::string& fromByte8) {
    Bytes reply(100, 0);
    reply[0] = 0x05;  // CD/DVD device
    for (std::size_t i = 0; i < fromByte8.size() && 8 + i < reply.size(); ++i) {
        reply[8 + i] = static_cast<std::uint8_t>(fromByte8[i]);
    }
    return reply;
}

TEST(OpticalIdentity, FieldsOfAFullReply) {
    const std::string identity = IdentityString(InquiryReply("TARNLAB DVD-RW TW-1080S 1.02 2006/05/11  "));
    EXPECT_EQ(identity, "TARNLAB DVD-RW TW-1080S 1.02 2006/05/11  ");
    const InquiryFields fields = SplitIdentity(identity);
    EXPECT_EQ(fields.vendor, "TARNLAB ");
    EXPECT_EQ(fields.product, "DVD-RW TW-1080S ");
    EXPECT_EQ(fields.revision, "1.02");
    EXPECT_EQ(fields.vendorSpecific, "2006/05/11");
}

TEST(OpticalIdentity, AZeroAtTheVendorSpecificAreaLeavesItEmpty) {
    const InquiryFields fields = SplitIdentity(IdentityString(InquiryReply("VENDOR  PRODUCT NAME    REV1")));
    EXPECT_EQ(fields.vendor, "VENDOR  ");
    EXPECT_EQ(fields.product, "PRODUCT NAME    ");
    EXPECT_EQ(fields.revision, "REV1");
    EXPECT_EQ(fields.vendorSpecific, "");
}

TEST(OpticalIdentity, RevisionShowsControlAndHighCharactersAsSpaces) {
    EXPECT_EQ(SplitIdentity(IdentityString(InquiryReply("VENDOR  PRODUCT NAME    1\t2 "))).revision, "1 2");
    EXPECT_EQ(SplitIdentity(IdentityString(InquiryReply("VENDOR  PRODUCT NAME     A\xE9Z"))).revision, "A Z");
    EXPECT_EQ(SplitIdentity(IdentityString(InquiryReply("VENDOR  PRODUCT NAME    \x01\x02  "))).revision, "");
}

TEST(OpticalIdentity, AShortStringGivesShortOrEmptyFields) {
    const InquiryFields fields = SplitIdentity("ABCDEFGHIJ");
    EXPECT_EQ(fields.vendor, "ABCDEFGH");
    EXPECT_EQ(fields.product, "IJ");
    EXPECT_EQ(fields.revision, "");
    EXPECT_EQ(fields.vendorSpecific, "");
    EXPECT_EQ(SplitIdentity("").vendor, "");
}

TEST(OpticalIdentity, NeverReadsPastTheReplyOrItsFirstHundredBytes) {
    // No zero byte anywhere: the text ends with the reply.
    Bytes reply(120, 'x');
    EXPECT_EQ(IdentityString(reply), std::string(92, 'x'));
    EXPECT_EQ(IdentityString(std::span(reply).first(30)), std::string(22, 'x'));
    EXPECT_EQ(IdentityString(std::span(reply).first(8)), "");
    EXPECT_EQ(IdentityString(Bytes{}), "");
}

// --- Windows version codes -------------------------------------------------

TEST(OpticalWindowsVersion, CodesOfTheReleases) {
    struct Case {
        tw::platform::DWORD platformId, major, minor;
        int code;
    };
    const Case cases[] = {
        {1, 4, 0, 0},  {1, 4, 10, 1}, {1, 4, 90, 1}, {2, 3, 51, 2},  {2, 3, 50, 5},
        {2, 3, 10, 5}, {2, 4, 0, 3},  {2, 4, 90, 3}, {2, 5, 0, 4},   {2, 5, 1, 5},
        {2, 5, 2, 5},  {2, 6, 0, 5},  {2, 10, 0, 5}, {0, 3, 11, -1}, {3, 6, 0, -1},
    };
    for (const Case& c : cases) {
        tw::platform::OSVERSIONINFOA version;
        version.dwPlatformId = c.platformId;
        version.dwMajorVersion = c.major;
        version.dwMinorVersion = c.minor;
        SCOPED_TRACE(testing::Message() << c.platformId << " " << c.major << "." << c.minor);
        EXPECT_EQ(WindowsVersionCode(version), c.code);
    }
}

}  // namespace
