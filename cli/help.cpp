#include "cli/help.h"

#include "cli/cli.h"
#include "cli/command_table.h"
#include "platform/printable.h"

namespace tw::cli {

namespace {

constexpr const char* kOptionsHelp =
    "Options:\n"
    "  --machine FILE  answer every system call from a simulated machine\n"
    "                  (docs/machine-format.md) instead of the real system\n"
    "  --args \"...\"    script: the program's command line as the window sees it\n"
    "  --format NAME   the form of a report (see each command)\n"
    "  --help, -h      this text; COMMAND --help describes one command\n"
    "  --version       the program's version\n";

constexpr const char* kExitCodesHelp =
    "Exit codes:\n"
    "  0  the command did what was asked\n"
    "  1  it ran, but an operation failed or an error box was shown\n"
    "  2  bad usage: unknown command or option, missing or extra argument\n"
    "  3  a bad input file: machine file or script unreadable or invalid\n"
    "  4  an internal error the program did not expect\n";

}  // namespace

std::string Usage() {
    std::string text;
    for (const Command& c : Commands()) {
        text +=
            std::string(text.empty() ? "usage: " : "       ") + "tarnwell-cli [--machine FILE] " + c.synopsis + '\n';
    }
    text += "       tarnwell-cli --help | --version | COMMAND --help\n";
    return text;
}

std::string Help() {
    std::string text = Usage() + "\nCommands:\n";
    for (const Command& c : Commands()) {
        std::string name = c.name;
        name.resize(9, ' ');
        text += "  " + name + c.summary + '\n';
    }
    return text + '\n' + kOptionsHelp + '\n' + kExitCodesHelp;
}

std::string CommandUsage(const Command& command) {
    return std::string("usage: tarnwell-cli [--machine FILE] ") + command.synopsis + '\n';
}

std::string CommandHelp(const Command& command) {
    std::string summary = command.summary;
    if (!summary.empty() && summary[0] >= 'a' && summary[0] <= 'z')
        summary[0] = static_cast<char>(summary[0] - 'a' + 'A');
    return CommandUsage(command) + summary + ".\n\n" + command.details + '\n' + kOptionsHelp + '\n' + kExitCodesHelp;
}

int BadUsage(std::ostream& err, const std::string& problem) {
    if (!problem.empty()) err << "tarnwell-cli: " << problem << '\n';
    err << Usage();
    return kExitUsage;
}

int BadWord(std::ostream& err, const std::string& word, const char* what) {
    err << "tarnwell-cli: \"" << platform::Printable(word) << "\" is not " << what << '\n' << Usage();
    return kExitUsage;
}

}  // namespace tw::cli
