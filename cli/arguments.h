// The words of a command line as the commands read them: drive letters, disk
// numbers, test sizes and the window's command line; and the checks that
// report bad usage when a command's words do not fit.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "platform/platform.h"

namespace tw::cli {

// A disk number: decimal digits, at most 255 (the driver's disk numbers).
std::optional<int> DiskNumberArgument(const std::string& text);
// "64M", "256M" or "1G" (a trailing "B" allowed, any case).
std::optional<platform::ULONGLONG> BenchSizeArgument(std::string text);
// --args as the words the window's command line splits into.
std::vector<std::string> SplitArgs(const std::string& text);

// Whether the call has `count` words and no --args; else the usage is
// reported on its error stream.
bool ExpectOperands(const CommandCall& call, size_t count);
// The drive letter of a call's one word; nullopt once bad usage is reported.
std::optional<char> DriveOperand(const CommandCall& call);

}  // namespace tw::cli
