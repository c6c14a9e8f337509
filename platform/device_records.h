// The records that travel through DeviceIoControl and the token calls, as
// bytes. Each is written and read field by field at fixed offsets in
// little-endian order, never by laying a struct over the buffer, so the bytes
// are the same whichever compiler builds them. Records that hold an address
// (the pass-through data buffer, a SID) take the layout of this build's
// pointer width, as the system they are sent to expects; in the Windows builds
// platform/win32/device_records_check.cpp proves every size and offset against
// the system headers.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/win_types.h"

namespace tw::platform {

// ---- Control codes ----

constexpr DWORD METHOD_BUFFERED = 0;
constexpr DWORD FILE_ANY_ACCESS = 0;
constexpr DWORD FILE_READ_ACCESS = 1;
constexpr DWORD FILE_WRITE_ACCESS = 2;
constexpr DWORD FILE_DEVICE_CONTROLLER = 0x04;
constexpr DWORD FILE_DEVICE_MASS_STORAGE = 0x2D;
constexpr DWORD IOCTL_SCSI_BASE = FILE_DEVICE_CONTROLLER;
constexpr DWORD IOCTL_STORAGE_BASE = FILE_DEVICE_MASS_STORAGE;

constexpr DWORD CtlCode(DWORD deviceType, DWORD function, DWORD method, DWORD access) {
    return (deviceType << 16) | (access << 14) | (function << 2) | method;
}
// The access a request needs on the handle it is sent on (FILE_*_ACCESS bits).
constexpr DWORD RequiredAccess(DWORD ioControlCode) { return (ioControlCode >> 14) & 3; }

constexpr DWORD IOCTL_SCSI_PASS_THROUGH_DIRECT = 0x0004D014;
constexpr DWORD IOCTL_STORAGE_QUERY_PROPERTY = 0x002D1400;
constexpr DWORD IOCTL_STORAGE_MEDIA_REMOVAL = 0x002D4804;
constexpr DWORD IOCTL_STORAGE_EJECT_MEDIA = 0x002D4808;
constexpr DWORD IOCTL_STORAGE_LOAD_MEDIA = 0x002D480C;
constexpr DWORD IOCTL_STORAGE_EJECTION_CONTROL = 0x002D0940;
static_assert(IOCTL_SCSI_PASS_THROUGH_DIRECT ==
              CtlCode(IOCTL_SCSI_BASE, 0x0405, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS));
static_assert(IOCTL_STORAGE_QUERY_PROPERTY == CtlCode(IOCTL_STORAGE_BASE, 0x0500, METHOD_BUFFERED, FILE_ANY_ACCESS));
static_assert(IOCTL_STORAGE_MEDIA_REMOVAL == CtlCode(IOCTL_STORAGE_BASE, 0x0201, METHOD_BUFFERED, FILE_READ_ACCESS));
static_assert(IOCTL_STORAGE_EJECT_MEDIA == CtlCode(IOCTL_STORAGE_BASE, 0x0202, METHOD_BUFFERED, FILE_READ_ACCESS));
static_assert(IOCTL_STORAGE_LOAD_MEDIA == CtlCode(IOCTL_STORAGE_BASE, 0x0203, METHOD_BUFFERED, FILE_READ_ACCESS));
static_assert(IOCTL_STORAGE_EJECTION_CONTROL == CtlCode(IOCTL_STORAGE_BASE, 0x0250, METHOD_BUFFERED, FILE_ANY_ACCESS));

// Directions of a pass-through transfer.
constexpr BYTE SCSI_IOCTL_DATA_OUT = 0;
constexpr BYTE SCSI_IOCTL_DATA_IN = 1;
constexpr BYTE SCSI_IOCTL_DATA_UNSPECIFIED = 2;

// ---- SCSI pass-through (direct) ----

// Where the fields of SCSI_PASS_THROUGH_DIRECT lie for one pointer width.
// The first nine fields are the same in both; DataBuffer is pointer-aligned.
struct PassThroughLayout {
    std::size_t pointerSize;
    std::size_t directSize;       // sizeof(SCSI_PASS_THROUGH_DIRECT)
    std::size_t dataBuffer;       // offset of DataBuffer
    std::size_t senseInfoOffset;  // offset of the SenseInfoOffset field
    std::size_t cdb;              // offset of Cdb[16]
    std::size_t filler;           // the 4 bytes after the direct record
    std::size_t sense;            // the sense area, and SenseInfoOffset's value
    std::size_t recordSize;       // direct record + filler + sense, pointer-aligned
};
inline constexpr PassThroughLayout kPassThrough32{4, 44, 20, 24, 28, 44, 48, 80};
inline constexpr PassThroughLayout kPassThrough64{8, 56, 24, 32, 36, 56, 60, 96};
inline constexpr PassThroughLayout kPassThrough = sizeof(void*) == 4 ? kPassThrough32 : kPassThrough64;
static_assert(sizeof(void*) == 4 || sizeof(void*) == 8);

namespace pass_through {
// Offsets that do not depend on the pointer width.
constexpr std::size_t kLength = 0;  // WORD
constexpr std::size_t kScsiStatus = 2;
constexpr std::size_t kPathId = 3;
constexpr std::size_t kTargetId = 4;
constexpr std::size_t kLun = 5;
constexpr std::size_t kCdbLength = 6;
constexpr std::size_t kSenseInfoLength = 7;
constexpr std::size_t kDataIn = 8;
constexpr std::size_t kDataTransferLength = 12;  // DWORD
constexpr std::size_t kTimeOutValue = 16;        // DWORD
constexpr std::size_t kCdbBytes = 16;
constexpr std::size_t kSenseBytes = 32;
}  // namespace pass_through
static_assert(kPassThrough32.cdb + pass_through::kCdbBytes == kPassThrough32.directSize);
static_assert(kPassThrough32.sense + pass_through::kSenseBytes == kPassThrough32.recordSize);
static_assert(kPassThrough64.cdb + pass_through::kCdbBytes <= kPassThrough64.directSize);
static_assert(kPassThrough64.sense + pass_through::kSenseBytes <= kPassThrough64.recordSize);

using PassThroughRecord = std::array<BYTE, kPassThrough.recordSize>;

// The pass-through request as values. `length` and `senseInfoOffset` default
// to what this build's record needs; `dataBuffer` is the address of the
// caller's data buffer, which the driver reads and writes directly.
struct PassThroughRequest {
    WORD length = static_cast<WORD>(kPassThrough.directSize);
    BYTE scsiStatus = 0;
    BYTE pathId = 0;
    BYTE targetId = 0;
    BYTE lun = 0;
    BYTE cdbLength = 0;
    BYTE senseInfoLength = 0;
    BYTE dataIn = SCSI_IOCTL_DATA_IN;
    DWORD dataTransferLength = 0;
    DWORD timeOutValue = 0;
    std::uintptr_t dataBuffer = 0;
    DWORD senseInfoOffset = static_cast<DWORD>(kPassThrough.sense);
    std::array<BYTE, pass_through::kCdbBytes> cdb{};

    bool operator==(const PassThroughRequest&) const = default;
};

// The whole record, filler and sense area zero.
PassThroughRecord Encode(const PassThroughRequest& request);
// The direct record's fields; none when `bytes` is shorter than the direct
// record (the filler and sense area are not needed).
std::optional<PassThroughRequest> DecodePassThrough(std::span<const BYTE> bytes);

// ---- Storage property query ----

constexpr DWORD StorageDeviceProperty = 0;
constexpr DWORD PropertyStandardQuery = 0;
constexpr std::size_t kStoragePropertyQuerySize = 12;

struct StoragePropertyQuery {
    DWORD propertyId = StorageDeviceProperty;
    DWORD queryType = PropertyStandardQuery;
    BYTE additionalParameters = 0;
};
std::array<BYTE, kStoragePropertyQuerySize> Encode(const StoragePropertyQuery& query);
std::optional<StoragePropertyQuery> DecodePropertyQuery(std::span<const BYTE> bytes);

// STORAGE_DEVICE_DESCRIPTOR: a 36-byte head, then raw properties and the
// identity strings the offsets point at.
namespace device_descriptor {
constexpr std::size_t kVersion = 0;  // DWORD
constexpr std::size_t kSize = 4;     // DWORD
constexpr std::size_t kDeviceType = 8;
constexpr std::size_t kDeviceTypeModifier = 9;
constexpr std::size_t kRemovableMedia = 10;
constexpr std::size_t kCommandQueueing = 11;
constexpr std::size_t kVendorIdOffset = 12;         // DWORD
constexpr std::size_t kProductIdOffset = 16;        // DWORD
constexpr std::size_t kProductRevisionOffset = 20;  // DWORD
constexpr std::size_t kSerialNumberOffset = 24;     // DWORD
constexpr std::size_t kBusType = 28;                // DWORD (STORAGE_BUS_TYPE)
constexpr std::size_t kRawPropertiesLength = 32;    // DWORD
constexpr std::size_t kRawDeviceProperties = 36;
constexpr std::size_t kStructSize = 40;  // sizeof, with its one raw byte and padding
}  // namespace device_descriptor

// The reply buffer the program hands over: zeroed, Size preset to its length.
constexpr std::size_t kDeviceDescriptorBufferSize = 548;
std::array<BYTE, kDeviceDescriptorBufferSize> NewDeviceDescriptorBuffer();

// Bus types the program tells apart.
constexpr DWORD BusTypeUnknown = 0;
constexpr DWORD BusTypeScsi = 1;
constexpr DWORD BusTypeAtapi = 2;
constexpr DWORD BusTypeAta = 3;
constexpr DWORD BusType1394 = 4;
constexpr DWORD BusTypeSsa = 5;
constexpr DWORD BusTypeFibre = 6;
constexpr DWORD BusTypeUsb = 7;
constexpr DWORD BusTypeRAID = 8;

struct DeviceDescriptor {
    DWORD version = 0;
    DWORD size = 0;
    BYTE deviceType = 0;
    BYTE deviceTypeModifier = 0;
    bool removableMedia = false;
    bool commandQueueing = false;
    DWORD vendorIdOffset = 0;
    DWORD productIdOffset = 0;
    DWORD productRevisionOffset = 0;
    DWORD serialNumberOffset = 0;
    DWORD busType = BusTypeUnknown;
    DWORD rawPropertiesLength = 0;

    bool operator==(const DeviceDescriptor&) const = default;
};
// Writes the head's fields into `out` (as far as it reaches; the rest of
// `out` is left as it is).
void EncodeDeviceDescriptor(const DeviceDescriptor& descriptor, std::span<BYTE> out);
// None when `bytes` does not hold the fields up to BusType.
std::optional<DeviceDescriptor> DecodeDeviceDescriptor(std::span<const BYTE> bytes);

// ---- Media removal ----

constexpr std::size_t kPreventMediaRemovalSize = 1;
std::array<BYTE, kPreventMediaRemovalSize> EncodePreventMediaRemoval(bool prevent);
std::optional<bool> DecodePreventMediaRemoval(std::span<const BYTE> bytes);

// ---- TOKEN_GROUPS ----

// A DWORD count, then {PSID, DWORD attributes} entries at pointer alignment;
// the SIDs the entries point at usually follow inside the same buffer.
struct TokenGroupsLayout {
    std::size_t groups;      // offset of the first entry
    std::size_t entrySize;   // sizeof(SID_AND_ATTRIBUTES)
    std::size_t attributes;  // offset of Attributes inside an entry
};
inline constexpr TokenGroupsLayout kTokenGroups32{4, 8, 4};
inline constexpr TokenGroupsLayout kTokenGroups64{8, 16, 8};
inline constexpr TokenGroupsLayout kTokenGroups = sizeof(void*) == 4 ? kTokenGroups32 : kTokenGroups64;

struct SidAndAttributes {
    std::uintptr_t sid = 0;  // the address of the SID
    DWORD attributes = 0;
    bool operator==(const SidAndAttributes&) const = default;
};
// None when the count promises more entries than `bytes` holds.
std::optional<std::vector<SidAndAttributes>> DecodeTokenGroups(std::span<const BYTE> bytes);

// A group as a system hands it out: the SID's bytes and the attributes.
struct TokenGroup {
    std::vector<BYTE> sid;
    DWORD attributes = 0;
};
// The bytes the whole list takes: count, entries, then every SID.
std::size_t TokenGroupsSize(std::span<const TokenGroup> groups);
// Lays the list out in `out`, which holds at least TokenGroupsSize bytes; the
// entries point at the SIDs' copies inside `out`.
void EncodeTokenGroups(std::span<const TokenGroup> groups, std::span<BYTE> out);

// A SID's size from its sub-authority count (byte 1): 8 + 4 per sub-authority.
constexpr std::size_t SidLength(BYTE subAuthorityCount) { return 8 + 4 * std::size_t{subAuthorityCount}; }

}  // namespace tw::platform
