#include "platform/real_platform.h"
#include "platform/win32/win32_platform.h"

namespace tw::platform {

std::unique_ptr<Platform> MakeRealPlatform() { return std::make_unique<win32::Win32Platform>(); }

}  // namespace tw::platform
