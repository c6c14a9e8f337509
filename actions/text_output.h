// Text the program hands to the user's session: a file written whole, and
// text put on the clipboard.
#pragma once
#include <string>

#include "platform/desktop.h"
#include "platform/kernel.h"

namespace tw::actions {

// Creates or replaces the file with `text`. Returns 0, or the system error
// code of the step that failed; the file is closed on every path.
platform::DWORD WriteTextFile(platform::Kernel& kernel, const std::string& path, const std::string& text);

// Puts `text` on the clipboard as CF_TEXT. Returns 0, or the system error
// code of the step that failed; the clipboard is closed and a block it did
// not take is freed on every path.
platform::DWORD CopyTextToClipboard(platform::Desktop& desktop, platform::HWND owner, const std::string& text);

}  // namespace tw::actions
