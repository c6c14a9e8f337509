// The system's text for an error code as the device layers quote it inside
// their own messages: "Access is denied" for 5, with no full stop or line
// break at the end, so that more text may follow it.
#pragma once
#include <string>

#include "platform/kernel.h"

namespace tw::platform {

// Empty when the system has no text for `error`.
std::string SystemErrorText(Kernel& kernel, DWORD error);
// The system's text for `error`, or "error N" when it has none.
std::string ErrorText(Kernel& kernel, DWORD error);

}  // namespace tw::platform
