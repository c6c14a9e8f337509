// What a full S.M.A.R.T. read of one disk yields: its identity, the
// summaries taken from well-known attributes, and every attribute rated.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace tw::diagnostics {

// The attribute table holds at most 30 entries; the record keeps 32 slots.
constexpr int kAttributeSlots = 32;
constexpr int kAttributeEntries = 30;

struct TSmartAttribute {
    std::int32_t AttrId = 0;
    std::string AttrName;
    bool AttrPreFail = false;
    bool AttrEvents = false;
    bool AttrErrorRate = false;
    std::int32_t AttrCurrent = 0;
    std::int32_t AttrWorst = 0;
    std::int32_t AttrThreshold = 0;
    std::int64_t AttrRaw = 0;
    std::string AttrState;
};

struct TSmartResult {
    std::int32_t DriveNum = -1;  // the device index whose identify succeeded
    std::int64_t SizeBytes = 0;
    std::string SerialNumber;
    std::string FirmwareRev;
    std::string ModelNumber;
    std::int32_t IdentifyWord47 = 0;
    std::int32_t Temperature = 0;
    std::int32_t TemperatureByte2 = 0;
    std::int32_t TemperatureByte4 = 0;
    std::int32_t PowerOnValue = 0;
    std::int32_t ReallocatedSectors = 0;
    std::int32_t PowerCycles = 0;
    std::int32_t FailingCount = 0;
    std::int32_t WarningCount = 0;
    std::int32_t AttrCount = 0;  // slots 0 .. AttrCount-1 hold attributes
    std::array<TSmartAttribute, kAttributeSlots> Attr{};
};

}  // namespace tw::diagnostics
