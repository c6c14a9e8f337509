#include "platform/health_records.h"

#include <algorithm>
#include <iterator>

#include "platform/byte_fields.h"

namespace tw::platform {

namespace apt = ata_pass_through;
namespace pd = protocol_data;

void EncodeAtaPassThrough(const AtaPassThroughRecord& r, std::span<BYTE> out, const AtaPassThroughLayout& layout) {
    std::fill(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(layout.size), BYTE{0});
    PutLittleEndian(out, apt::kLength, r.length, 2);
    PutLittleEndian(out, apt::kAtaFlags, r.ataFlags, 2);
    out[apt::kPathId] = r.pathId;
    out[apt::kTargetId] = r.targetId;
    out[apt::kLun] = r.lun;
    PutLittleEndian(out, apt::kDataTransferLength, r.dataTransferLength, 4);
    PutLittleEndian(out, apt::kTimeOutValue, r.timeOutValue, 4);
    const std::size_t pointer = layout.previousTaskFile - layout.dataBufferOffset;
    PutLittleEndian(out, layout.dataBufferOffset, r.dataBufferOffset, pointer);
    for (std::size_t i = 0; i < apt::kTaskFileBytes; ++i) {
        out[layout.previousTaskFile + i] = r.previousTaskFile[i];
        out[layout.currentTaskFile + i] = r.currentTaskFile[i];
    }
}

std::optional<AtaPassThroughRecord> DecodeAtaPassThrough(std::span<const BYTE> in, const AtaPassThroughLayout& layout) {
    if (in.size() < layout.size) return std::nullopt;
    AtaPassThroughRecord r;
    r.length = static_cast<WORD>(GetLittleEndian(in, apt::kLength, 2));
    r.ataFlags = static_cast<WORD>(GetLittleEndian(in, apt::kAtaFlags, 2));
    r.pathId = in[apt::kPathId];
    r.targetId = in[apt::kTargetId];
    r.lun = in[apt::kLun];
    r.dataTransferLength = static_cast<DWORD>(GetLittleEndian(in, apt::kDataTransferLength, 4));
    r.timeOutValue = static_cast<DWORD>(GetLittleEndian(in, apt::kTimeOutValue, 4));
    r.dataBufferOffset =
        GetLittleEndian(in, layout.dataBufferOffset, layout.previousTaskFile - layout.dataBufferOffset);
    for (std::size_t i = 0; i < apt::kTaskFileBytes; ++i) {
        r.previousTaskFile[i] = in[layout.previousTaskFile + i];
        r.currentTaskFile[i] = in[layout.currentTaskFile + i];
    }
    return r;
}

void EncodeProtocolData(const ProtocolSpecificData& d, std::span<BYTE> out, std::size_t at) {
    const DWORD fields[] = {d.protocolType,     d.dataType,        d.requestValue,    d.requestSubValue,
                            d.dataOffset,       d.dataLength,      d.fixedReturnData, d.requestSubValue2,
                            d.requestSubValue3, d.requestSubValue4};
    for (std::size_t i = 0; i < std::size(fields); ++i) PutLittleEndian(out, at + 4 * i, fields[i], 4);
}

std::optional<ProtocolSpecificData> DecodeProtocolData(std::span<const BYTE> in, std::size_t at) {
    if (in.size() < at + pd::kSize) return std::nullopt;
    auto field = [&](std::size_t offset) { return static_cast<DWORD>(GetLittleEndian(in, at + offset, 4)); };
    ProtocolSpecificData d;
    d.protocolType = field(pd::kProtocolType);
    d.dataType = field(pd::kDataType);
    d.requestValue = field(pd::kRequestValue);
    d.requestSubValue = field(pd::kRequestSubValue);
    d.dataOffset = field(pd::kDataOffset);
    d.dataLength = field(pd::kDataLength);
    d.fixedReturnData = field(pd::kFixedReturnData);
    d.requestSubValue2 = field(pd::kRequestSubValue2);
    d.requestSubValue3 = field(pd::kRequestSubValue3);
    d.requestSubValue4 = field(pd::kRequestSubValue4);
    return d;
}

std::vector<BYTE> EncodeProtocolQuery(DWORD propertyId, const ProtocolSpecificData& data) {
    std::vector<BYTE> buffer(pd::kInQuery + data.dataOffset + data.dataLength);
    PutLittleEndian(buffer, 0, propertyId, 4);
    PutLittleEndian(buffer, 4, PropertyStandardQuery, 4);
    EncodeProtocolData(data, buffer, pd::kInQuery);
    return buffer;
}

std::optional<std::span<const BYTE>> ProtocolReplyData(std::span<const BYTE> reply) {
    const auto data = DecodeProtocolData(reply, pd::kInDescriptor);
    if (!data) return std::nullopt;
    // Offsets count from the record, which starts 8 bytes into the reply.
    const std::uint64_t begin = std::uint64_t{pd::kInDescriptor} + data->dataOffset;
    if (data->dataOffset < pd::kSize || begin > reply.size() || data->dataLength > reply.size() - begin) {
        return std::nullopt;
    }
    return reply.subspan(static_cast<std::size_t>(begin), data->dataLength);
}

}  // namespace tw::platform
