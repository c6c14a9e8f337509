#include "diagnostics/smart_scan.h"

#include <cstdint>
#include <iterator>

#include "platform/byte_fields.h"

namespace tw::diagnostics {

using platform::BYTE;
namespace f = smart_sector;

namespace {

struct Named {
    int id;
    const char* name;
};

constexpr Named kNames[] = {
    {1, "Raw Read Error Rate"},
    {2, "Throughput Performance"},
    {3, "Spin Up Time"},
    {4, "Start/Stop Count"},
    {5, "Reallocated Sector Count"},
    {6, "Read Channel Margin"},
    {7, "Seek Error Rate"},
    {8, "Seek Time Performance"},
    {9, "Power On Count"},
    {10, "Spin Retry Count"},
    {11, "Calibration Retry Count"},
    {12, "Power Cycle Count"},
    {192, "Emergency Retract Cycle"},
    {193, "Load Cycle Count"},
    {194, "Temperature Celcius"},
    {195, "Hardware ECC"},
    {196, "Reallocation Event Count"},
    {197, "Current Pending Sector"},
    {198, "Off-line Uncorrectable"},
    {199, "Ultra ATA CRC Error Rate"},
    {200, "Multi Zone Error Rate"},
    {201, "Off Track Errors"},
    {202, "TA Increase Count"},
    {203, "ECC Errors"},
    {204, "Shock Count Write Ops"},
    {205, "Shock Rate Write Ops"},
    {206, "Unknown Attribute"},
    {207, "Spin High Current"},
    {208, "Spin Buzz"},
    {209, "Offline Seek Perf"},
};

constexpr int kReallocated = 5;
constexpr int kPowerOn = 9;
constexpr int kPowerCycles = 12;
constexpr int kTemperature = 194;
// A disk whose spin-up time or start/stop count reads above 230 rates on a
// scale of 253 rather than 100, from that attribute on.
constexpr int kWideScaleCurrent = 230;
constexpr int kWideScale = 253;
// More reallocated sectors than this is a warning even when the value holds.
constexpr std::int64_t kReallocatedWarning = 500;

std::uint64_t Raw(std::span<const BYTE> entry) { return platform::GetLittleEndian(entry, f::kRaw, f::kRawLength); }

// The state of a pre-failure attribute with a threshold; counts what it finds.
const char* Rate(const TSmartAttribute& a, int max, TSmartResult& result) {
    if (a.AttrThreshold > a.AttrCurrent) {
        ++result.FailingCount;
        return "Failing Now";
    }
    if (a.AttrThreshold > a.AttrWorst) {
        ++result.FailingCount;
        return "Failed In Past";
    }
    if (a.AttrCurrent < a.AttrThreshold + (max - a.AttrThreshold) / 2 ||
        (a.AttrId == kReallocated && a.AttrRaw > kReallocatedWarning)) {
        ++result.WarningCount;
        return "Warning";
    }
    return "OK";
}

}  // namespace

std::string AttributeName(int id) {
    for (const Named& n : kNames) {
        if (n.id == id) return n.name;
    }
    return "Unknown";
}

bool ScanAttributes(std::span<const BYTE> attributes, std::span<const BYTE> thresholds, TSmartResult& result) {
    if (attributes.size() < f::kSectorSize || thresholds.size() < f::kSectorSize) return false;
    int max = 100;
    int count = 0;
    for (; count < kAttributeEntries; ++count) {
        const auto entry = attributes.subspan(f::kEntries + count * f::kEntrySize, f::kEntrySize);
        const auto limit = thresholds.subspan(f::kEntries + count * f::kEntrySize, f::kEntrySize);
        if (entry[f::kId] == 0) break;
        const unsigned flags = entry[f::kFlags] | (unsigned{entry[f::kFlags + 1]} << 8);
        TSmartAttribute& a = result.Attr[count];
        a = TSmartAttribute{};
        a.AttrId = entry[f::kId];
        a.AttrName = AttributeName(a.AttrId);
        a.AttrPreFail = (flags & f::kPreFailure) != 0;
        a.AttrEvents = (flags & f::kEventCount) != 0;
        a.AttrErrorRate = (flags & f::kErrorRate) != 0;
        a.AttrCurrent = entry[f::kCurrent];
        a.AttrWorst = entry[f::kWorst];
        a.AttrThreshold = limit[f::kThreshold];
        a.AttrRaw = static_cast<std::int64_t>(Raw(entry));

        if (a.AttrRaw > 0 && a.AttrRaw < 2147483647) {
            const auto raw = static_cast<std::int32_t>(a.AttrRaw);
            if (a.AttrId == kReallocated) result.ReallocatedSectors = raw;
            if (a.AttrId == kPowerOn) result.PowerOnValue = raw / 60 + 1;
            if (a.AttrId == kPowerCycles) result.PowerCycles = raw;
        }
        if ((a.AttrId == 3 || a.AttrId == 4) && a.AttrCurrent > kWideScaleCurrent) max = kWideScale;
        a.AttrState = a.AttrPreFail && a.AttrThreshold != 0 ? Rate(a, max, result) : "-";
        if (a.AttrId == kTemperature) {
            result.Temperature = entry[f::kRaw];
            result.TemperatureByte2 = entry[f::kRaw + 2];
            result.TemperatureByte4 = entry[f::kRaw] == a.AttrCurrent ? a.AttrWorst : entry[f::kRaw + 4];
        }
    }
    result.AttrCount = count;
    return true;
}

}  // namespace tw::diagnostics
