// The group SIDs of a TOKEN_GROUPS record as GetTokenInformation fills it in
// this build: a DWORD count, then {PSID, DWORD attributes} entries at
// pointer alignment. Only SID fields wholly inside the bytes given are read,
// whatever the count says.
#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "platform/security.h"

namespace tw::optical {

// Where the entries start and how far apart they lie, for this pointer width.
constexpr std::size_t kTokenGroupsEntryOffset = alignof(platform::PSID) > 4 ? alignof(platform::PSID) : 4;
constexpr std::size_t kTokenGroupsEntrySize =
    (sizeof(platform::PSID) + 4 + alignof(platform::PSID) - 1) / alignof(platform::PSID) * alignof(platform::PSID);
static_assert(sizeof(platform::PSID) != 4 || (kTokenGroupsEntryOffset == 4 && kTokenGroupsEntrySize == 8));
static_assert(sizeof(platform::PSID) != 8 || (kTokenGroupsEntryOffset == 8 && kTokenGroupsEntrySize == 16));

std::vector<platform::PSID> TokenGroupSids(std::span<const std::uint8_t> tokenGroups);

}  // namespace tw::optical
