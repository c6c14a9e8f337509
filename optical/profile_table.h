// The drive's current profile (what kind of disc it has in, as MMC numbers
// it) and the names the program shows for it.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tw::optical {

constexpr int kProfileCount = 20;
constexpr int kNoProfile = -1;
// Indexes of the DVD profiles, DVD-ROM to DVD+R.
constexpr int kFirstDvdProfile = 9;
constexpr int kLastDvdProfile = 15;

// The profile index of an MMC profile number; kNoProfile for one the table
// does not list.
int ProfileIndexOf(std::uint16_t profileNumber);

// The name shown for a profile index; empty for kNoProfile or any index
// outside the table.
std::string_view ProfileName(int profileIndex);

bool IsDvdProfile(int profileIndex);

// The current profile number of a GET CONFIGURATION reply (bytes 6-7,
// big-endian); none when the reply is too short to hold it.
std::optional<std::uint16_t> CurrentProfileNumber(std::span<const std::uint8_t> reply);

// The profile index of a GET CONFIGURATION reply; kNoProfile when the reply
// is too short or its profile is not in the table.
int CurrentProfileIndex(std::span<const std::uint8_t> reply);

}  // namespace tw::optical
