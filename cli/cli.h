// tarnwell-cli: the drive list and the main window's logic, headless.
#pragma once
#include <iosfwd>
#include <string>
#include <vector>

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

// Runs the command line (without the program name); returns the exit code.
// Nothing escapes: an unexpected error is reported and gives kExitInternal.
int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace tw::cli
