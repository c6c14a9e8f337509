// The real platform of this build: the Windows API in the Windows builds,
// nothing on Linux, where only the simulated machine answers.
#pragma once
#include <memory>

#include "platform/platform.h"

namespace tw::platform {

// Null where the build has no real system to ask.
std::unique_ptr<Platform> MakeRealPlatform();

}  // namespace tw::platform
