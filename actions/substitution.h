// Substitute drives: letters that stand for a folder of another drive, made
// through the system's device-name service (the NT family's; the 9x family's
// DOS service is not supported).
#pragma once
#include <optional>
#include <string>

#include "platform/kernel.h"

namespace tw::actions {

// The device name a letter stands for, however long; none when the letter
// has no device name.
std::optional<std::string> QueryDevice(platform::Kernel& kernel, char letter);

// The folder a substituted letter stands for; empty when the letter is not a
// substitution (its device mapping does not start with "\??\").
std::string QuerySubstitution(platform::Kernel& kernel, char letter);

// Whether the letter already names a drive or device.
bool LetterInUse(platform::Kernel& kernel, char letter);

// Whether `path` names an existing folder.
bool FolderExists(platform::Kernel& kernel, const std::string& path);

// Makes `letter` stand for `path` (passed as entered, a trailing backslash
// included). True when the system took the definition; otherwise the cause is
// in the last error.
bool CreateSubstitution(platform::Kernel& kernel, char letter, const std::string& path);

// Removes the substitution of `letter`. A letter that is no substitution is
// left alone and false returned: removing with an empty target would drop the
// letter's own mapping.
bool RemoveSubstitution(platform::Kernel& kernel, char letter);

}  // namespace tw::actions
