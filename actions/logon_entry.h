// The logon entry that brings a substitution back on the NT family: a value
// under the current user's Run key, which needs no rights. The shell starts
// its command line at every logon as a program, not through the command
// interpreter, so "&" and "^" in the folder's name stay plain text.
#pragma once
#include <string>

#include "platform/kernel.h"
#include "platform/registry.h"

namespace tw::actions {

inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Whether the system is of the NT family, whose logon runs the Run key's
// entries and not c:\autoexec.bat; a system that cannot say is taken for one.
bool RunsLogonEntries(platform::Kernel& kernel);

// "Tarnwell subst S:": one entry per letter, named so as to tell ours apart.
std::string LogonEntryName(char letter);

// `C:\WINDOWS\system32\subst.exe S: "folder"`: the system's own subst.exe by
// full path (quoted only if it holds a space), the letter, and the folder in
// quotes, backslashes before the closing quote doubled so they do not escape
// it. Empty when the system folder is unknown.
std::string LogonCommand(platform::Kernel& kernel, char letter, const std::string& folder);

// Writes the entry for `letter` as REG_SZ, replacing an earlier one of ours.
// Returns 0 or the system error code of the step that failed.
platform::DWORD AddLogonEntry(platform::Kernel& kernel, platform::Registry& registry, char letter,
                              const std::string& folder);

// Removes our entry for `letter`; none there is no failure. Returns 0 or the
// system error code.
platform::DWORD RemoveLogonEntry(platform::Registry& registry, char letter);

}  // namespace tw::actions
