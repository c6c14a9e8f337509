#include "cli/cli.h"

#include <fstream>
#include <iostream>
#include <sstream>

#include "app/main_components.h"
#include "app/tform1.h"
#include "cli/headless.h"
#include "cli/list_printer.h"
#include "cli/script_runner.h"
#include "platform/real_platform.h"
#include "platform/sim/machine.h"

namespace tw::cli {

namespace {

constexpr const char* kUsage =
    "usage: tarnwell-cli [--machine FILE] list\n"
    "       tarnwell-cli [--machine FILE] [--args \"...\"] script FILE|-\n";

std::vector<std::string> SplitArgs(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string word; in >> word;) out.push_back(word);
    return out;
}

int List(platform::Platform& platform, std::ostream& out, std::ostream& err) {
    Application app;
    HeadlessView view;
    HeadlessDialogs dialogs(err);
    TForm1 form(platform, view, dialogs, app);
    form.FormCreate();
    form.Click(MainCommand::Refresh);
    PrintList(form.Rows(), out);
    return dialogs.ErrorsShown() == 0 ? 0 : 1;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    std::string machineFile;
    std::string programArgs;
    bool haveArgs = false;
    size_t i = 0;
    for (; i < args.size(); ++i) {
        if (args[i] == "--machine" && i + 1 < args.size()) {
            machineFile = args[++i];
        } else if (args[i] == "--args" && i + 1 < args.size()) {
            programArgs = args[++i];
            haveArgs = true;
        } else if (args[i] == "--help" || args[i] == "-h") {
            out << kUsage;
            return 0;
        } else {
            break;
        }
    }
    if (i >= args.size()) {
        err << kUsage;
        return 2;
    }
    const std::string command = args[i++];
    if (command != "list" && command != "script") {
        err << "tarnwell-cli: unknown command \"" << command << "\"\n" << kUsage;
        return 2;
    }
    if ((command == "list" && i != args.size()) || (command == "script" && i + 1 != args.size()) ||
        (command == "list" && haveArgs)) {
        err << kUsage;
        return 2;
    }

    std::unique_ptr<platform::Platform> platform;
    try {
        if (!machineFile.empty()) {
            platform = sim::Machine::FromFile(machineFile);
        } else {
            platform = platform::MakeRealPlatform();
            if (!platform) {
                err << "tarnwell-cli: no Windows here; using the bundled workstation machine\n";
                platform = sim::Machine::FromJsonText(kBundledMachine, "bundled workstation");
            }
        }
    } catch (const sim::MachineFormatError& e) {
        err << "tarnwell-cli: " << e.what() << '\n';
        return 2;
    }

    if (command == "list") return List(*platform, out, err);

    const std::string scriptFile = args[i];
    ScriptRunner runner(*platform, SplitArgs(programArgs), out);
    if (scriptFile == "-") return runner.Run(in, "-", err);
    std::ifstream file(scriptFile);
    if (!file) {
        err << "tarnwell-cli: " << scriptFile << ": cannot read the script\n";
        return 2;
    }
    return runner.Run(file, scriptFile, err);
}

}  // namespace tw::cli
