// tarnwell-cli script: a script of user actions run against the main window.
#include <filesystem>
#include <fstream>

#include "cli/arguments.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/help.h"
#include "cli/open_platform.h"
#include "cli/script_runner.h"
#include "platform/printable.h"

namespace tw::cli {

using platform::Printable;

int ScriptCommand(const CommandCall& call) {
    if (call.operands.size() != 1) return BadUsage(call.err);
    const std::unique_ptr<platform::Platform> platform = OpenPlatform(call.machineFile, call.err);
    if (!platform) return kExitBadInput;
    const std::string& scriptFile = call.operands[0];
    ScriptRunner runner(*platform, SplitArgs(call.programArgs.value_or("")), call.out);
    if (scriptFile == "-") return runner.Run(call.in, "-", call.err);
    std::error_code ec;
    if (std::filesystem::is_directory(scriptFile, ec)) {
        call.err << "tarnwell-cli: " << Printable(scriptFile) << ": is a folder, not a script\n";
        return kExitBadInput;
    }
    // Bytes as they are: a text-mode read on Windows may end a script early.
    std::ifstream file(scriptFile, std::ios::binary);
    if (!file) {
        call.err << "tarnwell-cli: " << Printable(scriptFile) << ": cannot read the script\n";
        return kExitBadInput;
    }
    return runner.Run(file, Printable(scriptFile), call.err);
}

}  // namespace tw::cli
