#include "optical/profile_table.h"

#include <array>

namespace tw::optical {
namespace {

struct ProfileRow {
    std::uint16_t number;
    std::string_view name;
};

// Row i is profile index i. The DVD-R name has always read this way, comma
// and all, and users' notes quote it.
constexpr std::array<ProfileRow, kProfileCount> kProfiles{{
    {0x0000, "No Current Profile"},
    {0x0001, "Non Removable Disk"},
    {0x0002, "Removable Disk"},
    {0x0003, "Magneto Optical Erasable"},
    {0x0004, "Optical Write Once"},
    {0x0005, "AS-MO"},
    {0x0008, "CD-ROM"},
    {0x0009, "CD-R"},
    {0x000A, "CD-RW"},
    {0x0010, "DVD-ROM"},
    {0x0011, "DVD-R SequentialRecording,"},
    {0x0012, "DVD-RAM"},
    {0x0013, "DVD-RW Restricted Overwrite"},
    {0x0014, "DVD-RW Sequential Recording"},
    {0x001A, "DVD+RW"},
    {0x001B, "DVD+R"},
    {0x0020, "DDCD-ROM"},
    {0x0021, "DDCD-R"},
    {0x0022, "DDCD-RW"},
    {0xFFFF, "UNKNOWN"},
}};
static_assert(kProfiles.size() == 20);
static_assert(kProfiles[kFirstDvdProfile].number == 0x0010 && kProfiles[kLastDvdProfile].number == 0x001B);

constexpr std::size_t kProfileFieldOffset = 6;

}  // namespace

int ProfileIndexOf(std::uint16_t profileNumber) {
    for (std::size_t i = 0; i < kProfiles.size(); ++i) {
        if (kProfiles[i].number == profileNumber) return static_cast<int>(i);
    }
    return kNoProfile;
}

std::string_view ProfileName(int profileIndex) {
    if (profileIndex < 0 || profileIndex >= kProfileCount) return {};
    return kProfiles[static_cast<std::size_t>(profileIndex)].name;
}

bool IsDvdProfile(int profileIndex) { return profileIndex >= kFirstDvdProfile && profileIndex <= kLastDvdProfile; }

std::optional<std::uint16_t> CurrentProfileNumber(std::span<const std::uint8_t> reply) {
    if (reply.size() < kProfileFieldOffset + 2) return std::nullopt;
    return static_cast<std::uint16_t>((reply[kProfileFieldOffset] << 8) | reply[kProfileFieldOffset + 1]);
}

int CurrentProfileIndex(std::span<const std::uint8_t> reply) {
    const auto number = CurrentProfileNumber(reply);
    return number ? ProfileIndexOf(*number) : kNoProfile;
}

}  // namespace tw::optical
