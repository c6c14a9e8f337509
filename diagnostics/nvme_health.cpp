#include "diagnostics/nvme_health.h"

#include <iterator>

#include "platform/byte_fields.h"

namespace tw::diagnostics {

using platform::BYTE;
using platform::GetLittleEndian;

namespace {

std::string AsciiField(std::span<const BYTE> data, std::size_t at, std::size_t length) {
    std::string text(reinterpret_cast<const char*>(data.data() + at), length);
    std::size_t begin = 0;
    while (begin < text.size() && static_cast<unsigned char>(text[begin]) <= 32) ++begin;
    std::size_t end = text.size();
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32) --end;
    return text.substr(begin, end - begin);
}

}  // namespace

std::optional<NvmeIdentity> DecodeNvmeIdentify(std::span<const BYTE> data) {
    namespace ni = nvme_identify;
    if (data.size() < ni::kTotalCapacity + 16) return std::nullopt;
    NvmeIdentity id;
    id.vendorId = static_cast<std::uint16_t>(GetLittleEndian(data, ni::kVendorId, 2));
    id.serialNumber = AsciiField(data, ni::kSerial, ni::kSerialLength);
    id.modelNumber = AsciiField(data, ni::kModel, ni::kModelLength);
    id.firmwareRev = AsciiField(data, ni::kFirmware, ni::kFirmwareLength);
    id.capacityBytes = ReadCounter128(data, ni::kTotalCapacity);
    return id;
}

std::optional<NvmeHealthLog> DecodeNvmeHealthLog(std::span<const BYTE> log) {
    namespace nl = nvme_log;
    if (log.size() < nl::kSize) return std::nullopt;
    NvmeHealthLog h;
    h.criticalWarning = log[nl::kCriticalWarning];
    h.compositeKelvin = static_cast<std::uint16_t>(GetLittleEndian(log, nl::kCompositeTemperature, 2));
    h.availableSpare = log[nl::kAvailableSpare];
    h.spareThreshold = log[nl::kSpareThreshold];
    h.percentageUsed = log[nl::kPercentageUsed];
    Counter128* const counters[] = {
        &h.dataUnitsRead, &h.dataUnitsWritten, &h.hostReadCommands, &h.hostWriteCommands, &h.controllerBusyMinutes,
        &h.powerCycles,   &h.powerOnHours,     &h.unsafeShutdowns,  &h.mediaErrors,       &h.errorLogEntries};
    for (std::size_t i = 0; i < std::size(counters); ++i)
        *counters[i] = ReadCounter128(log, nl::kDataUnitsRead + 16 * i);
    h.warningTempMinutes = static_cast<std::uint32_t>(GetLittleEndian(log, nl::kWarningTempTime, 4));
    h.criticalTempMinutes = static_cast<std::uint32_t>(GetLittleEndian(log, nl::kCriticalTempTime, 4));
    for (std::size_t i = 0; i < nl::kSensorCount; ++i) {
        h.sensorKelvin[i] = static_cast<std::uint16_t>(GetLittleEndian(log, nl::kSensors + 2 * i, 2));
    }
    return h;
}

std::optional<int> KelvinToCelsius(std::uint16_t kelvin) {
    if (kelvin == 0) return std::nullopt;
    return static_cast<int>(kelvin) - 273;
}

std::vector<std::string> CriticalWarnings(std::uint8_t bits) {
    constexpr const char* kWords[] = {"available spare below threshold",
                                      "temperature beyond a threshold",
                                      "reliability degraded by media or internal errors",
                                      "media placed in read-only mode",
                                      "volatile memory backup failed",
                                      "persistent memory region read-only"};
    std::vector<std::string> words;
    for (unsigned bit = 0; bit < 8; ++bit) {
        if (!(bits & (1u << bit))) continue;
        words.push_back(bit < std::size(kWords) ? kWords[bit] : "bit " + std::string(1, static_cast<char>('0' + bit)));
    }
    return words;
}

bool SpareBelowThreshold(const NvmeHealthLog& log) { return log.availableSpare < log.spareThreshold; }

}  // namespace tw::diagnostics
