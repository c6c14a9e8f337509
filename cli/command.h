// A tarnwell-cli command as the command table lists it: its name, usage line
// and help, the options it takes after its name, and the function that runs
// it; and one run of it, as its command line asked for it.
#pragma once
#include <iosfwd>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tw::cli {

struct CommandCall;

// An option a command takes anywhere after its name: a flag, or a name
// followed by a value.
struct CommandOption {
    const char* name;  // "--fix"
    // Null for a flag; else whether a value is one the command takes.
    bool (*takesValue)(const std::string& value) = nullptr;
    const char* refused = nullptr;  // what a refused value is not: "a test size (64M, 256M, 1G)"
};

struct Command {
    const char* name;
    const char* synopsis;  // after "tarnwell-cli [--machine FILE] "
    const char* summary;
    const char* details;
    std::span<const char* const> formats;  // the first is the default; empty: no --format
    std::span<const CommandOption> options;
    int (*run)(const CommandCall& call);  // returns the exit code
};

struct CommandCall {
    const Command& command;
    std::vector<std::string> operands;           // the words after the command but its options
    std::map<std::string, std::string> options;  // the options given; a flag's value is empty
    std::string format;                          // --format's name, or the command's default
    std::optional<std::string> machineFile;      // --machine
    std::optional<std::string> programArgs;      // --args: the window's command line
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

}  // namespace tw::cli
