#include "actions/drive_visibility.h"

#include <exception>

#include "actions/registry_accessor.h"

namespace tw::actions {

using namespace tw::platform;

DWORD DriveBit(char letter) {
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'Z') return 0;
    return DWORD{1} << (letter - 'A');
}

std::optional<DWORD> ReadHiddenDrives(Registry& registry) {
    try {
        RegistryAccessor reg(registry, HKEY_CURRENT_USER);
        if (!reg.OpenKey(kPolicyKey)) return std::nullopt;
        if (!reg.ValueExists(kNoDrives)) return std::nullopt;
        return reg.ReadInteger(kNoDrives);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

int VisibilityUnder(const std::optional<DWORD>& policy, char letter) {
    if (!policy) return kNoPolicy;
    return (*policy & DriveBit(letter)) ? kHidden : kVisible;
}

int GetDriveVisibility(Registry& registry, char letter) { return VisibilityUnder(ReadHiddenDrives(registry), letter); }

}  // namespace tw::actions
