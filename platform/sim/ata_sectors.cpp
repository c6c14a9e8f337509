// Identify, attribute and threshold sectors built from a few properties, laid
// out as an ATA disk returns them, checksum byte included.
#include <algorithm>

#include "platform/sim/physical_disk.h"

namespace tw::sim {

namespace {

constexpr std::size_t kSector = 512;
constexpr std::size_t kEntries = 2;
constexpr std::size_t kEntrySize = 12;
constexpr std::size_t kMaxEntries = 30;
constexpr WORD kTableRevision = 0x0010;
constexpr ULONGLONG kMax28BitSectors = 0x0FFFFFFF;

void PutWord(std::vector<BYTE>& s, std::size_t word, WORD value) {
    s[2 * word] = static_cast<BYTE>(value);
    s[2 * word + 1] = static_cast<BYTE>(value >> 8);
}

// Text words hold the first character in the high byte, padded with spaces.
void PutText(std::vector<BYTE>& s, std::size_t offset, std::size_t length, const std::string& text) {
    for (std::size_t i = 0; i < length; ++i) {
        const char c = i < text.size() ? text[i] : ' ';
        s[offset + (i ^ 1)] = static_cast<BYTE>(c);
    }
}

// The last byte makes the sector's bytes sum to zero.
void Checksum(std::vector<BYTE>& s) {
    BYTE sum = 0;
    for (std::size_t i = 0; i + 1 < kSector; ++i) sum = static_cast<BYTE>(sum + s[i]);
    s[kSector - 1] = static_cast<BYTE>(0x100 - sum);
}

}  // namespace

std::vector<BYTE> IdentifySector(const IdentifyFields& f) {
    std::vector<BYTE> s(kSector, 0);
    PutWord(s, 0, 0x0040);  // fixed disk
    PutText(s, 20, 20, f.serial);
    PutText(s, 46, 8, f.firmware);
    PutText(s, 54, 40, f.model);
    PutWord(s, 47, f.word47);
    PutWord(s, 49, 0x0F00);  // LBA and DMA
    const ULONGLONG sectors28 = std::min(f.sectors, kMax28BitSectors);
    PutWord(s, 60, static_cast<WORD>(sectors28));
    PutWord(s, 61, static_cast<WORD>(sectors28 >> 16));
    PutWord(s, 82, 0x0001);  // SMART feature set
    PutWord(s, 83, static_cast<WORD>(0x4000 | (f.lba48 ? 0x0400 : 0)));
    PutWord(s, 85, 0x0001);  // SMART enabled
    PutWord(s, 86, static_cast<WORD>(f.lba48 ? 0x0400 : 0));
    if (f.lba48) {
        for (std::size_t w = 0; w < 4; ++w) PutWord(s, 100 + w, static_cast<WORD>(f.sectors >> (16 * w)));
    }
    PutWord(s, 255, 0x00A5);  // integrity word: signature, then the checksum
    Checksum(s);
    return s;
}

std::vector<BYTE> AttributeSector(const std::vector<AttributeFields>& attributes) {
    std::vector<BYTE> s(kSector, 0);
    PutWord(s, 0, kTableRevision);
    for (std::size_t k = 0; k < attributes.size() && k < kMaxEntries; ++k) {
        const AttributeFields& a = attributes[k];
        BYTE* e = &s[kEntries + k * kEntrySize];
        e[0] = a.id;
        e[1] = static_cast<BYTE>(a.flags);
        e[2] = static_cast<BYTE>(a.flags >> 8);
        e[3] = a.current;
        e[4] = a.worst;
        for (std::size_t i = 0; i < 6; ++i) e[5 + i] = static_cast<BYTE>(a.raw >> (8 * i));
    }
    Checksum(s);
    return s;
}

std::vector<BYTE> ThresholdSector(const std::vector<AttributeFields>& attributes) {
    std::vector<BYTE> s(kSector, 0);
    PutWord(s, 0, kTableRevision);
    for (std::size_t k = 0; k < attributes.size() && k < kMaxEntries; ++k) {
        s[kEntries + k * kEntrySize] = attributes[k].id;
        s[kEntries + k * kEntrySize + 1] = attributes[k].threshold;
    }
    Checksum(s);
    return s;
}

}  // namespace tw::sim
