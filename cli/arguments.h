// The words of a command line as the commands read them: drive letters, disk
// numbers, test sizes and the window's command line.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tw::cli {

// "e", "E", "E:" or "E:\\" name drive E; anything else names none.
std::optional<char> DriveLetterArgument(const std::string& text);
// A disk number: decimal digits, at most 255 (the driver's disk numbers).
std::optional<int> DiskNumberArgument(const std::string& text);
// "64M", "256M" or "1G" (a trailing "B" allowed, any case).
std::optional<platform::ULONGLONG> BenchSizeArgument(std::string text);
// --args as the words the window's command line splits into.
std::vector<std::string> SplitArgs(const std::string& text);

}  // namespace tw::cli
