// The start-up batch file that brings substitutions back at the next start of
// a system that runs it.
#pragma once
#include <string>

#include "platform/kernel.h"

namespace tw::actions {

inline constexpr const char* kStartupFile = "c:\\autoexec.bat";

// "subst L: "folder"": the folder quoted, so spaces and "&" stay part of it,
// each "%" doubled so the interpreter does not expand it, and backslashes
// before the closing quote doubled so they do not escape it.
std::string StartupLine(char letter, const std::string& folder);

// Appends `line` and a CR LF to the file, creating it when missing. The line
// always starts a line of its own and goes before any end-of-file marks
// (Ctrl-Z) the file ends with, which stay after it. Returns 0, or the system
// error code of the step that failed.
platform::DWORD AppendStartupLine(platform::Kernel& kernel, const std::string& path, const std::string& line);

}  // namespace tw::actions
