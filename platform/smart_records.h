// The records of the disk driver's S.M.A.R.T. requests, as bytes: the version
// reply, the command record (IDE registers and drive number) and the reply
// record (driver status, then one 512-byte sector). Like device_records.h,
// each field is written and read at its fixed offset, never through a struct
// laid over the buffer; platform/win32/device_records_check.cpp proves the
// offsets and sizes against the system headers. None of these records holds
// an address, so they are the same in 32- and 64-bit builds.
#pragma once
#include <array>
#include <cstddef>
#include <optional>
#include <span>

#include "platform/device_records.h"

namespace tw::platform {

// ---- Control codes ----

constexpr DWORD FILE_DEVICE_DISK = 0x07;
constexpr DWORD IOCTL_DISK_BASE = FILE_DEVICE_DISK;

constexpr DWORD SMART_GET_VERSION = 0x00074080;
constexpr DWORD SMART_SEND_DRIVE_COMMAND = 0x0007C084;
constexpr DWORD SMART_RCV_DRIVE_DATA = 0x0007C088;
constexpr DWORD IOCTL_STORAGE_GET_DEVICE_NUMBER = 0x002D1080;
static_assert(SMART_GET_VERSION == CtlCode(IOCTL_DISK_BASE, 0x0020, METHOD_BUFFERED, FILE_READ_ACCESS));
static_assert(SMART_SEND_DRIVE_COMMAND ==
              CtlCode(IOCTL_DISK_BASE, 0x0021, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS));
static_assert(SMART_RCV_DRIVE_DATA ==
              CtlCode(IOCTL_DISK_BASE, 0x0022, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS));
static_assert(IOCTL_STORAGE_GET_DEVICE_NUMBER == CtlCode(IOCTL_STORAGE_BASE, 0x0420, METHOD_BUFFERED, FILE_ANY_ACCESS));

// ---- ATA commands and registers the requests carry ----

constexpr BYTE ID_CMD = 0xEC;        // IDENTIFY DEVICE
constexpr BYTE ATAPI_ID_CMD = 0xA1;  // IDENTIFY PACKET DEVICE
constexpr BYTE SMART_CMD = 0xB0;
// SMART commands are accepted only with this signature in the cylinder registers.
constexpr BYTE SMART_CYL_LOW = 0x4F;
constexpr BYTE SMART_CYL_HI = 0xC2;
// SMART subcommands, in the features register.
constexpr BYTE READ_ATTRIBUTES = 0xD0;
constexpr BYTE READ_THRESHOLDS = 0xD1;
constexpr BYTE ENABLE_SMART = 0xD8;
// Capability bits of the version reply.
constexpr DWORD CAP_ATA_ID_CMD = 1;
constexpr DWORD CAP_ATAPI_ID_CMD = 2;
constexpr DWORD CAP_SMART_CMD = 4;
// bDriverError values.
constexpr BYTE SMART_NO_ERROR = 0;
constexpr BYTE SMART_IDE_ERROR = 1;
constexpr BYTE SMART_INVALID_FLAG = 2;
constexpr BYTE SMART_INVALID_COMMAND = 3;
constexpr BYTE SMART_INVALID_BUFFER = 4;
constexpr BYTE SMART_INVALID_DRIVE = 5;
constexpr BYTE SMART_INVALID_IOCTL = 6;
constexpr BYTE SMART_ERROR_NO_MEM = 7;
constexpr BYTE SMART_INVALID_REGISTER = 8;
constexpr BYTE SMART_NOT_SUPPORTED = 9;
constexpr BYTE SMART_NO_IDE_DEVICE = 10;
// The ATA error register's "command aborted" bit, what a device answers to a
// command it refuses.
constexpr BYTE kAtaErrorAbort = 0x04;

// ---- GETVERSIONINPARAMS ----

namespace smart_version {
constexpr std::size_t kVersion = 0;
constexpr std::size_t kRevision = 1;
constexpr std::size_t kReserved = 2;
constexpr std::size_t kIdeDeviceMap = 3;
constexpr std::size_t kCapabilities = 4;  // DWORD
constexpr std::size_t kDwReserved = 8;    // 4 DWORDs
constexpr std::size_t kSize = 24;
}  // namespace smart_version
static_assert(smart_version::kDwReserved + 4 * 4 == smart_version::kSize);

struct SmartVersion {
    BYTE version = 0;
    BYTE revision = 0;
    BYTE ideDeviceMap = 0;  // bit i: device i present; bit i+4: device i is ATAPI
    DWORD capabilities = 0;
    bool operator==(const SmartVersion&) const = default;
};
std::array<BYTE, smart_version::kSize> Encode(const SmartVersion& version);
// None when `bytes` is shorter than the record.
std::optional<SmartVersion> DecodeSmartVersion(std::span<const BYTE> bytes);

// ---- SENDCMDINPARAMS ----

namespace smart_command {
constexpr std::size_t kBufferSize = 0;  // DWORD cBufferSize
constexpr std::size_t kRegisters = 4;   // IDEREGS, 8 bytes
constexpr std::size_t kFeatures = 4;
constexpr std::size_t kSectorCount = 5;
constexpr std::size_t kSectorNumber = 6;
constexpr std::size_t kCylLow = 7;
constexpr std::size_t kCylHigh = 8;
constexpr std::size_t kDriveHead = 9;
constexpr std::size_t kCommand = 10;
constexpr std::size_t kRegReserved = 11;
constexpr std::size_t kRegistersSize = 8;
constexpr std::size_t kDriveNumber = 12;
constexpr std::size_t kReserved = 13;    // 3 bytes, then 4 DWORDs at 16
constexpr std::size_t kDataBuffer = 32;  // bBuffer[1]
constexpr std::size_t kSize = 33;        // sizeof, with its one data byte
// What the program passes as the input length: the record without bBuffer,
// which carries nothing for the commands it sends.
constexpr std::size_t kSentSize = 32;
}  // namespace smart_command
static_assert(smart_command::kRegisters + smart_command::kRegistersSize == smart_command::kDriveNumber);
static_assert(smart_command::kSentSize == smart_command::kDataBuffer);

struct SmartCommand {
    DWORD bufferSize = 0;
    BYTE features = 0;
    BYTE sectorCount = 0;
    BYTE sectorNumber = 0;
    BYTE cylLow = 0;
    BYTE cylHigh = 0;
    BYTE driveHead = 0;
    BYTE command = 0;
    BYTE driveNumber = 0;
    bool operator==(const SmartCommand&) const = default;
};
// The whole record, reserved bytes zero.
std::array<BYTE, smart_command::kSize> Encode(const SmartCommand& command);
// None when `bytes` is shorter than the length the program sends.
std::optional<SmartCommand> DecodeSmartCommand(std::span<const BYTE> bytes);

// ---- SENDCMDOUTPARAMS and its sector ----

namespace smart_reply {
constexpr std::size_t kBufferSize = 0;    // DWORD cBufferSize
constexpr std::size_t kDriverStatus = 4;  // DRIVERSTATUS, 12 bytes
constexpr std::size_t kDriverError = 4;
constexpr std::size_t kIdeError = 5;
constexpr std::size_t kDriverStatusSize = 12;
constexpr std::size_t kData = 16;        // bBuffer: the sector
constexpr std::size_t kStructSize = 17;  // sizeof(SENDCMDOUTPARAMS)
constexpr std::size_t kSectorSize = 512;
// A reply holding one sector, as the driver fills it (16 + 512).
constexpr std::size_t kSectorReplySize = kData + kSectorSize;
// The buffer the program gives each request: one byte more, as sizeof counts
// bBuffer[1] and the sector.
constexpr std::size_t kBufferBytes = kStructSize + kSectorSize;
}  // namespace smart_reply
static_assert(smart_reply::kDriverStatus + smart_reply::kDriverStatusSize == smart_reply::kData);
static_assert(smart_reply::kBufferBytes == 529 && smart_reply::kSectorReplySize == 528);

using SmartReplyBuffer = std::array<BYTE, smart_reply::kBufferBytes>;

struct SmartReplyHead {
    DWORD bufferSize = 0;
    BYTE driverError = 0;
    BYTE ideError = 0;
    bool operator==(const SmartReplyHead&) const = default;
};
// Writes the head into `out` (16 bytes at least); the sector is left as it is.
void EncodeSmartReplyHead(const SmartReplyHead& head, std::span<BYTE> out);
// None when `bytes` is shorter than the head.
std::optional<SmartReplyHead> DecodeSmartReplyHead(std::span<const BYTE> bytes);

// ---- STORAGE_DEVICE_NUMBER ----

namespace storage_device_number {
constexpr std::size_t kDeviceType = 0;  // DWORD
constexpr std::size_t kDeviceNumber = 4;
constexpr std::size_t kPartitionNumber = 8;
constexpr std::size_t kSize = 12;
}  // namespace storage_device_number

struct StorageDeviceNumber {
    DWORD deviceType = FILE_DEVICE_DISK;
    DWORD deviceNumber = 0;
    DWORD partitionNumber = 0;
    bool operator==(const StorageDeviceNumber&) const = default;
};
std::array<BYTE, storage_device_number::kSize> Encode(const StorageDeviceNumber& number);
std::optional<StorageDeviceNumber> DecodeStorageDeviceNumber(std::span<const BYTE> bytes);

}  // namespace tw::platform
