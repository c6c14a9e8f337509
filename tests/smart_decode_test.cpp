// The S.M.A.R.T. decoders over the disk's own sectors: identify text and
// size, and the attribute scan's ratings, counts and summaries. Sectors are
// laid out by the simulated disk's builders, an independent writer of the
// same layouts.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "diagnostics/ata_identify.h"
#include "diagnostics/smart_requests.h"
#include "diagnostics/smart_scan.h"
#include "platform/sim/physical_disk.h"

namespace {

using namespace tw::diagnostics;
using tw::sim::AttributeFields;
using Bytes = std::vector<std::uint8_t>;

TEST(SmartIdentify, TextSwapsEachBytePairAndTrimsControlsAndSpaces) {
    struct Case {
        Bytes field;
        const char* text;
    } cases[] = {
        {{'b', 'A', 'd', 'C'}, "AbCd"},
        {{' ', ' ', 'X', ' ', '1', 'Y', 0, 0}, "XY1"},
        {{' ', 'A', 'B', ' ', 0, 0}, "A  B"},
        {{'\t', 0, 0x1F, 'Z', 0, ' '}, "Z"},
        {{0xFF, 'a'}, "a\xFF"},
        {{0, 0, 0, 0}, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(IdentifyText(c.field), c.text);
}

// The size: 48-bit count where word 83 is valid and says so, else words 60-61.
TEST(SmartIdentify, SizeTakesThe48BitCountOnlyWhereWord83SaysSo) {
    struct Case {
        std::uint64_t sectors;
        bool lba48;
        std::uint16_t word83;  // 0: as the builder writes it
        std::int64_t bytes;
    } cases[] = {
        {976773168, true, 0, 500107862016},             // 500 GB: beyond 28 bits
        {312581808, true, 0, 160041885696},             // 160 GB
        {312581808, false, 0, 0x0FFFFFFFll * 512},      // no 48-bit: the 28-bit count stops at 128 GiB
        {156301488, false, 0, 80026361856},             // 80 GB fits 28 bits
        {976773168, true, 0xC400, 0x0FFFFFFFll * 512},  // word 83 not valid (bit 15 set)
        {976773168, true, 0x0400, 0x0FFFFFFFll * 512},  // word 83 not valid (bit 14 clear)
    };
    for (const Case& c : cases) {
        Bytes sector = tw::sim::IdentifySector({"M", "S", "F", c.sectors, c.lba48});
        if (c.word83) {
            sector[166] = static_cast<std::uint8_t>(c.word83);
            sector[167] = static_cast<std::uint8_t>(c.word83 >> 8);
        }
        const auto id = DecodeIdentify(sector);
        ASSERT_TRUE(id);
        EXPECT_EQ(id->sizeBytes, c.bytes) << c.sectors;
    }
}

TEST(SmartIdentify, FieldsAndShortSectors) {
    const Bytes sector = tw::sim::IdentifySector({"Brightmoor BM500A2-7K", "  BM5A0F3C", "AB12", 1000, false, 0x8010});
    const auto id = DecodeIdentify(sector);
    ASSERT_TRUE(id);
    EXPECT_EQ(id->modelNumber, "Brightmoor BM500A2-7K");
    EXPECT_EQ(id->serialNumber, "BM5A0F3C");
    EXPECT_EQ(id->firmwareRev, "AB12");
    EXPECT_EQ(id->word47, 0x8010);
    EXPECT_EQ(IdentifySerialUntrimmed(sector), "  BM5A0F3C          ");
    EXPECT_FALSE(DecodeIdentify(std::span(sector).first(511)));
    EXPECT_EQ(AddressableSectors(std::span(sector).first(200)), 0u);
}

// --- The attribute scan -------------------------------------------------------

constexpr std::uint16_t kPreFail = 0x0001;

TSmartResult Scan(const std::vector<AttributeFields>& attributes) {
    TSmartResult r;
    EXPECT_TRUE(ScanAttributes(tw::sim::AttributeSector(attributes), tw::sim::ThresholdSector(attributes), r));
    return r;
}

struct StateCase {
    const char* what;
    std::vector<AttributeFields> attributes;
    int slot;  // the attribute whose state is checked
    const char* state;
    int failing;
    int warning;
};

TEST(SmartScan, StatesFollowTheFirstRuleThatHolds) {
    const StateCase cases[] = {
        {"healthy", {{1, kPreFail, 100, 100, 0, 50}}, 0, "OK", 0, 0},
        {"not pre-failure", {{1, 0x0002, 10, 10, 0, 50}}, 0, "-", 0, 0},
        {"no threshold", {{1, kPreFail, 1, 1, 0, 0}}, 0, "-", 0, 0},
        {"below threshold now", {{1, kPreFail, 49, 10, 0, 50}}, 0, "Failing Now", 1, 0},
        {"below threshold once", {{1, kPreFail, 60, 49, 0, 50}}, 0, "Failed In Past", 1, 0},
        {"in the lower half above threshold", {{1, kPreFail, 74, 74, 0, 50}}, 0, "Warning", 0, 1},
        {"at the half", {{1, kPreFail, 75, 75, 0, 50}}, 0, "OK", 0, 0},
        // id 3 above 230 widens the scale to 253 for what follows.
        {"wide scale", {{3, 0, 240, 240, 0, 0}, {7, kPreFail, 170, 170, 0, 100}}, 1, "Warning", 0, 1},
        {"narrow scale", {{3, 0, 230, 230, 0, 0}, {7, kPreFail, 170, 170, 0, 100}}, 1, "OK", 0, 0},
        {"wide scale from id 4", {{4, 0, 231, 231, 0, 0}, {7, kPreFail, 170, 170, 0, 100}}, 1, "Warning", 0, 1},
        {"scale widens only after", {{7, kPreFail, 170, 170, 0, 100}, {3, 0, 240, 240, 0, 0}}, 0, "OK", 0, 0},
        {"many reallocated sectors", {{5, 0x0033, 100, 100, 501, 36}}, 0, "Warning", 0, 1},
        {"500 reallocated sectors", {{5, 0x0033, 100, 100, 500, 36}}, 0, "OK", 0, 0},
        {"reallocated, not pre-failure", {{5, 0x0032, 100, 100, 501, 36}}, 0, "-", 0, 0},
        {"counts add up",
         {{1, kPreFail, 10, 10, 0, 50}, {2, kPreFail, 60, 10, 0, 50}, {7, kPreFail, 60, 60, 0, 50}},
         2,
         "Warning",
         2,
         1},
    };
    for (const StateCase& c : cases) {
        const TSmartResult r = Scan(c.attributes);
        EXPECT_EQ(r.Attr[c.slot].AttrState, c.state) << c.what;
        EXPECT_EQ(r.FailingCount, c.failing) << c.what;
        EXPECT_EQ(r.WarningCount, c.warning) << c.what;
    }
}

TEST(SmartScan, StopsAtTheFirstIdZeroOrAfterThirtyEntries) {
    EXPECT_EQ(Scan({{1, 0, 1, 1, 0, 0}, {2, 0, 1, 1, 0, 0}, {0, 0, 1, 1, 0, 0}, {4, 0, 1, 1, 0, 0}}).AttrCount, 2);
    EXPECT_EQ(Scan({}).AttrCount, 0);
    std::vector<AttributeFields> thirty(30, AttributeFields{200, 0, 100, 100, 0, 0});
    EXPECT_EQ(Scan(thirty).AttrCount, 30);
}

TEST(SmartScan, ThresholdsPairByPositionNotById) {
    Bytes attributes = tw::sim::AttributeSector({{5, kPreFail, 100, 100, 0, 0}, {9, 0, 100, 100, 0, 0}});
    Bytes thresholds = tw::sim::ThresholdSector({{9, 0, 0, 0, 0, 36}, {5, 0, 0, 0, 0, 7}});
    TSmartResult r;
    ASSERT_TRUE(ScanAttributes(attributes, thresholds, r));
    EXPECT_EQ(r.Attr[0].AttrThreshold, 36);
    EXPECT_EQ(r.Attr[1].AttrThreshold, 7);
}

TEST(SmartScan, FieldsOfAnEntry) {
    const TSmartResult r = Scan({{199, 0x0018, 200, 199, 0xA1B2C3D4E5F6ull, 0}, {250, 0x0001, 1, 2, 3, 4}});
    const TSmartAttribute& a = r.Attr[0];
    EXPECT_EQ(a.AttrId, 199);
    EXPECT_EQ(a.AttrName, "Ultra ATA CRC Error Rate");
    EXPECT_FALSE(a.AttrPreFail);
    EXPECT_TRUE(a.AttrEvents);
    EXPECT_TRUE(a.AttrErrorRate);
    EXPECT_EQ(a.AttrCurrent, 200);
    EXPECT_EQ(a.AttrWorst, 199);
    EXPECT_EQ(a.AttrRaw, 0xA1B2C3D4E5F6ll);
    EXPECT_EQ(r.Attr[1].AttrName, "Unknown");
    EXPECT_TRUE(r.Attr[1].AttrPreFail);
    EXPECT_EQ(AttributeName(194), "Temperature Celcius");
    EXPECT_EQ(AttributeName(206), "Unknown Attribute");
    EXPECT_EQ(AttributeName(13), "Unknown");
}

TEST(SmartScan, SummariesOfReallocationPowerOnAndPowerCycles) {
    struct Case {
        std::uint64_t raw;
        int reallocated, powerOn, cycles;
    } cases[] = {
        {0, 0, 0, 0},
        {1, 1, 1, 1},
        {600, 600, 11, 600},
        {2147483646, 2147483646, 35791395, 2147483646},
        {2147483647, 0, 0, 0},  // out of range: left as it was
        {0xFFFFFFFFFFFFull, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const TSmartResult r =
            Scan({{5, 0, 100, 100, c.raw, 0}, {9, 0, 100, 100, c.raw, 0}, {12, 0, 100, 100, c.raw, 0}});
        EXPECT_EQ(r.ReallocatedSectors, c.reallocated) << c.raw;
        EXPECT_EQ(r.PowerOnValue, c.powerOn) << c.raw;
        EXPECT_EQ(r.PowerCycles, c.cycles) << c.raw;
    }
}

TEST(SmartScan, TemperatureBytesAndTheWorstValueWhereByteZeroIsTheCurrent) {
    const std::uint64_t raw = 37 | (18ull << 16) | (45ull << 32);
    TSmartResult r = Scan({{194, 0x0022, 37, 52, raw, 0}});
    EXPECT_EQ(r.Temperature, 37);
    EXPECT_EQ(r.TemperatureByte2, 18);
    EXPECT_EQ(r.TemperatureByte4, 52);
    r = Scan({{194, 0x0022, 120, 52, raw, 0}});
    EXPECT_EQ(r.TemperatureByte4, 45);
}

TEST(SmartScan, RefusesShortSectors) {
    const Bytes full = tw::sim::AttributeSector({{1, 0, 1, 1, 0, 0}});
    TSmartResult r;
    r.AttrCount = 7;
    EXPECT_FALSE(ScanAttributes(std::span(full).first(511), full, r));
    EXPECT_FALSE(ScanAttributes(full, std::span(full).first(100), r));
    EXPECT_EQ(r.AttrCount, 7);
}

TEST(SmartRequests, DriverErrorTexts) {
    const char* texts[] = {"No error",
                           "Error from IDE controller",
                           "Invalid command flag",
                           "Invalid command byte",
                           "Bad buffer (null, invalid addr..)",
                           "Drive number not valid",
                           "Invalid IOCTL",
                           "Could not lock user's buffer",
                           "Some IDE Register not valid",
                           "Invalid cmd flag set",
                           "Cmd issued to device not present although drive number is valid"};
    for (int i = 0; i <= 10; ++i) EXPECT_EQ(DriverErrorText(static_cast<std::uint8_t>(i)), texts[i]);
    EXPECT_EQ(DriverErrorText(11), "Unknown driver error 11");
    EXPECT_EQ(DriverErrorText(255), "Unknown driver error 255");
    EXPECT_EQ(IdeStatusText(0x04), "0004");
    EXPECT_EQ(IdeStatusText(0xAB), "00AB");
}

}  // namespace
