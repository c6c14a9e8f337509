// Health through a SCSI/ATA translation layer: each ATA command wrapped in
// ATA PASS-THROUGH (16), or (12) for a bridge that refuses the 16-byte form,
// sent by SCSI pass-through direct. A refused wrapper comes back as CHECK
// CONDITION with sense data, which decides whether the other form is tried.
#include <cstring>
#include <vector>

#include "diagnostics/health_device.h"
#include "diagnostics/sat_commands.h"
#include "platform/device_records.h"

namespace tw::diagnostics {

using namespace tw::platform;

namespace {

constexpr std::size_t kSector = 512;
constexpr DWORD kTimeoutSeconds = 10;
constexpr BYTE kGood = 0x00;
constexpr BYTE kCheckCondition = 0x02;

enum class SatStatus { kOk, kBridgeRefused, kFailed };

struct SatOutcome {
    SatStatus status = SatStatus::kFailed;
    std::string failure;
    std::optional<AtaReturn> registers;
    std::vector<BYTE> sector;
};

SatOutcome Send(HealthDevice& device, bool sixteen, const AtaCommand& c, const char* what) {
    std::vector<BYTE> data(c.dataIn ? kSector : 0);
    PassThroughRequest request;
    request.cdbLength = sixteen ? 16 : 12;
    request.senseInfoLength = static_cast<BYTE>(pass_through::kSenseBytes);
    request.dataIn = c.dataIn ? SCSI_IOCTL_DATA_IN : SCSI_IOCTL_DATA_UNSPECIFIED;
    request.dataTransferLength = static_cast<DWORD>(data.size());
    request.timeOutValue = kTimeoutSeconds;
    request.dataBuffer = data.empty() ? 0 : reinterpret_cast<std::uintptr_t>(data.data());
    if (sixteen) {
        const auto cdb = SatCdb16(c);
        std::copy(cdb.begin(), cdb.end(), request.cdb.begin());
    } else {
        const auto cdb = SatCdb12(c);
        std::copy(cdb.begin(), cdb.end(), request.cdb.begin());
    }
    PassThroughRecord record = Encode(request);
    DWORD returned = 0;
    SatOutcome out;
    if (!device.Control(IOCTL_SCSI_PASS_THROUGH_DIRECT, record, record, returned)) {
        out.failure = std::string(what) + " refused: " + device.LastErrorText();
        return out;
    }
    const auto back =
        DecodePassThrough(std::span<const BYTE>(record).first(std::min<std::size_t>(returned, record.size())));
    if (!back) {
        out.failure = std::string(what) + ": short reply";
        return out;
    }
    std::optional<SenseReading> sense;
    if (back->senseInfoLength > 0) {
        const std::size_t length = std::min<std::size_t>(back->senseInfoLength, pass_through::kSenseBytes);
        sense = DecodeSense(std::span<const BYTE>(record).subspan(kPassThrough.sense, length));
    }
    if (sense) out.registers = sense->registers;
    if (back->scsiStatus == kCheckCondition && sense && BridgeRefused(*sense)) {
        out.status = SatStatus::kBridgeRefused;
        out.failure = std::string(what) + ": the bridge does not know the command";
        return out;
    }
    if (out.registers && (out.registers->status & kAtaStatusError)) {
        out.failure = std::string(what) + ": the disk aborted the command";
        return out;
    }
    // A non-data command asked for its registers, which come back as CHECK
    // CONDITION with sense data that carries them.
    const bool registersOnly = !c.dataIn && out.registers;
    if (back->scsiStatus != kGood && !registersOnly) {
        out.failure = std::string(what) + ": the disk or bridge failed the command";
        return out;
    }
    if (c.dataIn) {
        if (back->dataTransferLength < kSector) {
            out.failure = std::string(what) + ": short reply";
            return out;
        }
        out.sector = std::move(data);
    }
    out.status = SatStatus::kOk;
    return out;
}

// One wrapper's whole read; kBridgeRefused only when IDENTIFY was refused.
SatStatus ReadWith(HealthDevice& device, bool sixteen, DiskHealth& health, RouteAttempt& attempt) {
    const SatOutcome identify = Send(device, sixteen, IdentifyDeviceCommand(), "IDENTIFY DEVICE");
    if (identify.status != SatStatus::kOk) return attempt.outcome = identify.failure, identify.status;
    const SatOutcome data = Send(device, sixteen, SmartReadDataCommand(), "SMART READ DATA");
    if (data.status != SatStatus::kOk) return attempt.outcome = data.failure, SatStatus::kFailed;
    const SatOutcome thresholds = Send(device, sixteen, SmartReadThresholdsCommand(), "SMART READ THRESHOLDS");
    if (thresholds.status != SatStatus::kOk) return attempt.outcome = thresholds.failure, SatStatus::kFailed;
    const SatOutcome status = Send(device, sixteen, SmartReturnStatusCommand(), "SMART RETURN STATUS");
    health.ata = AtaResultOf(identify.sector, data.sector, thresholds.sector);
    health.verdict = status.status == SatStatus::kOk ? VerdictOf(status.registers) : DiskVerdict::kNotGiven;
    attempt.answered = true;
    attempt.outcome = "answered";
    return SatStatus::kOk;
}

}  // namespace

void ReadBySat(HealthDevice& device, DiskHealth& health) {
    RouteAttempt sixteen{HealthRoute::kSat16, false, {}};
    const SatStatus first = ReadWith(device, true, health, sixteen);
    health.attempts.push_back(sixteen);
    if (first != SatStatus::kBridgeRefused) return;
    RouteAttempt twelve{HealthRoute::kSat12, false, {}};
    const SatStatus second = ReadWith(device, false, health, twelve);
    health.attempts.push_back(twelve);
    health.bridgeRefusedBoth = second == SatStatus::kBridgeRefused;
}

}  // namespace tw::diagnostics
