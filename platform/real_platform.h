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

// While it lives, a console the program writes to shows its text as UTF-8,
// the code page the program's manifest gives its calls; the console's own
// code page comes back after. Nothing without a console or a real system.
class ConsoleUtf8 {
public:
    ConsoleUtf8();
    ~ConsoleUtf8();
    ConsoleUtf8(const ConsoleUtf8&) = delete;
    ConsoleUtf8& operator=(const ConsoleUtf8&) = delete;

private:
    unsigned previous_ = 0;  // 0: left as it was
};

}  // namespace tw::platform
