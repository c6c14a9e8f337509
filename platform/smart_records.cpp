#include "platform/smart_records.h"

#include "platform/byte_fields.h"

namespace tw::platform {

namespace {

void PutDword(std::span<BYTE> out, std::size_t at, DWORD value) { PutLittleEndian(out, at, value, 4); }

DWORD GetDword(std::span<const BYTE> in, std::size_t at) { return static_cast<DWORD>(GetLittleEndian(in, at, 4)); }

}  // namespace

std::array<BYTE, smart_version::kSize> Encode(const SmartVersion& v) {
    namespace f = smart_version;
    std::array<BYTE, f::kSize> out{};
    out[f::kVersion] = v.version;
    out[f::kRevision] = v.revision;
    out[f::kIdeDeviceMap] = v.ideDeviceMap;
    PutDword(out, f::kCapabilities, v.capabilities);
    return out;
}

std::optional<SmartVersion> DecodeSmartVersion(std::span<const BYTE> in) {
    namespace f = smart_version;
    if (in.size() < f::kSize) return std::nullopt;
    return SmartVersion{in[f::kVersion], in[f::kRevision], in[f::kIdeDeviceMap], GetDword(in, f::kCapabilities)};
}

std::array<BYTE, smart_command::kSize> Encode(const SmartCommand& c) {
    namespace f = smart_command;
    std::array<BYTE, f::kSize> out{};
    PutDword(out, f::kBufferSize, c.bufferSize);
    out[f::kFeatures] = c.features;
    out[f::kSectorCount] = c.sectorCount;
    out[f::kSectorNumber] = c.sectorNumber;
    out[f::kCylLow] = c.cylLow;
    out[f::kCylHigh] = c.cylHigh;
    out[f::kDriveHead] = c.driveHead;
    out[f::kCommand] = c.command;
    out[f::kDriveNumber] = c.driveNumber;
    return out;
}

std::optional<SmartCommand> DecodeSmartCommand(std::span<const BYTE> in) {
    namespace f = smart_command;
    if (in.size() < f::kSentSize) return std::nullopt;
    SmartCommand c;
    c.bufferSize = GetDword(in, f::kBufferSize);
    c.features = in[f::kFeatures];
    c.sectorCount = in[f::kSectorCount];
    c.sectorNumber = in[f::kSectorNumber];
    c.cylLow = in[f::kCylLow];
    c.cylHigh = in[f::kCylHigh];
    c.driveHead = in[f::kDriveHead];
    c.command = in[f::kCommand];
    c.driveNumber = in[f::kDriveNumber];
    return c;
}

void EncodeSmartReplyHead(const SmartReplyHead& head, std::span<BYTE> out) {
    namespace f = smart_reply;
    if (out.size() < f::kData) return;
    PutDword(out, f::kBufferSize, head.bufferSize);
    out[f::kDriverError] = head.driverError;
    out[f::kIdeError] = head.ideError;
}

std::optional<SmartReplyHead> DecodeSmartReplyHead(std::span<const BYTE> in) {
    namespace f = smart_reply;
    if (in.size() < f::kData) return std::nullopt;
    return SmartReplyHead{GetDword(in, f::kBufferSize), in[f::kDriverError], in[f::kIdeError]};
}

std::array<BYTE, storage_device_number::kSize> Encode(const StorageDeviceNumber& n) {
    namespace f = storage_device_number;
    std::array<BYTE, f::kSize> out{};
    PutDword(out, f::kDeviceType, n.deviceType);
    PutDword(out, f::kDeviceNumber, n.deviceNumber);
    PutDword(out, f::kPartitionNumber, n.partitionNumber);
    return out;
}

std::optional<StorageDeviceNumber> DecodeStorageDeviceNumber(std::span<const BYTE> in) {
    namespace f = storage_device_number;
    if (in.size() < f::kSize) return std::nullopt;
    return StorageDeviceNumber{GetDword(in, f::kDeviceType), GetDword(in, f::kDeviceNumber),
                               GetDword(in, f::kPartitionNumber)};
}

}  // namespace tw::platform
