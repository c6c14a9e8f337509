#include "cli/cli.h"
#include "platform/win32/win32_platform.h"

namespace tw::cli {

std::unique_ptr<platform::Platform> MakeRealPlatform() { return std::make_unique<platform::win32::Win32Platform>(); }

}  // namespace tw::cli
