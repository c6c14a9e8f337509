// The SMART window's summaries: which attribute gives the temperature, the
// colours at the edges of warm and hot, the power-on time in days, and a
// packed raw value shown byte by byte.
#include <gtest/gtest.h>

#include "app/smart_summaries.h"
#include "diagnostics/smart_scan.h"
#include "platform/sim/physical_disk.h"

namespace {

using tw::sim::AttributeFields;

tw::diagnostics::TSmartResult ScanTable(const std::vector<AttributeFields>& attributes) {
    tw::diagnostics::TSmartResult r;
    EXPECT_TRUE(
        tw::diagnostics::ScanAttributes(tw::sim::AttributeSector(attributes), tw::sim::ThresholdSector(attributes), r));
    return r;
}

TEST(SmartSummaries, TemperatureFrom194Then190Then231) {
    const AttributeFields t194{194, 0x22, 37, 45, 0x002D000C0025, 0}, t190{190, 0x22, 60, 55, 40, 45},
        t231{231, 0x22, 100, 100, 29, 0}, other{9, 0x32, 90, 90, 30, 0};
    EXPECT_EQ(tw::TemperatureCelsius(ScanTable({t231, t190, t194})), 37);
    EXPECT_EQ(tw::TemperatureCelsius(ScanTable({t231, t190, other})), 40);
    EXPECT_EQ(tw::TemperatureCelsius(ScanTable({other, t231})), 29);
    EXPECT_EQ(tw::TemperatureCelsius(ScanTable({other})), std::nullopt);
}

TEST(SmartSummaries, TextsAndColours) {
    EXPECT_EQ(tw::TemperatureTone(49), tw::Tone::Plain);
    EXPECT_EQ(tw::TemperatureTone(50), tw::Tone::Caution);
    EXPECT_EQ(tw::TemperatureTone(59), tw::Tone::Caution);
    EXPECT_EQ(tw::TemperatureTone(60), tw::Tone::Bad);
    EXPECT_EQ(tw::CelsiusText(37),
              "37 \xC2\xB0"
              "C");
    EXPECT_EQ(tw::PowerOnText(1), "1 hour (0 days)");
    EXPECT_EQ(tw::PowerOnText(47), "47 hours (1 day)");
    EXPECT_EQ(tw::PowerOnText(31034), "31034 hours (1293 days)");
    EXPECT_EQ(tw::RawHex(219044118565), "00 33 00 0C 00 25");
    EXPECT_EQ(tw::RawHex(0xFFFFFFFFFFFF), "FF FF FF FF FF FF");
}

}  // namespace
