// The system's own words for an error code, for messages to the user.
#pragma once
#include <string>

#include "platform/kernel.h"

namespace tw::actions {

// "Access is denied." for 5; "System error N." where the system has no text.
std::string SystemMessage(platform::Kernel& kernel, platform::DWORD error);

}  // namespace tw::actions
