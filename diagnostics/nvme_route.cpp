// Health of an NVMe disk through stornvme: the storage property query's
// protocol-specific form, once for the controller's identify data and once
// for the SMART / Health Information log.
#include "diagnostics/health_device.h"
#include "platform/health_records.h"

namespace tw::diagnostics {

using namespace tw::platform;

namespace {

constexpr DWORD kIdentifyController = 1;  // CNS 01h
constexpr DWORD kHealthLog = 0x02;

// The data of one query, exactly `length` bytes, or a failure text.
std::optional<std::vector<BYTE>> Query(HealthDevice& device, DWORD property, const ProtocolSpecificData& asked,
                                       const char* what, std::string& failure) {
    const std::vector<BYTE> query = EncodeProtocolQuery(property, asked);
    std::vector<BYTE> reply(protocol_data::kInDescriptor + asked.dataOffset + asked.dataLength);
    DWORD returned = 0;
    if (!device.Control(IOCTL_STORAGE_QUERY_PROPERTY, query, reply, returned)) {
        failure = std::string(what) + " refused: " + device.LastErrorText();
        return std::nullopt;
    }
    const auto data =
        ProtocolReplyData(std::span<const BYTE>(reply).first(std::min<std::size_t>(returned, reply.size())));
    if (!data || data->size() < asked.dataLength) {
        failure = std::string(what) + ": short reply";
        return std::nullopt;
    }
    return std::vector<BYTE>(data->begin(), data->begin() + asked.dataLength);
}

}  // namespace

RouteAttempt ReadByNvme(HealthDevice& device, DiskHealth& health) {
    RouteAttempt attempt{HealthRoute::kNvme, false, {}};
    ProtocolSpecificData identify;
    identify.dataType = NVMeDataTypeIdentify;
    identify.requestValue = kIdentifyController;
    identify.dataLength = static_cast<DWORD>(nvme_identify::kSize);
    const auto identity =
        Query(device, StorageAdapterProtocolSpecificProperty, identify, "Identify Controller", attempt.outcome);
    if (!identity) return attempt;
    ProtocolSpecificData log;
    log.dataType = NVMeDataTypeLogPage;
    log.requestValue = kHealthLog;
    log.dataLength = static_cast<DWORD>(nvme_log::kSize);
    const auto page = Query(device, StorageDeviceProtocolSpecificProperty, log, "SMART / Health log", attempt.outcome);
    if (!page) return attempt;
    const NvmeIdentity id = DecodeNvmeIdentify(*identity).value_or(NvmeIdentity{});
    health.model = id.modelNumber;
    health.serial = id.serialNumber;
    health.firmware = id.firmwareRev;
    health.capacityBytes = id.capacityBytes;
    health.nvme = DecodeNvmeHealthLog(*page);
    attempt.answered = true;
    attempt.outcome = "answered";
    return attempt;
}

}  // namespace tw::diagnostics
