// The machine a command asks: a simulated one or the real system.
#pragma once
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "platform/platform.h"

namespace tw::cli {

// The machine file's when one is named, else the real system, else the
// bundled workstation. Null after a bad machine file has been reported on
// `err` (exit code kExitBadInput).
std::unique_ptr<platform::Platform> OpenPlatform(const std::optional<std::string>& machineFile, std::ostream& err);

}  // namespace tw::cli
