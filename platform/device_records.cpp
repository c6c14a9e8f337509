#include "platform/device_records.h"

#include <algorithm>
#include <cstring>

#include "platform/byte_fields.h"

namespace tw::platform {

namespace {

constexpr auto Put = PutLittleEndian;
constexpr auto Get = GetLittleEndian;

DWORD Dword(std::span<const BYTE> in, std::size_t at) { return static_cast<DWORD>(Get(in, at, 4)); }

}  // namespace

PassThroughRecord Encode(const PassThroughRequest& r) {
    namespace f = pass_through;
    PassThroughRecord out{};
    Put(out, f::kLength, r.length, 2);
    out[f::kScsiStatus] = r.scsiStatus;
    out[f::kPathId] = r.pathId;
    out[f::kTargetId] = r.targetId;
    out[f::kLun] = r.lun;
    out[f::kCdbLength] = r.cdbLength;
    out[f::kSenseInfoLength] = r.senseInfoLength;
    out[f::kDataIn] = r.dataIn;
    Put(out, f::kDataTransferLength, r.dataTransferLength, 4);
    Put(out, f::kTimeOutValue, r.timeOutValue, 4);
    Put(out, kPassThrough.dataBuffer, r.dataBuffer, kPassThrough.pointerSize);
    Put(out, kPassThrough.senseInfoOffset, r.senseInfoOffset, 4);
    std::copy(r.cdb.begin(), r.cdb.end(), out.begin() + static_cast<std::ptrdiff_t>(kPassThrough.cdb));
    return out;
}

std::optional<PassThroughRequest> DecodePassThrough(std::span<const BYTE> in) {
    namespace f = pass_through;
    if (in.size() < kPassThrough.directSize) return std::nullopt;
    PassThroughRequest r;
    r.length = static_cast<WORD>(Get(in, f::kLength, 2));
    r.scsiStatus = in[f::kScsiStatus];
    r.pathId = in[f::kPathId];
    r.targetId = in[f::kTargetId];
    r.lun = in[f::kLun];
    r.cdbLength = in[f::kCdbLength];
    r.senseInfoLength = in[f::kSenseInfoLength];
    r.dataIn = in[f::kDataIn];
    r.dataTransferLength = Dword(in, f::kDataTransferLength);
    r.timeOutValue = Dword(in, f::kTimeOutValue);
    r.dataBuffer = static_cast<std::uintptr_t>(Get(in, kPassThrough.dataBuffer, kPassThrough.pointerSize));
    r.senseInfoOffset = Dword(in, kPassThrough.senseInfoOffset);
    std::copy_n(in.begin() + static_cast<std::ptrdiff_t>(kPassThrough.cdb), r.cdb.size(), r.cdb.begin());
    return r;
}

std::array<BYTE, kStoragePropertyQuerySize> Encode(const StoragePropertyQuery& q) {
    std::array<BYTE, kStoragePropertyQuerySize> out{};
    Put(out, 0, q.propertyId, 4);
    Put(out, 4, q.queryType, 4);
    out[8] = q.additionalParameters;
    return out;
}

std::optional<StoragePropertyQuery> DecodePropertyQuery(std::span<const BYTE> in) {
    // The system reads the two enums; the parameter byte may be cut off.
    if (in.size() < 8) return std::nullopt;
    StoragePropertyQuery q;
    q.propertyId = Dword(in, 0);
    q.queryType = Dword(in, 4);
    q.additionalParameters = in.size() > 8 ? in[8] : 0;
    return q;
}

std::array<BYTE, kDeviceDescriptorBufferSize> NewDeviceDescriptorBuffer() {
    std::array<BYTE, kDeviceDescriptorBufferSize> out{};
    Put(out, device_descriptor::kSize, kDeviceDescriptorBufferSize, 4);
    return out;
}

void EncodeDeviceDescriptor(const DeviceDescriptor& d, std::span<BYTE> out) {
    namespace f = device_descriptor;
    std::array<BYTE, f::kRawDeviceProperties> head{};
    Put(head, f::kVersion, d.version, 4);
    Put(head, f::kSize, d.size, 4);
    head[f::kDeviceType] = d.deviceType;
    head[f::kDeviceTypeModifier] = d.deviceTypeModifier;
    head[f::kRemovableMedia] = d.removableMedia ? 1 : 0;
    head[f::kCommandQueueing] = d.commandQueueing ? 1 : 0;
    Put(head, f::kVendorIdOffset, d.vendorIdOffset, 4);
    Put(head, f::kProductIdOffset, d.productIdOffset, 4);
    Put(head, f::kProductRevisionOffset, d.productRevisionOffset, 4);
    Put(head, f::kSerialNumberOffset, d.serialNumberOffset, 4);
    Put(head, f::kBusType, d.busType, 4);
    Put(head, f::kRawPropertiesLength, d.rawPropertiesLength, 4);
    std::copy_n(head.begin(), std::min(head.size(), out.size()), out.begin());
}

std::optional<DeviceDescriptor> DecodeDeviceDescriptor(std::span<const BYTE> in) {
    namespace f = device_descriptor;
    if (in.size() < f::kBusType + 4) return std::nullopt;
    DeviceDescriptor d;
    d.version = Dword(in, f::kVersion);
    d.size = Dword(in, f::kSize);
    d.deviceType = in[f::kDeviceType];
    d.deviceTypeModifier = in[f::kDeviceTypeModifier];
    d.removableMedia = in[f::kRemovableMedia] != 0;
    d.commandQueueing = in[f::kCommandQueueing] != 0;
    d.vendorIdOffset = Dword(in, f::kVendorIdOffset);
    d.productIdOffset = Dword(in, f::kProductIdOffset);
    d.productRevisionOffset = Dword(in, f::kProductRevisionOffset);
    d.serialNumberOffset = Dword(in, f::kSerialNumberOffset);
    d.busType = Dword(in, f::kBusType);
    d.rawPropertiesLength = in.size() >= f::kRawPropertiesLength + 4 ? Dword(in, f::kRawPropertiesLength) : 0;
    return d;
}

std::array<BYTE, kPreventMediaRemovalSize> EncodePreventMediaRemoval(bool prevent) {
    return {static_cast<BYTE>(prevent ? 1 : 0)};
}

std::optional<bool> DecodePreventMediaRemoval(std::span<const BYTE> in) {
    if (in.size() < kPreventMediaRemovalSize) return std::nullopt;
    return in[0] != 0;
}

std::optional<std::vector<SidAndAttributes>> DecodeTokenGroups(std::span<const BYTE> in) {
    if (in.size() < 4) return std::nullopt;
    const DWORD count = Dword(in, 0);
    // Compared by division so that a huge count cannot overflow the product.
    if (in.size() < kTokenGroups.groups || (in.size() - kTokenGroups.groups) / kTokenGroups.entrySize < count) {
        return std::nullopt;
    }
    std::vector<SidAndAttributes> groups(count);
    for (DWORD i = 0; i < count; ++i) {
        const std::size_t at = kTokenGroups.groups + i * kTokenGroups.entrySize;
        groups[i].sid = static_cast<std::uintptr_t>(Get(in, at, sizeof(void*)));
        groups[i].attributes = Dword(in, at + kTokenGroups.attributes);
    }
    return groups;
}

std::size_t TokenGroupsSize(std::span<const TokenGroup> groups) {
    std::size_t size = kTokenGroups.groups + groups.size() * kTokenGroups.entrySize;
    for (const TokenGroup& g : groups) size += g.sid.size();
    return size;
}

void EncodeTokenGroups(std::span<const TokenGroup> groups, std::span<BYTE> out) {
    std::fill(out.begin(), out.end(), BYTE{0});
    Put(out, 0, groups.size(), 4);
    std::size_t sidAt = kTokenGroups.groups + groups.size() * kTokenGroups.entrySize;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const std::size_t at = kTokenGroups.groups + i * kTokenGroups.entrySize;
        const auto address = reinterpret_cast<std::uintptr_t>(out.data() + sidAt);
        Put(out, at, address, sizeof(void*));
        Put(out, at + kTokenGroups.attributes, groups[i].attributes, 4);
        std::copy(groups[i].sid.begin(), groups[i].sid.end(), out.begin() + static_cast<std::ptrdiff_t>(sidAt));
        sidAt += groups[i].sid.size();
    }
}

}  // namespace tw::platform
