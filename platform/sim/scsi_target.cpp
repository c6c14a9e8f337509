// The simulated drive behind SCSI pass-through. The port driver's checks come
// first (they fail the request itself), then the drive answers the CDB: with
// a reply, or with CHECK CONDITION and sense data in a request that succeeds.
#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/sim/scsi_target.h"

namespace tw::sim {

namespace {

constexpr BYTE kGood = 0x00;
constexpr BYTE kCheckCondition = 0x02;
constexpr std::size_t kFixedSenseLength = 18;

// What a drive reports with CHECK CONDITION: sense key, additional sense code
// and its qualifier.
struct Sense {
    BYTE key = 0;
    BYTE code = 0;
    BYTE qualifier = 0;
};
constexpr Sense kNoDisc{0x02, 0x3A, 0x00};            // NOT READY, medium not present
constexpr Sense kBecomingReady{0x02, 0x04, 0x01};     // NOT READY, in process of becoming ready
constexpr Sense kInvalidOpcode{0x05, 0x20, 0x00};     // ILLEGAL REQUEST
constexpr Sense kCannotReadFormat{0x05, 0x30, 0x02};  // ILLEGAL REQUEST, incompatible medium

// The GET CONFIGURATION reply of a drive without a disc: current profile 0
// and no profile of the list flagged current.
std::vector<BYTE> WithoutCurrentProfile(std::vector<BYTE> reply) {
    if (reply.size() >= 8) reply[6] = reply[7] = 0;
    const bool profileList = reply.size() >= 12 && reply[8] == 0 && reply[9] == 0;
    if (profileList) {
        const std::size_t end = std::min<std::size_t>(reply.size(), 12 + std::size_t{reply[11]});
        for (std::size_t at = 14; at < end; at += 4) reply[at] &= 0xFE;
    }
    return reply;
}

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
    std::optional<Sense> sense;
    std::vector<BYTE> reply;
    if (auto known = target.replies.find(opcode); known != target.replies.end()) reply = known->second;
    if (opcode == kTestUnitReady || opcode == kReadDvdStructure) {
        // The commands that need a disc, and a spun-up one.
        if (!target.medium) {
            sense = kNoDisc;
        } else if (target.notReady != 0) {
            if (opcode == kTestUnitReady && target.notReady > 0) --target.notReady;
            sense = kBecomingReady;
        } else if (opcode == kReadDvdStructure && reply.empty()) {
            sense = kCannotReadFormat;
        }
    } else if (reply.empty()) {
        sense = kInvalidOpcode;
    } else if (opcode == kGetConfiguration && !target.medium) {
        reply = WithoutCurrentProfile(std::move(reply));
    }
    std::size_t transferred = 0;
    if (!sense && !reply.empty()) {
        transferred =
            std::min({reply.size(), AllocationLength(request->cdb), std::size_t{request->dataTransferLength}});
        if (request->dataIn == SCSI_IOCTL_DATA_IN && transferred > 0) {
            std::memcpy(reinterpret_cast<void*>(request->dataBuffer), reply.data(), transferred);
        }
    }

    // The record goes back with the status, the length moved and any sense.
    PassThroughRequest back = *request;
    back.scsiStatus = sense ? kCheckCondition : kGood;
    back.dataTransferLength = static_cast<DWORD>(transferred);
    DWORD returned = static_cast<DWORD>(kPassThrough.directSize);
    auto* bytes = static_cast<BYTE*>(out);
    if (sense && request->senseInfoLength > 0) {
        std::array<BYTE, kFixedSenseLength> data{};
        data[0] = 0x70;  // current error, fixed format
        data[2] = sense->key;
        data[7] = kFixedSenseLength - 8;
        data[12] = sense->code;
        data[13] = sense->qualifier;
        const std::size_t n = std::min<std::size_t>(request->senseInfoLength, data.size());
        std::memcpy(bytes + request->senseInfoOffset, data.data(), n);
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
