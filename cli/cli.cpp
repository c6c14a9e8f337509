#include "cli/cli.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

#include "app/main_components.h"
#include "app/tform1.h"
#include "cli/disk_info_command.h"
#include "cli/headless.h"
#include "cli/list_printer.h"
#include "cli/script_runner.h"
#include "cli/smart_printer.h"
#include "diagnostics/check_disk.h"
#include "diagnostics/drive_benchmark.h"
#include "diagnostics/smart_api.h"
#include "platform/app_error.h"
#include "platform/printable.h"
#include "platform/real_platform.h"
#include "platform/sim/machine.h"

namespace tw::cli {

using platform::Printable;

namespace {

constexpr const char* kUsage =
    "usage: tarnwell-cli [--machine FILE] list\n"
    "       tarnwell-cli [--machine FILE] [--args \"...\"] script FILE|-\n"
    "       tarnwell-cli [--machine FILE] optical LETTER\n"
    "       tarnwell-cli [--machine FILE] media LETTER\n"
    "       tarnwell-cli [--machine FILE] smart DISK\n"
    "       tarnwell-cli [--machine FILE] diskinfo LETTER\n"
    "       tarnwell-cli [--machine FILE] chkdsk LETTER [--fix]\n"
    "       tarnwell-cli [--machine FILE] bench LETTER|FOLDER [--size 64M|256M|1G]\n"
    "       tarnwell-cli [--machine FILE] usb [--all]\n"
    "       tarnwell-cli [--machine FILE] volumes\n";

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
    return dialogs.ErrorsShown() == 0 ? kExitSuccess : kExitFailed;
}

// "e", "E", "E:" or "E:\\" name drive E; anything else names none.
std::optional<char> DriveLetterArgument(const std::string& text) {
    if (text.empty() || text.size() > 3) return std::nullopt;
    char letter = text[0];
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'Z') return std::nullopt;
    if (text.size() >= 2 && text[1] != ':') return std::nullopt;
    if (text.size() == 3 && text[2] != '\\') return std::nullopt;
    return letter;
}

// The optical window's view of one drive.
int Optical(platform::Platform& platform, char letter, std::ostream& out, std::ostream& err) {
    HeadlessDialogs dialogs(err);
    TfrmOpticalInfo form(platform, dialogs);
    form.ShowDrive(letter);
    out << "Vendor: " << form.Get(OpticalControl::Vendor).text << '\n'
        << "Product ID: " << form.Get(OpticalControl::Product).text << '\n'
        << "Revision: " << form.Get(OpticalControl::Revision).text << '\n'
        << "Vendor Spec: " << form.Get(OpticalControl::VendorSpecific).text << '\n';
    const std::string profile = form.InsertedProfileName(letter);
    out << "Profile: " << (profile.empty() ? "Unknown" : profile) << '\n';
    for (const std::string& line : form.Get(OpticalControl::Capabilities).items) out << line << '\n';
    return kExitSuccess;
}

int Media(platform::Platform& platform, char letter, std::ostream& out, std::ostream& err) {
    try {
        out << TForm1::InsertedMediaReport(platform, letter) << '\n';
        return kExitSuccess;
    } catch (const AppError& e) {
        err << "tarnwell-cli: " << letter << ": " << e.what() << '\n';
        return kExitFailed;
    }
}

// A disk number: decimal digits, at most 255 (the driver's disk numbers).
std::optional<int> DiskNumberArgument(const std::string& text) {
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const int n = std::stoi(text);
    return n <= 255 ? std::optional<int>(n) : std::nullopt;
}

int Smart(platform::Platform& platform, int disk, std::ostream& out) {
    diagnostics::TSmartResult result;
    std::string errorText;
    const bool ok = diagnostics::SmartReadDrive(platform, disk, result, errorText);
    PrintSmartResult(result, ok, errorText, out);
    return ok ? kExitSuccess : kExitFailed;
}

// The log of a long task, line by line as it comes.
class PrintingReport final : public diagnostics::TaskReport {
public:
    explicit PrintingReport(std::ostream& out) : out_(out) {}
    void Percent(int) override {}
    void Line(const std::string& text) override { out_ << text << '\n'; }
    bool StopRequested() override { return false; }

private:
    std::ostream& out_;
};

int CheckDisk(platform::Platform& platform, char letter, bool fix, std::ostream& out) {
    PrintingReport report(out);
    const auto outcome = diagnostics::CheckDisk(platform, letter, fix, report);
    return outcome == diagnostics::CheckOutcome::Sound ? kExitSuccess : kExitFailed;
}

// "64M", "256M" or "1G" (a trailing "B" allowed, any case).
std::optional<platform::ULONGLONG> BenchSizeArgument(std::string text) {
    for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    if (text.size() > 1 && text.back() == 'B') text.pop_back();
    if (text == "64M") return diagnostics::kBenchSizes[0];
    if (text == "256M") return diagnostics::kBenchSizes[1];
    if (text == "1G" || text == "1024M") return diagnostics::kBenchSizes[2];
    return std::nullopt;
}

int Bench(platform::Platform& platform, const std::string& folder, platform::ULONGLONG size, std::ostream& out,
          std::ostream& err) {
    PrintingReport report(out);
    const diagnostics::BenchResult result = diagnostics::RunBenchmark(platform.kernel(), {folder, size}, report);
    if (result.outcome != diagnostics::BenchOutcome::Completed) {
        err << "tarnwell-cli: " << result.message << '\n';
        return kExitFailed;
    }
    for (const std::string& line :
         BenchResultLines(result, folder, size, inventory::ReadSeparators(platform.locale()))) {
        out << line << '\n';
    }
    return kExitSuccess;
}

}  // namespace

std::unique_ptr<platform::Platform> OpenPlatform(const std::optional<std::string>& machineFile, std::ostream& err) {
    try {
        if (machineFile) return sim::Machine::FromFile(*machineFile);
        if (std::unique_ptr<platform::Platform> real = platform::MakeRealPlatform()) return real;
        err << "tarnwell-cli: no Windows here; using the bundled workstation machine\n";
        return sim::Machine::FromJsonText(kBundledMachine, "bundled workstation");
    } catch (const sim::MachineFormatError& e) {
        err << "tarnwell-cli: " << e.what() << '\n';
        return nullptr;
    }
}

int RunCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    std::string machineFile;
    bool haveMachine = false;
    std::string programArgs;
    bool haveArgs = false;
    size_t i = 0;
    for (; i < args.size(); ++i) {
        if (args[i] == "--machine" && i + 1 < args.size()) {
            machineFile = args[++i];
            haveMachine = true;
        } else if (args[i] == "--args" && i + 1 < args.size()) {
            programArgs = args[++i];
            haveArgs = true;
        } else if (args[i] == "--help" || args[i] == "-h") {
            out << kUsage;
            return kExitSuccess;
        } else {
            break;
        }
    }
    if (i >= args.size()) {
        err << kUsage;
        return kExitUsage;
    }
    const std::string command = args[i++];
    const CommandContext context{haveMachine ? std::optional(machineFile) : std::nullopt, haveArgs, out, err};
    const std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
    if (command == "usb") return UsbCommand(rest, context);
    if (command == "volumes") return VolumesCommand(rest, context);
    const bool driveCommand = command == "optical" || command == "media" || command == "diskinfo";
    const bool diskCommand = command == "smart";
    const bool toolCommand = command == "chkdsk" || command == "bench";
    if (command != "list" && command != "script" && !driveCommand && !diskCommand && !toolCommand) {
        err << "tarnwell-cli: unknown command \"" << Printable(command) << "\"\n" << kUsage;
        return kExitUsage;
    }
    if ((command == "list" && i != args.size()) || (command == "script" && i + 1 != args.size()) ||
        (command == "list" && haveArgs) || ((driveCommand || diskCommand) && (i + 1 != args.size() || haveArgs))) {
        err << kUsage;
        return kExitUsage;
    }
    bool fix = false;
    std::string benchFolder;
    platform::ULONGLONG benchSize = diagnostics::kBenchSizes[0];
    if (toolCommand) {
        if (i >= args.size() || haveArgs) {
            err << kUsage;
            return kExitUsage;
        }
        const std::string target = args[i++];
        for (; i < args.size(); ++i) {
            if (command == "chkdsk" && args[i] == "--fix") {
                fix = true;
            } else if (command == "bench" && args[i] == "--size" && i + 1 < args.size()) {
                const auto size = BenchSizeArgument(args[++i]);
                if (!size) {
                    err << "tarnwell-cli: \"" << Printable(args[i]) << "\" is not a test size (64M, 256M, 1G)\n";
                    return kExitUsage;
                }
                benchSize = *size;
            } else {
                err << kUsage;
                return kExitUsage;
            }
        }
        const std::optional<char> drive = DriveLetterArgument(target);
        const bool folder = command == "bench" && target.size() > 3 && target[1] == ':' && target[2] == '\\';
        if (!drive && !folder) {
            err << "tarnwell-cli: \"" << Printable(target) << "\" is not a drive letter\n" << kUsage;
            return kExitUsage;
        }
        benchFolder = drive ? std::string(1, *drive) + ":\\" : target;
    }
    std::optional<char> letter;
    if (driveCommand) {
        letter = DriveLetterArgument(args[i]);
        if (!letter) {
            err << "tarnwell-cli: \"" << Printable(args[i]) << "\" is not a drive letter\n" << kUsage;
            return kExitUsage;
        }
    }
    std::optional<int> disk;
    if (diskCommand) {
        disk = DiskNumberArgument(args[i]);
        if (!disk) {
            err << "tarnwell-cli: \"" << Printable(args[i]) << "\" is not a disk number\n" << kUsage;
            return kExitUsage;
        }
    }

    std::unique_ptr<platform::Platform> platform = OpenPlatform(context.machineFile, err);
    if (!platform) return kExitBadInput;

    if (command == "list") return List(*platform, out, err);
    if (command == "chkdsk") return CheckDisk(*platform, benchFolder[0], fix, out);
    if (command == "bench") return Bench(*platform, benchFolder, benchSize, out, err);
    if (diskCommand) return Smart(*platform, *disk, out);
    if (command == "diskinfo") return DiskInfo(*platform, *letter, out, err);
    if (driveCommand) {
        return command == "optical" ? Optical(*platform, *letter, out, err) : Media(*platform, *letter, out, err);
    }

    const std::string scriptFile = args[i];
    ScriptRunner runner(*platform, SplitArgs(programArgs), out);
    if (scriptFile == "-") return runner.Run(in, "-", err);
    std::error_code ec;
    if (std::filesystem::is_directory(scriptFile, ec)) {
        err << "tarnwell-cli: " << Printable(scriptFile) << ": is a folder, not a script\n";
        return kExitBadInput;
    }
    // Bytes as they are: a text-mode read on Windows may end a script early.
    std::ifstream file(scriptFile, std::ios::binary);
    if (!file) {
        err << "tarnwell-cli: " << Printable(scriptFile) << ": cannot read the script\n";
        return kExitBadInput;
    }
    return runner.Run(file, Printable(scriptFile), err);
}

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
