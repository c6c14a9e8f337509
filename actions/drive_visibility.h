// The shell's per-user hidden-drive policy: value "NoDrives" (REG_DWORD, bit i
// hides letter 'A' + i) under the current user's Explorer policies key.
#pragma once
#include <optional>

#include "platform/registry.h"

namespace tw::actions {

inline constexpr const char* kPolicyKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
inline constexpr const char* kNoDrives = "NoDrives";

enum DriveVisibility : int { kHidden = 0, kVisible = 1, kNoPolicy = 2 };

// The policy value as it stands; none when the key can't be opened or
// created, the value is missing, or it can't be read as a REG_DWORD. Opens
// (creating it when missing) and closes the key once. Never raises.
std::optional<platform::DWORD> ReadHiddenDrives(platform::Registry& registry);

// A letter's visibility under a policy read by ReadHiddenDrives.
int VisibilityUnder(const std::optional<platform::DWORD>& policy, char letter);

// 0 hidden, 1 visible, 2 no policy (key or value missing, or unreadable).
// Never raises.
int GetDriveVisibility(platform::Registry& registry, char letter);

}  // namespace tw::actions
