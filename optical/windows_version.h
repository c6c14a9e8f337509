// The program's code for the Windows release it runs on, from the record
// GetVersionExA fills: 0 Windows 95, 1 later 9x, 2 NT 3.51, 3 NT 4,
// 4 Windows 2000, 5 anything later or older on the NT line, -1 otherwise.
#pragma once
#include "platform/win_types.h"

namespace tw::optical {

constexpr int kUnknownWindows = -1;

int WindowsVersionCode(const platform::OSVERSIONINFOA& version);

// SCSI pass-through needs NT 4 or later.
constexpr bool IsPassThroughVersion(int code) { return code == 3 || code == 4 || code == 5; }

}  // namespace tw::optical
