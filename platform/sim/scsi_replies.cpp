// Reply layouts of the commands the simulated drive answers from fields, as
// MMC lays them out (multi-byte fields big-endian).
#include <algorithm>

#include "platform/sim/scsi_target.h"

namespace tw::sim {

namespace {

void PutText(std::vector<BYTE>& out, std::size_t at, std::size_t width, const std::string& text, BYTE pad) {
    for (std::size_t i = 0; i < width; ++i) out[at + i] = i < text.size() ? static_cast<BYTE>(text[i]) : pad;
}

void PutBig16(std::vector<BYTE>& out, std::size_t at, std::size_t value) {
    out[at] = static_cast<BYTE>(value >> 8);
    out[at + 1] = static_cast<BYTE>(value);
}

}  // namespace

std::vector<BYTE> InquiryReply(const InquiryFields& f) {
    // 36 standard bytes, 20 vendor-specific, then reserved bytes up to 96.
    std::vector<BYTE> out(96, 0);
    out[0] = f.deviceType;
    out[1] = 0x80;  // removable medium
    out[2] = 0x05;  // SPC-3
    out[3] = 0x02;  // response data format 2
    out[4] = static_cast<BYTE>(out.size() - 5);
    PutText(out, 8, 8, f.vendor, ' ');
    PutText(out, 16, 16, f.product, ' ');
    PutText(out, 32, 4, f.revision, ' ');
    if (!f.vendorSpecific.empty()) PutText(out, 36, 20, f.vendorSpecific, ' ');
    return out;
}

std::vector<BYTE> ConfigurationReply(WORD currentProfile, const std::vector<WORD>& profiles) {
    std::vector<BYTE> out(8 + 4 + 4 * profiles.size(), 0);
    const std::size_t dataLength = out.size() - 4;
    out[0] = static_cast<BYTE>(dataLength >> 24);
    out[1] = static_cast<BYTE>(dataLength >> 16);
    PutBig16(out, 2, dataLength);
    PutBig16(out, 6, currentProfile);
    // Feature 0000h, the profile list: persistent and current.
    out[10] = 0x03;
    out[11] = static_cast<BYTE>(4 * profiles.size());
    for (std::size_t i = 0; i < profiles.size(); ++i) {
        PutBig16(out, 12 + 4 * i, profiles[i]);
        out[14 + 4 * i] = profiles[i] == currentProfile ? 0x01 : 0x00;
    }
    return out;
}

std::vector<BYTE> CapabilitiesReply(const CapabilityFields& f) {
    constexpr std::size_t kPageLength = 0x1C;
    std::vector<BYTE> out(8 + 2 + kPageLength, 0);
    PutBig16(out, 0, out.size() - 2);  // mode data length
    out[8] = 0x2A;
    out[9] = kPageLength;
    out[10] = f.read;
    out[11] = f.write;
    PutBig16(out, 16, f.maxReadSpeed);
    PutBig16(out, 20, f.bufferKb);
    PutBig16(out, 26, f.maxWriteSpeed);
    return out;
}

std::vector<BYTE> DvdPhysicalFormatReply(BYTE bookType) {
    std::vector<BYTE> out(4 + 2048, 0);
    PutBig16(out, 0, out.size() - 2);
    out[4] = bookType;  // book type and part version
    out[5] = 0x0F;      // 120 mm, maximum rate not specified
    out[6] = 0x01;      // one layer
    return out;
}

}  // namespace tw::sim
