// The simulated NVMe controller's identify data and health log, each field at
// the byte offset an NVMe controller puts it (little-endian).
#include <algorithm>

#include "platform/byte_fields.h"
#include "platform/sim/physical_disk.h"

namespace tw::sim {

namespace {

void PutPaddedAscii(std::vector<BYTE>& out, std::size_t at, std::size_t width, const std::string& text) {
    for (std::size_t i = 0; i < width; ++i) out[at + i] = i < text.size() ? static_cast<BYTE>(text[i]) : ' ';
}

void PutCounter(std::vector<BYTE>& out, std::size_t at, const std::array<BYTE, 16>& counter) {
    std::copy(counter.begin(), counter.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

std::vector<BYTE> NvmeIdentifyPage(const NvmeIdentifyFields& f) {
    std::vector<BYTE> out(4096, 0);
    PutLittleEndian(out, 0, f.vendorId, 2);
    PutPaddedAscii(out, 4, 20, f.serial);
    PutPaddedAscii(out, 24, 40, f.model);
    PutPaddedAscii(out, 64, 8, f.firmware);
    PutCounter(out, 280, f.capacity);  // TNVMCAP
    return out;
}

std::vector<BYTE> NvmeLogPage(const NvmeLogFields& f) {
    std::vector<BYTE> out(512, 0);
    out[0] = f.criticalWarning;
    PutLittleEndian(out, 1, f.temperatureKelvin, 2);
    out[3] = f.availableSpare;
    out[4] = f.spareThreshold;
    out[5] = f.percentageUsed;
    for (std::size_t i = 0; i < f.counters.size(); ++i) PutCounter(out, 32 + 16 * i, f.counters[i]);
    PutLittleEndian(out, 192, f.warningTemperatureMinutes, 4);
    PutLittleEndian(out, 196, f.criticalTemperatureMinutes, 4);
    for (std::size_t i = 0; i < f.sensorsKelvin.size(); ++i) PutLittleEndian(out, 200 + 2 * i, f.sensorsKelvin[i], 2);
    return out;
}

std::optional<std::array<BYTE, 16>> CounterBytes(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    std::array<BYTE, 16> bytes{};
    for (const char c : text) {
        // bytes = bytes * 10 + digit, lowest byte first.
        unsigned carry = static_cast<unsigned>(c - '0');
        for (BYTE& b : bytes) {
            const unsigned v = b * 10u + carry;
            b = static_cast<BYTE>(v);
            carry = v >> 8;
        }
        if (carry) return std::nullopt;
    }
    return bytes;
}

}  // namespace tw::sim
