// The usage lines and help texts, from the command table.
#pragma once
#include <ostream>
#include <string>

#include "cli/command.h"

namespace tw::cli {

// The usage line of every command, and of --help and --version.
std::string Usage();
// tarnwell-cli --help: the usage, every command's summary, the options and
// the exit codes.
std::string Help();
// "usage: tarnwell-cli [--machine FILE] " and the command's synopsis.
std::string CommandUsage(const Command& command);
// COMMAND --help: its usage, summary and details, the options and exit codes.
std::string CommandHelp(const Command& command);

// Reports bad usage: "tarnwell-cli: PROBLEM" when there is one, then the
// usage of every command. Returns kExitUsage.
int BadUsage(std::ostream& err, const std::string& problem = "");
// Bad usage of one word: "tarnwell-cli: "WORD" is not WHAT", then the usage.
int BadWord(std::ostream& err, const std::string& word, const char* what);

}  // namespace tw::cli
