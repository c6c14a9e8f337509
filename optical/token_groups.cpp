#include "optical/token_groups.h"

#include <cstring>

namespace tw::optical {

std::vector<platform::PSID> TokenGroupSids(std::span<const std::uint8_t> tokenGroups) {
    std::vector<platform::PSID> sids;
    if (tokenGroups.size() < 4) return sids;
    const std::uint32_t count = static_cast<std::uint32_t>(tokenGroups[0]) | (std::uint32_t{tokenGroups[1]} << 8) |
                                (std::uint32_t{tokenGroups[2]} << 16) | (std::uint32_t{tokenGroups[3]} << 24);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t offset = kTokenGroupsEntryOffset + std::size_t{i} * kTokenGroupsEntrySize;
        if (offset + sizeof(std::uintptr_t) > tokenGroups.size()) break;
        // The SID field is an address in the caller's own memory, in the
        // machine's byte order.
        std::uintptr_t address = 0;
        std::memcpy(&address, tokenGroups.data() + offset, sizeof address);
        sids.push_back(reinterpret_cast<platform::PSID>(address));
    }
    return sids;
}

}  // namespace tw::optical
