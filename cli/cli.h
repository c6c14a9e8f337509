// tarnwell-cli: the drive list and the main window's logic, headless.
#pragma once
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tw::cli {

// The workstation example built into the program.
extern const char* const kBundledMachine;

// Runs the command line (without the program name); returns the exit code.
int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace tw::cli
