#include "cli/cli.h"

namespace tw::cli {

// Linux has no Windows to ask.
std::unique_ptr<platform::Platform> MakeRealPlatform() { return nullptr; }

}  // namespace tw::cli
