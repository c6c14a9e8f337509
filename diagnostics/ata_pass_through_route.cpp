// Health by ATA pass-through: the record and its one sector travel in one
// buffer (the buffered request), the disk's registers come back in the
// record's current task file.
#include <vector>

#include "diagnostics/health_device.h"
#include "platform/health_records.h"

namespace tw::diagnostics {

using namespace tw::platform;
namespace apt = ata_pass_through;

namespace {

constexpr std::size_t kSector = 512;
constexpr DWORD kTimeoutSeconds = 10;

struct AtaOutcome {
    bool ok = false;
    std::string failure;
    std::optional<AtaReturn> registers;
    std::vector<BYTE> sector;
};

AtaOutcome Send(HealthDevice& device, const AtaCommand& c, const char* what) {
    AtaPassThroughRecord r;
    r.ataFlags = static_cast<WORD>(ATA_FLAGS_DRDY_REQUIRED | (c.dataIn ? ATA_FLAGS_DATA_IN : 0));
    r.dataTransferLength = c.dataIn ? static_cast<DWORD>(kSector) : 0;
    r.timeOutValue = kTimeoutSeconds;
    r.currentTaskFile = {c.features, c.sectorCount, c.lbaLow, c.lbaMid, c.lbaHigh, c.device, c.command, 0};
    const std::size_t head = kAtaPassThrough.size;
    std::vector<BYTE> buffer(head + (c.dataIn ? kSector : 0));
    EncodeAtaPassThrough(r, buffer);
    DWORD returned = 0;
    AtaOutcome out;
    if (!device.Control(IOCTL_ATA_PASS_THROUGH, buffer, buffer, returned)) {
        out.failure = std::string(what) + " refused: " + device.LastErrorText();
        return out;
    }
    const auto back =
        DecodeAtaPassThrough(std::span<const BYTE>(buffer).first(std::min<std::size_t>(returned, buffer.size())));
    if (!back) {
        out.failure = std::string(what) + ": short reply";
        return out;
    }
    const TaskFile& t = back->currentTaskFile;
    out.registers = AtaReturn{t[apt::kFeatures], t[apt::kSectorCount], t[apt::kLbaLow], t[apt::kLbaMid],
                              t[apt::kLbaHigh],  t[apt::kDevice],      t[apt::kCommand]};
    if (out.registers->status & kAtaStatusError) {
        out.failure = std::string(what) + ": the disk aborted the command";
        return out;
    }
    if (c.dataIn) {
        if (returned < head + kSector) {
            out.failure = std::string(what) + ": short reply";
            return out;
        }
        out.sector.assign(buffer.begin() + static_cast<std::ptrdiff_t>(head), buffer.end());
    }
    out.ok = true;
    return out;
}

}  // namespace

RouteAttempt ReadByAtaPassThrough(HealthDevice& device, DiskHealth& health) {
    RouteAttempt attempt{HealthRoute::kAtaPassThrough, false, {}};
    const AtaOutcome identify = Send(device, IdentifyDeviceCommand(), "IDENTIFY DEVICE");
    if (!identify.ok) return attempt.outcome = identify.failure, attempt;
    const AtaOutcome data = Send(device, SmartReadDataCommand(), "SMART READ DATA");
    if (!data.ok) return attempt.outcome = data.failure, attempt;
    const AtaOutcome thresholds = Send(device, SmartReadThresholdsCommand(), "SMART READ THRESHOLDS");
    if (!thresholds.ok) return attempt.outcome = thresholds.failure, attempt;
    const AtaOutcome status = Send(device, SmartReturnStatusCommand(), "SMART RETURN STATUS");
    health.ata = AtaResultOf(identify.sector, data.sector, thresholds.sector);
    health.verdict = status.ok ? VerdictOf(status.registers) : DiskVerdict::kNotGiven;
    attempt.answered = true;
    attempt.outcome = "answered";
    return attempt;
}

}  // namespace tw::diagnostics
