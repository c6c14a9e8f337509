// The simulated drive behind SCSI pass-through. The port driver's checks come
// first (they fail the request itself), then the drive answers the CDB: with
// a reply, or with CHECK CONDITION and sense data in a request that succeeds.
#include <algorithm>
#include <cstring>

#include "platform/sim/scsi_target.h"

namespace tw::sim {

namespace {

constexpr BYTE kGood = 0x00;
constexpr BYTE kCheckCondition = 0x02;
constexpr BYTE kIllegalRequest = 0x05;
constexpr BYTE kInvalidOpcode = 0x20;       // additional sense code
constexpr BYTE kIncompatibleMedium = 0x30;  // with qualifier 02: cannot read this format
constexpr std::size_t kFixedSenseLength = 18;

std::size_t Big16(const std::array<BYTE, 16>& cdb, std::size_t at) { return (std::size_t{cdb[at]} << 8) | cdb[at + 1]; }

// The most the drive itself sends: the CDB's allocation length.
std::size_t AllocationLength(const std::array<BYTE, 16>& cdb) {
    switch (cdb[0]) {
        case kInquiry: return Big16(cdb, 3);
        case kGetConfiguration:
        case kModeSense10: return Big16(cdb, 7);
        case kReadDvdStructure: return Big16(cdb, 8);
        default: return 0;
    }
}

}  // namespace

PassThroughOutcome RunPassThrough(ScsiTarget& target, std::span<const BYTE> input, void* out, DWORD outSize,
                                  std::vector<BYTE>& cdbLog) {
    // The port driver's checks of the record.
    auto request = DecodePassThrough(input);
    if (!request || out == nullptr || outSize < kPassThrough.directSize) return {ERROR_INVALID_PARAMETER, 0};
    cdbLog.assign(request->cdb.begin(), request->cdb.begin() + std::min<std::size_t>(request->cdbLength, 16));
    if (request->length != kPassThrough.directSize || request->cdbLength == 0 || request->cdbLength > 16 ||
        request->dataIn > SCSI_IOCTL_DATA_UNSPECIFIED ||
        (request->dataTransferLength > 0 && request->dataBuffer == 0) ||
        (request->senseInfoLength > 0 &&
         std::size_t{request->senseInfoOffset} + request->senseInfoLength > std::size_t{outSize})) {
        return {ERROR_INVALID_PARAMETER, 0};
    }

    // The drive.
    const BYTE opcode = request->cdb[0];
    if (auto failure = target.failures.find(opcode); failure != target.failures.end()) return {failure->second, 0};
    if (opcode == kTestUnitReady && target.notReady != 0) {
        if (target.notReady > 0) --target.notReady;
        return {ERROR_NOT_READY, 0};
    }
    std::size_t transferred = 0;
    BYTE senseCode = 0;
    auto reply = target.replies.find(opcode);
    if (opcode == kTestUnitReady) {
        // No data; the drive is ready.
    } else if (reply != target.replies.end()) {
        transferred =
            std::min({reply->second.size(), AllocationLength(request->cdb), std::size_t{request->dataTransferLength}});
        if (request->dataIn == SCSI_IOCTL_DATA_IN && transferred > 0) {
            std::memcpy(reinterpret_cast<void*>(request->dataBuffer), reply->second.data(), transferred);
        }
    } else {
        senseCode = opcode == kReadDvdStructure ? kIncompatibleMedium : kInvalidOpcode;
    }

    // The record goes back with the status, the length moved and any sense.
    PassThroughRequest back = *request;
    back.scsiStatus = senseCode ? kCheckCondition : kGood;
    back.dataTransferLength = static_cast<DWORD>(transferred);
    DWORD returned = static_cast<DWORD>(kPassThrough.directSize);
    auto* bytes = static_cast<BYTE*>(out);
    if (senseCode && request->senseInfoLength > 0) {
        std::array<BYTE, kFixedSenseLength> sense{};
        sense[0] = 0x70;  // current error, fixed format
        sense[2] = kIllegalRequest;
        sense[7] = kFixedSenseLength - 8;
        sense[12] = senseCode;
        sense[13] = senseCode == kIncompatibleMedium ? 0x02 : 0x00;
        const std::size_t n = std::min<std::size_t>(request->senseInfoLength, sense.size());
        std::memcpy(bytes + request->senseInfoOffset, sense.data(), n);
        back.senseInfoLength = static_cast<BYTE>(n);
        returned = static_cast<DWORD>(request->senseInfoOffset + n);
    } else {
        back.senseInfoLength = 0;
    }
    const PassThroughRecord record = Encode(back);
    std::memcpy(bytes, record.data(), kPassThrough.directSize);
    return {ERROR_SUCCESS, returned};
}

}  // namespace tw::sim
