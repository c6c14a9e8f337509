// The simulated physical disks' health requests, beside the driver's
// S.M.A.R.T. interface: the storage property query (the bus, and NVMe
// identify data and log pages), ATA pass-through, and ATA commands wrapped
// in SCSI commands for a USB bridge. Device 0's sectors answer every ATA
// route, so each route shows the same disk.
#include <algorithm>
#include <cstring>

#include "platform/byte_fields.h"
#include "platform/health_records.h"
#include "platform/sim/state.h"

namespace tw::sim {

namespace {

constexpr std::size_t kSector = 512;
constexpr BYTE kStatusReady = 0x50;    // DRDY | DSC
constexpr BYTE kStatusAborted = 0x51;  // ... | ERR
constexpr BYTE kReturnSmartStatus = 0xDA;
constexpr BYTE kGood = 0x00;
constexpr BYTE kCheckCondition = 0x02;
constexpr BYTE kRecoveredError = 0x01;
constexpr BYTE kIllegalRequest = 0x05;
constexpr BYTE kAbortedCommand = 0x0B;
constexpr BYTE kInvalidOpcode = 0x20;
constexpr BYTE kInvalidField = 0x24;
constexpr BYTE kAtaInformation = 0x1D;  // ASCQ with ASC 00h

struct AtaIn {
    BYTE features = 0, count = 0, lbaLow = 0, lbaMid = 0, lbaHigh = 0, device = 0, command = 0;
};

struct AtaOut {
    BYTE error = 0, count = 0, lbaLow = 0, lbaMid = 0, lbaHigh = 0, device = 0, status = kStatusReady;
    const std::vector<BYTE>* sector = nullptr;  // data-in commands
    bool dataIn = false;
};

// The disk's answer to one ATA command, as device 0 holds it.
AtaOut Execute(PhysicalDisk& disk, const AtaIn& in) {
    AtaOut out{0, in.count, in.lbaLow, in.lbaMid, in.lbaHigh, in.device, kStatusReady, nullptr, false};
    auto abort = [&] {
        out.error = kAtaErrorAbort;
        out.status = kStatusAborted;
        out.sector = nullptr;
        return out;
    };
    auto found = disk.devices.find(0);
    if (found == disk.devices.end()) return abort();
    IdeDevice& d = found->second;
    auto failed = [&](SmartStep step) { return d.failures.count(step) != 0; };
    if (in.command == ID_CMD) {
        if (d.atapi || failed(SmartStep::kIdentify)) return abort();
        out.dataIn = true, out.sector = &d.identify;
        return out;
    }
    if (in.command != SMART_CMD || in.lbaMid != SMART_CYL_LOW || in.lbaHigh != SMART_CYL_HI || d.atapi ||
        !d.smartSupported) {
        return abort();
    }
    switch (in.features) {
        case READ_ATTRIBUTES:
            if (!d.smartEnabled || failed(SmartStep::kAttributes)) return abort();
            out.dataIn = true, out.sector = &d.attributes;
            return out;
        case READ_THRESHOLDS:
            if (!d.smartEnabled || failed(SmartStep::kThresholds)) return abort();
            out.dataIn = true, out.sector = &d.thresholds;
            return out;
        case kReturnSmartStatus:
            if (!d.smartEnabled) return abort();
            if (d.thresholdExceeded) out.lbaMid = 0xF4, out.lbaHigh = 0x2C;
            return out;
        default: return abort();
    }
}

// The sector's bytes into `to` (512 at most there), zero after a short one.
std::size_t CopySector(const AtaOut& a, BYTE* to) {
    std::memset(to, 0, kSector);
    if (!a.sector) return 0;
    const std::size_t n = std::min(a.sector->size(), kSector);
    std::memcpy(to, a.sector->data(), n);
    return n;
}

}  // namespace

std::optional<BOOL> MachineState::HealthRequest(PhysicalDisk& disk, DWORD code, std::span<const BYTE> input,
                                                void* outBuffer, DWORD outSize, DWORD* bytesReturned) {
    auto refusedWith = [&](HealthCall request) -> DWORD {
        if (request != HealthCall::kBusQuery && disk.administratorOnly && !IsAdministrator()) {
            return ERROR_ACCESS_DENIED;
        }
        auto e = disk.healthErrors.find(request);
        return e == disk.healthErrors.end() ? ERROR_SUCCESS : e->second;
    };
    auto* out = static_cast<BYTE*>(outBuffer);

    if (code == IOCTL_STORAGE_QUERY_PROPERTY) {
        if (input.size() < 8) return Fail(ERROR_INVALID_PARAMETER);
        const auto query = DecodePropertyQuery(input);
        if (!query || query->queryType != PropertyStandardQuery) return Fail(ERROR_INVALID_PARAMETER);
        if (query->propertyId == StorageDeviceProperty) {
            if (!disk.busType) return Fail(ERROR_INVALID_FUNCTION);
            if (DWORD e = refusedWith(HealthCall::kBusQuery)) return Fail(e);
            if (out == nullptr || outSize < 8) return Fail(ERROR_INSUFFICIENT_BUFFER);
            std::vector<BYTE> reply(device_descriptor::kStructSize, 0);
            DeviceDescriptor d;
            d.version = d.size = static_cast<DWORD>(reply.size());
            d.busType = *disk.busType;
            EncodeDeviceDescriptor(d, reply);
            const DWORD n = std::min<DWORD>(outSize, static_cast<DWORD>(reply.size()));
            std::memcpy(out, reply.data(), n);
            if (bytesReturned) *bytesReturned = n;
            return Succeed();
        }
        if (query->propertyId != StorageAdapterProtocolSpecificProperty &&
            query->propertyId != StorageDeviceProtocolSpecificProperty) {
            return Fail(ERROR_INVALID_FUNCTION);
        }
        // Only stornvme answers protocol-specific queries.
        if (!disk.nvme) return Fail(ERROR_NOT_SUPPORTED);
        if (DWORD e = refusedWith(HealthCall::kNvmeQuery)) return Fail(e);
        const auto asked = DecodeProtocolData(input, protocol_data::kInQuery);
        if (!asked || asked->protocolType != ProtocolTypeNvme || asked->dataOffset < protocol_data::kSize) {
            return Fail(ERROR_INVALID_PARAMETER);
        }
        const std::vector<BYTE>* data = nullptr;
        const bool adapter = query->propertyId == StorageAdapterProtocolSpecificProperty;
        if (asked->dataType == NVMeDataTypeIdentify && asked->requestValue == 1 && adapter) {
            data = &disk.nvme->identify;
        } else if (asked->dataType == NVMeDataTypeLogPage && asked->requestValue == 0x02 &&
                   asked->requestSubValue == 0) {
            data = &disk.nvme->healthLog;
        } else {
            return Fail(ERROR_INVALID_PARAMETER);
        }
        const std::uint64_t needed =
            std::uint64_t{protocol_data::kInDescriptor} + asked->dataOffset + asked->dataLength;
        if (out == nullptr || outSize < needed) return Fail(ERROR_INSUFFICIENT_BUFFER);
        const DWORD n = std::min<DWORD>(asked->dataLength, static_cast<DWORD>(data->size()));
        ProtocolSpecificData back = *asked;
        back.dataLength = n;
        std::memset(out, 0, static_cast<std::size_t>(needed));
        // STORAGE_PROTOCOL_DATA_DESCRIPTOR: Version and Size are its own size.
        const std::span<BYTE> reply(out, outSize);
        PutLittleEndian(reply, 0, protocol_data::kDescriptorSize, 4);
        PutLittleEndian(reply, 4, protocol_data::kDescriptorSize, 4);
        EncodeProtocolData(back, std::span<BYTE>(out, outSize), protocol_data::kInDescriptor);
        std::memcpy(out + protocol_data::kInDescriptor + asked->dataOffset, data->data(), n);
        if (bytesReturned) *bytesReturned = static_cast<DWORD>(protocol_data::kInDescriptor + asked->dataOffset + n);
        return Succeed();
    }

    if (code == IOCTL_ATA_PASS_THROUGH) {
        if (!disk.ataPassThrough) return Fail(ERROR_INVALID_FUNCTION);
        if (DWORD e = refusedWith(HealthCall::kAtaPassThrough)) return Fail(e);
        const auto r = DecodeAtaPassThrough(input);
        const std::size_t head = kAtaPassThrough.size;
        const bool dataIn = r && (r->ataFlags & ATA_FLAGS_DATA_IN);
        if (!r || r->length != head ||
            (dataIn && (r->dataBufferOffset < head || r->dataTransferLength < kSector ||
                        r->dataBufferOffset + r->dataTransferLength > outSize))) {
            return Fail(ERROR_INVALID_PARAMETER);
        }
        if (out == nullptr || outSize < head) return Fail(ERROR_INSUFFICIENT_BUFFER);
        const TaskFile& t = r->currentTaskFile;
        namespace apt = ata_pass_through;
        const AtaOut a = Execute(disk, {t[apt::kFeatures], t[apt::kSectorCount], t[apt::kLbaLow], t[apt::kLbaMid],
                                        t[apt::kLbaHigh], t[apt::kDevice], t[apt::kCommand]});
        // A data-in command without the data-in flag, or the other way round.
        if (a.status != kStatusAborted && a.dataIn != dataIn) return Fail(ERROR_INVALID_PARAMETER);
        AtaPassThroughRecord back = *r;
        back.currentTaskFile = {a.error, a.count, a.lbaLow, a.lbaMid, a.lbaHigh, a.device, a.status, 0};
        std::size_t returned = head;
        if (a.dataIn && a.sector) {
            const std::size_t n = CopySector(a, out + r->dataBufferOffset);
            back.dataTransferLength = static_cast<DWORD>(n);
            returned = static_cast<std::size_t>(r->dataBufferOffset) + n;
        } else {
            back.dataTransferLength = 0;
        }
        EncodeAtaPassThrough(back, std::span<BYTE>(out, outSize));
        if (bytesReturned) *bytesReturned = static_cast<DWORD>(returned);
        return Succeed();
    }

    if (code == IOCTL_SCSI_PASS_THROUGH_DIRECT) {
        if (DWORD e = refusedWith(HealthCall::kScsiPassThrough)) return Fail(e);
        const auto r = DecodePassThrough(input);
        if (!r || out == nullptr || outSize < kPassThrough.directSize || r->length != kPassThrough.directSize ||
            r->cdbLength == 0 || r->cdbLength > 16 || (r->dataTransferLength > 0 && r->dataBuffer == 0) ||
            (r->senseInfoLength > 0 && std::size_t{r->senseInfoOffset} + r->senseInfoLength > outSize)) {
            return Fail(ERROR_INVALID_PARAMETER);
        }
        const auto& cdb = r->cdb;
        std::vector<BYTE> sense;
        auto fixedSense = [&](BYTE key, BYTE asc) {
            sense.assign(18, 0);
            sense[0] = 0x70, sense[2] = key, sense[7] = 10, sense[12] = asc;
        };
        auto descriptorSense = [&](BYTE key, BYTE asc, BYTE ascq, const AtaOut& a) {
            sense = {0x72,    key, asc,     ascq, 0,        0, 0,        14, 0x09,      0x0C,     0,
                     a.error, 0,   a.count, 0,    a.lbaLow, 0, a.lbaMid, 0,  a.lbaHigh, a.device, a.status};
        };
        DWORD moved = 0;
        const bool sixteen = cdb[0] == 0x85 && r->cdbLength == 16 && disk.sat16;
        const bool twelve = cdb[0] == 0xA1 && r->cdbLength >= 12 && disk.sat12;
        if (!sixteen && !twelve) {
            fixedSense(kIllegalRequest, kInvalidOpcode);
        } else {
            const BYTE protocol = (cdb[1] >> 1) & 0x0F;
            const bool checkCondition = (cdb[2] & 0x20) != 0;
            const AtaIn in = sixteen ? AtaIn{cdb[4], cdb[6], cdb[8], cdb[10], cdb[12], cdb[13], cdb[14]}
                                     : AtaIn{cdb[3], cdb[4], cdb[5], cdb[6], cdb[7], cdb[8], cdb[9]};
            const bool pioIn = protocol == 4 && (cdb[2] & 0x0F) == 0x0E;
            const AtaOut a = Execute(disk, in);
            if ((protocol != 3 && !pioIn) ||
                (pioIn && (r->dataIn != SCSI_IOCTL_DATA_IN || r->dataTransferLength < kSector))) {
                fixedSense(kIllegalRequest, kInvalidField);
            } else if (a.status == kStatusAborted) {
                descriptorSense(kAbortedCommand, 0x00, kAtaInformation, a);
            } else if (a.dataIn != pioIn) {
                fixedSense(kIllegalRequest, kInvalidField);
            } else {
                if (a.dataIn) {
                    moved = static_cast<DWORD>(CopySector(a, reinterpret_cast<BYTE*>(r->dataBuffer)));
                }
                if (checkCondition && disk.bridgeRegisters) descriptorSense(kRecoveredError, 0x00, kAtaInformation, a);
            }
        }
        PassThroughRequest back = *r;
        back.scsiStatus = sense.empty() ? kGood : kCheckCondition;
        back.dataTransferLength = moved;
        DWORD returned = static_cast<DWORD>(kPassThrough.directSize);
        if (!sense.empty() && r->senseInfoLength > 0) {
            const std::size_t n = std::min<std::size_t>(r->senseInfoLength, sense.size());
            std::memcpy(out + r->senseInfoOffset, sense.data(), n);
            back.senseInfoLength = static_cast<BYTE>(n);
            returned = static_cast<DWORD>(r->senseInfoOffset + n);
        } else {
            back.senseInfoLength = 0;
        }
        const PassThroughRecord record = Encode(back);
        std::memcpy(out, record.data(), kPassThrough.directSize);
        if (bytesReturned) *bytesReturned = returned;
        return Succeed();
    }
    return std::nullopt;
}

}  // namespace tw::sim
