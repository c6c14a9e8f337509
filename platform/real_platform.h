// The real platform of this build: the Windows API in the Windows builds,
// nothing on Linux, where only the simulated machine answers.
#pragma once
#include <memory>

#include "platform/platform.h"

namespace tw::platform {

// Null where the build has no real system to ask.
std::unique_ptr<Platform> MakeRealPlatform();

// Called first thing in each program: libraries are looked for in the system
// folder alone from here on, never beside the program or in the current
// folder. Nothing where there is no real system.
void RestrictLibrarySearch();

}  // namespace tw::platform
