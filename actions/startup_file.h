// The start-up batch file that brings substitutions back at the next start of
// a system that runs it.
#pragma once
#include <string>

#include "platform/kernel.h"

namespace tw::actions {

inline constexpr const char* kStartupFile = "c:\\autoexec.bat";

// Appends `line` and a CR LF to the file, creating it when missing. Raises
// AppError("I/O error N") with the system error code when the file can't be
// opened or written.
void AppendStartupLine(platform::Kernel& kernel, const std::string& path, const std::string& line);

}  // namespace tw::actions
