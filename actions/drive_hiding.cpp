#include "actions/drive_hiding.h"

#include "actions/drive_visibility.h"
#include "actions/registry_accessor.h"
#include "platform/drive_names.h"

namespace tw::actions {

using namespace tw::platform;

PolicyChange HideDrive(Registry& registry, char letter) {
    const DWORD bit = DriveBit(letter);
    RegistryAccessor reg(registry, HKEY_CURRENT_USER);
    if (bit == 0) return PolicyChange::NotALetter;
    if (!reg.OpenKey(kPolicyKey)) return PolicyChange::KeyUnavailable;
    const DWORD old = reg.ValueExists(kNoDrives) ? reg.ReadInteger(kNoDrives) : 0;
    reg.WriteInteger(kNoDrives, old | bit);
    return PolicyChange::Written;
}

PolicyChange UnhideDrive(Registry& registry, char letter) {
    const DWORD bit = DriveBit(letter);
    RegistryAccessor reg(registry, HKEY_CURRENT_USER);
    if (bit == 0) return PolicyChange::NotALetter;
    if (!reg.OpenKey(kPolicyKey)) return PolicyChange::KeyUnavailable;
    if (!reg.ValueExists(kNoDrives)) return PolicyChange::Unchanged;
    const DWORD value = reg.ReadInteger(kNoDrives);
    if ((value & bit) != bit) return PolicyChange::Unchanged;
    // Clears exactly this bit; a policy of 0 stays as a value of 0.
    reg.WriteInteger(kNoDrives, value ^ bit);
    return PolicyChange::Written;
}

}  // namespace tw::actions
