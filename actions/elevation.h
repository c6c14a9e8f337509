// Whether the program runs with an administrator's full rights, and the way
// to get them: the same program started again with the shell's "runas" verb,
// which shows the system's consent prompt.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/kernel.h"
#include "platform/security.h"
#include "platform/shell.h"

namespace tw::actions {

// The process token's elevation; none where the system has no elevation
// (before Vista) or the token cannot be asked.
std::optional<bool> RunsElevated(platform::Security& security);

// The arguments as one command line that splits back into the same words.
std::string CommandLineOf(const std::vector<std::string>& args);

struct RestartOutcome {
    bool started = false;   // the elevated copy runs: this one should close
    bool declined = false;  // the user said no to the prompt: nothing to say
    platform::DWORD error = 0;
};
// Asks the shell to start this program's own file (by its full path) with
// the "runas" verb and the same arguments.
RestartOutcome RestartAsAdministrator(platform::Kernel& kernel, platform::Shell& shell, platform::HWND owner,
                                      const std::vector<std::string>& args);

}  // namespace tw::actions
