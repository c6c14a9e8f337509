// The records of the disk-health requests that go round the driver's
// S.M.A.R.T. interface: ATA pass-through (the record, then the sector it
// moves, in one buffer) and the storage property query's protocol-specific
// form, through which stornvme hands out NVMe identify data and log pages.
// Fields are written and read at fixed offsets, as in device_records.h;
// ATA_PASS_THROUGH_EX holds a ULONG_PTR, so its layout follows the pointer
// width, and platform/win32/device_records_check.cpp proves both records
// against the system headers.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/device_records.h"

namespace tw::platform {

// ---- Control code, bus types, property ids ----

constexpr DWORD IOCTL_ATA_PASS_THROUGH = 0x0004D02C;
static_assert(IOCTL_ATA_PASS_THROUGH ==
              CtlCode(IOCTL_SCSI_BASE, 0x040B, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS));

constexpr DWORD BusTypeSas = 0x0A;
constexpr DWORD BusTypeSata = 0x0B;
constexpr DWORD BusTypeNvme = 0x11;

constexpr DWORD StorageAdapterProtocolSpecificProperty = 49;
constexpr DWORD StorageDeviceProtocolSpecificProperty = 50;

// ---- ATA_PASS_THROUGH_EX ----

constexpr WORD ATA_FLAGS_DRDY_REQUIRED = 0x01;
constexpr WORD ATA_FLAGS_DATA_IN = 0x02;

// Where the fields lie for one pointer width; the first ones are shared.
struct AtaPassThroughLayout {
    std::size_t dataBufferOffset;  // offset of the ULONG_PTR DataBufferOffset
    std::size_t previousTaskFile;
    std::size_t currentTaskFile;
    std::size_t size;  // sizeof(ATA_PASS_THROUGH_EX), where the data starts
};
inline constexpr AtaPassThroughLayout kAtaPassThrough32{20, 24, 32, 40};
inline constexpr AtaPassThroughLayout kAtaPassThrough64{24, 32, 40, 48};
inline constexpr AtaPassThroughLayout kAtaPassThrough = sizeof(void*) == 4 ? kAtaPassThrough32 : kAtaPassThrough64;

namespace ata_pass_through {
constexpr std::size_t kLength = 0;    // WORD
constexpr std::size_t kAtaFlags = 2;  // WORD
constexpr std::size_t kPathId = 4;
constexpr std::size_t kTargetId = 5;
constexpr std::size_t kLun = 6;
constexpr std::size_t kDataTransferLength = 8;  // DWORD
constexpr std::size_t kTimeOutValue = 12;       // DWORD
constexpr std::size_t kReservedAsUlong = 16;    // DWORD
constexpr std::size_t kTaskFileBytes = 8;
// Task-file registers, in the order both task files hold them. On the way
// back the current task file's feature byte is the error register and its
// command byte the status register.
constexpr std::size_t kFeatures = 0;
constexpr std::size_t kSectorCount = 1;
constexpr std::size_t kLbaLow = 2;
constexpr std::size_t kLbaMid = 3;
constexpr std::size_t kLbaHigh = 4;
constexpr std::size_t kDevice = 5;
constexpr std::size_t kCommand = 6;
}  // namespace ata_pass_through
static_assert(kAtaPassThrough32.currentTaskFile + ata_pass_through::kTaskFileBytes == kAtaPassThrough32.size);
static_assert(kAtaPassThrough64.currentTaskFile + ata_pass_through::kTaskFileBytes == kAtaPassThrough64.size);
static_assert(kAtaPassThrough32.size == 40 && kAtaPassThrough64.size == 48);

using TaskFile = std::array<BYTE, ata_pass_through::kTaskFileBytes>;

struct AtaPassThroughRecord {
    WORD length = static_cast<WORD>(kAtaPassThrough.size);
    WORD ataFlags = 0;
    BYTE pathId = 0;
    BYTE targetId = 0;
    BYTE lun = 0;
    DWORD dataTransferLength = 0;
    DWORD timeOutValue = 0;
    std::uint64_t dataBufferOffset = kAtaPassThrough.size;
    TaskFile previousTaskFile{};
    TaskFile currentTaskFile{};
    bool operator==(const AtaPassThroughRecord&) const = default;
};

// The record in `layout`'s form, in the first layout.size bytes of `out`.
void EncodeAtaPassThrough(const AtaPassThroughRecord& record, std::span<BYTE> out,
                          const AtaPassThroughLayout& layout = kAtaPassThrough);
// None when `bytes` is shorter than the record.
std::optional<AtaPassThroughRecord> DecodeAtaPassThrough(std::span<const BYTE> bytes,
                                                         const AtaPassThroughLayout& layout = kAtaPassThrough);

// ---- STORAGE_PROTOCOL_SPECIFIC_DATA and its query and reply ----

constexpr DWORD ProtocolTypeNvme = 3;
constexpr DWORD NVMeDataTypeIdentify = 1;
constexpr DWORD NVMeDataTypeLogPage = 2;

namespace protocol_data {
constexpr std::size_t kProtocolType = 0;
constexpr std::size_t kDataType = 4;
constexpr std::size_t kRequestValue = 8;
constexpr std::size_t kRequestSubValue = 12;
constexpr std::size_t kDataOffset = 16;  // from the start of this record
constexpr std::size_t kDataLength = 20;
constexpr std::size_t kFixedReturnData = 24;
constexpr std::size_t kRequestSubValue2 = 28;
constexpr std::size_t kRequestSubValue3 = 32;
constexpr std::size_t kRequestSubValue4 = 36;
constexpr std::size_t kSize = 40;
// In the query, the record is the property query's AdditionalParameters; in
// the reply (STORAGE_PROTOCOL_DATA_DESCRIPTOR) it follows Version and Size.
constexpr std::size_t kInQuery = 8;
constexpr std::size_t kInDescriptor = 8;
constexpr std::size_t kDescriptorSize = kInDescriptor + kSize;
}  // namespace protocol_data
static_assert(protocol_data::kRequestSubValue4 + 4 == protocol_data::kSize);

struct ProtocolSpecificData {
    DWORD protocolType = ProtocolTypeNvme;
    DWORD dataType = 0;
    DWORD requestValue = 0;
    DWORD requestSubValue = 0;
    DWORD dataOffset = protocol_data::kSize;
    DWORD dataLength = 0;
    DWORD fixedReturnData = 0;
    DWORD requestSubValue2 = 0;
    DWORD requestSubValue3 = 0;
    DWORD requestSubValue4 = 0;
    bool operator==(const ProtocolSpecificData&) const = default;
};

// A whole query buffer: property id, standard query, the record, and room
// for the data the record asks for.
std::vector<BYTE> EncodeProtocolQuery(DWORD propertyId, const ProtocolSpecificData& data);
// The record inside a query or a reply (`at` = kInQuery or kInDescriptor);
// none when `bytes` does not hold it.
std::optional<ProtocolSpecificData> DecodeProtocolData(std::span<const BYTE> bytes, std::size_t at);
void EncodeProtocolData(const ProtocolSpecificData& data, std::span<BYTE> out, std::size_t at);
// The data a protocol reply carries: its offset and length as the reply's
// record states them, checked against the bytes that came back; none when
// the record is missing or points outside them.
std::optional<std::span<const BYTE>> ProtocolReplyData(std::span<const BYTE> reply);

}  // namespace tw::platform
