#include "actions/drive_visibility.h"

#include <exception>

#include "actions/registry_accessor.h"
#include "platform/drive_names.h"

namespace tw::actions {

using namespace tw::platform;

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
