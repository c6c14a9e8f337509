// tarnwell-cli: the drive list and the main window's logic, headless.
#pragma once
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tw::cli {

// The workstation example built into the program.
extern const char* const kBundledMachine;

// Exit codes of tarnwell-cli.
enum ExitCode : int {
    kExitSuccess = 0,
    kExitFailed = 1,    // the command ran, but failed or showed an error box
    kExitUsage = 2,     // the command line is wrong
    kExitBadInput = 3,  // a machine file or script cannot be read or is malformed
    kExitInternal = 4,  // the program met an error it did not expect
};

// What the options before a command chose, for the commands that read their
// own arguments.
struct CommandContext {
    std::optional<std::string> machineFile;
    bool programArgs = false;  // --args was given: no command but script takes it
    std::string format;        // --format, one the command prints (its default when not given)
    std::ostream& out;
    std::ostream& err;
};

// tarnwell-cli usb [--all]: the USB disks (every disk with --all), one block
// each. `args` are the words after the command but --format and its name.
int UsbCommand(const std::vector<std::string>& args, const CommandContext& context);
// tarnwell-cli volumes: every volume as a table.
int VolumesCommand(const std::vector<std::string>& args, const CommandContext& context);

// Runs the command line (without the program name); returns the exit code.
// Nothing escapes: an unexpected error is reported and gives kExitInternal.
int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace tw::cli
