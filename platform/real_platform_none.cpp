#include "platform/real_platform.h"

namespace tw::platform {

// Linux has no Windows to ask.
std::unique_ptr<Platform> MakeRealPlatform() { return nullptr; }

void RestrictLibrarySearch() {}

ConsoleUtf8::ConsoleUtf8() = default;
ConsoleUtf8::~ConsoleUtf8() = default;

}  // namespace tw::platform
