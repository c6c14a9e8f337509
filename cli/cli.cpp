// The command line: the options before a command, the command from the
// command table, its --help, formats and options; then its handler.
#include "cli/cli.h"

#include <algorithm>
#include <ostream>

#include "app/taboutbox.h"
#include "cli/command_table.h"
#include "cli/help.h"
#include "platform/printable.h"

namespace tw::cli {

using platform::Printable;

namespace {

bool IsHelp(const std::string& word) { return word == "--help" || word == "-h"; }

const CommandOption* FindOption(const Command& command, const std::string& name) {
    for (const CommandOption& option : command.options) {
        if (name == option.name) return &option;
    }
    return nullptr;
}

int RunCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    std::optional<std::string> machineFile;
    std::optional<std::string> programArgs;
    size_t i = 0;
    for (; i < args.size(); ++i) {
        if (args[i] == "--machine" && i + 1 < args.size()) {
            machineFile = args[++i];
        } else if (args[i] == "--args" && i + 1 < args.size()) {
            programArgs = args[++i];
        } else if (IsHelp(args[i])) {
            out << Help();
            return kExitSuccess;
        } else if (args[i] == "--version") {
            out << "tarnwell-cli " << TAboutBox::Version() << '\n';
            return kExitSuccess;
        } else {
            break;
        }
    }
    if (i >= args.size()) return BadUsage(err);
    const std::string& name = args[i++];
    const Command* command = FindCommand(name);
    if (!command) return BadUsage(err, "unknown command \"" + Printable(name) + "\"");
    if (std::any_of(args.begin() + static_cast<std::ptrdiff_t>(i), args.end(), IsHelp)) {
        out << CommandHelp(*command);
        return kExitSuccess;
    }
    // The command's own options, anywhere after it; the rest are its words.
    const std::span<const char* const> formats = command->formats;
    CommandCall call{*command, {}, {}, formats.empty() ? "" : formats.front(), machineFile, programArgs, in, out, err};
    for (; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "--format" && !formats.empty()) {
            if (i + 1 >= args.size()) return BadUsage(err, "--format needs a name");
            call.format = args[++i];
            if (std::find(formats.begin(), formats.end(), call.format) == formats.end()) {
                return BadUsage(err, name + " has no format \"" + Printable(call.format) + "\"");
            }
            continue;
        }
        const CommandOption* option = FindOption(*command, word);
        if (!option) {
            call.operands.push_back(word);
        } else if (!option->takesValue) {
            call.options[word] = "";
        } else if (i + 1 < args.size() && option->takesValue(args[++i])) {
            call.options[word] = args[i];
        } else {
            err << "tarnwell-cli: \"" << Printable(args[i]) << "\" is not " << option->refused << '\n';
            return kExitUsage;
        }
    }
    return command->run(call);
}

}  // namespace

int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    try {
        return RunCommand(args, in, out, err);
    } catch (const std::exception& e) {
        err << "tarnwell-cli: internal error: " << Printable(e.what()) << '\n';
    } catch (...) {
        err << "tarnwell-cli: internal error\n";
    }
    return kExitInternal;
}

}  // namespace tw::cli
