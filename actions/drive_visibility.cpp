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

int GetDriveVisibility(Registry& registry, char letter) {
    const DWORD bit = DriveBit(letter);
    try {
        RegistryAccessor reg(registry, HKEY_CURRENT_USER);
        if (!reg.OpenKey(kPolicyKey)) return kNoPolicy;
        if (!reg.ValueExists(kNoDrives)) return kNoPolicy;
        return (reg.ReadInteger(kNoDrives) & bit) ? kHidden : kVisible;
    } catch (const std::exception&) {
        return kNoPolicy;
    }
}

}  // namespace tw::actions
