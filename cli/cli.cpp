#include "cli/cli.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

#include "app/main_components.h"
#include "app/tform1.h"
#include "cli/disk_info_command.h"
#include "cli/headless.h"
#include "cli/json_report.h"
#include "cli/list_printer.h"
#include "cli/script_runner.h"
#include "cli/smart_printer.h"
#include "diagnostics/check_disk.h"
#include "diagnostics/drive_benchmark.h"
#include "diagnostics/smart_api.h"
#include "inventory/list_export.h"
#include "platform/app_error.h"
#include "platform/drive_names.h"
#include "platform/printable.h"
#include "platform/real_platform.h"
#include "platform/sim/machine.h"

namespace tw::cli {

using platform::Printable;

namespace {

// The commands, what they print and the formats they print it in; the
// usage line and every --help text come from here.
struct CommandInfo {
    const char* name;
    const char* synopsis;  // after "tarnwell-cli [--machine FILE] "
    const char* summary;
    const char* details;
    std::vector<std::string> formats;  // the first is the default; empty: no --format
};

const std::vector<CommandInfo>& Commands() {
    static const std::vector<CommandInfo> commands = {
        {"list",
         "list [--format tsv|csv|json|html]",
         "print the drive list as the main window shows it",
         "  Refreshes the list once, as the window does at start, and prints it.\n"
         "  --format tsv   (default) a header line of the column captions, then one\n"
         "                 tab-separated line per drive: its cells, the row's image\n"
         "                 index and the text colour of its cells (#RRGGBB)\n"
         "  --format csv   the header and the rows' cells as comma-separated values,\n"
         "                 quoted where needed, lines ended by CR LF\n"
         "  --format html  a web page with the list as a table in the rows' colours\n"
         "  --format json  a list of objects, one per row, keyed by the column\n"
         "                 captions; Size, Used, Available and Bytes Free as exact\n"
         "                 byte counts, % Free as a number, null where the cell is empty\n"
         "                 (docs/schemas/list.schema.json)\n"
         "  Exit code 1 when the refresh showed an error.\n",
         {"tsv", "csv", "json", "html"}},
        {"script",
         "[--args \"...\"] script FILE|-",
         "drive the main window's logic from a script",
         "  Runs the commands of FILE (or standard input with -) one a line and\n"
         "  prints every box, window and dialog they show:\n"
         "    activate | tick | tick device | select N|none|all | click NAME\n"
         "    check NAME on|off | choose NAME N | set NAME TEXT | window CLASS\n"
         "    answer Yes|No|OK|Cancel | answer save PATH|cancel\n"
         "    device arrival|removal | clipboard | list | # comment\n"
         "  --args gives the program's command line as the window would see it.\n"
         "  Exit code 1 when an error box was shown, 3 when a line is wrong or a box\n"
         "  is left unanswered.\n",
         {}},
        {"optical",
         "optical LETTER [--format text|json]",
         "what the Optical Information window shows of a drive",
         "  Vendor:, Product ID:, Revision:, Vendor Spec: and Profile: lines, then the\n"
         "  drive's capabilities one a line. LETTER is E, e, E: or E:\\.\n"
         "  --format json  one object with those names and \"Capabilities\" as a list\n"
         "                 (docs/schemas/optical.schema.json)\n",
         {"text", "json"}},
        {"media",
         "media LETTER [--format text|json]",
         "the kind of disc in a CD or DVD drive",
         "  Prints \"E: Contains disk type: DVD-ROM\". A drive that is not a CD or DVD\n"
         "  drive is an error (exit code 1).\n"
         "  --format json  {\"Drive\": \"E:\", \"Disk type\": \"DVD-ROM\"}\n"
         "                 (docs/schemas/media.schema.json)\n",
         {"text", "json"}},
        {"smart",
         "smart DISK [--format text|json]",
         "the S.M.A.R.T. data of a physical disk",
         "  DISK is 0 to 255. Prints the result record field by field, one\n"
         "  tab-separated line per attribute, then Result: and Error:.\n"
         "  Exit code 1 when the read failed.\n"
         "  --format json  one object with the same names, the attributes as a list\n"
         "                 of objects (docs/schemas/smart.schema.json)\n",
         {"text", "json"}},
        {"diskinfo",
         "diskinfo LETTER [--format text|json]",
         "what the Disk Information window shows of a fixed drive",
         "  Name: value lines: the model, serial number, firmware and size of the disk\n"
         "  behind LETTER (E, e, E: or E:\\), its physical disk, partition and bus\n"
         "  type, then the volume's file system, label, serial and cluster size.\n"
         "  Exit code 1, with a Status: line saying why, when the disk did not identify.\n"
         "  --format json  one object with those names; Size and Cluster Size as exact\n"
         "                 byte counts, Partition as a number, null where a field is\n"
         "                 empty (docs/schemas/diskinfo.schema.json)\n",
         {"text", "json"}},
        {"chkdsk",
         "chkdsk LETTER [--fix]",
         "check a drive's file system, as the Check Disk window does",
         "  Runs the system's file-system check on LETTER and prints its log.\n"
         "  --fix  repair what the check finds (the volume must not be in use)\n"
         "  Exit code 1 when the check found problems or could not run.\n",
         {}},
        {"bench",
         "bench LETTER|FOLDER [--size 64M|256M|1G] [--format text|json]",
         "time sequential and random reads and writes on a drive",
         "  Writes and reads a temporary file in FOLDER (the root of LETTER), then\n"
         "  prints MB/s and IOPS as the Drive Benchmark window shows them. The file\n"
         "  is always deleted.\n"
         "  --size         the test file's size (default 64M)\n"
         "  --format json  one object: the folder, the file's size in bytes, the log\n"
         "                 lines, MB/s of the sequential stages and IOPS and MB/s of\n"
         "                 the random ones (docs/schemas/bench.schema.json)\n"
         "  Exit code 1 when the drive is refused or the test failed.\n",
         {"text", "json"}},
        {"usb",
         "usb [--all] [--format text|json]",
         "the disks on USB, as the USB Drives window lists them",
         "  One block per disk: model, serial number, size, media type, interface,\n"
         "  partitions, drive letters and PNP device id.\n"
         "  --all          every disk, not only those on USB\n"
         "  --format json  {\"Disks\": [...], \"Status\": \"...\"}, a disk as an object with\n"
         "                 those names, Size as an exact byte count, the drive letters\n"
         "                 as a list (docs/schemas/usb.schema.json)\n"
         "  Exit code 1 when the management query failed.\n",
         {"text", "json"}},
        {"volumes",
         "volumes [--format text|json]",
         "every volume of the system, as the Volumes window lists them",
         "  One line per volume: its name, drive letters, mount-point folders, drive\n"
         "  type, file system, label, serial, capacity and free space.\n"
         "  Exit code 1 when the search for volumes stopped early.\n"
         "  --format json  {\"Volumes\": [...], \"Status\": \"...\"}, a volume as an object\n"
         "                 keyed by the column names, letters and mount points as\n"
         "                 lists, Capacity and Free as exact byte counts\n"
         "                 (docs/schemas/volumes.schema.json)\n",
         {"text", "json"}},
    };
    return commands;
}

const CommandInfo* FindCommand(const std::string& name) {
    for (const CommandInfo& c : Commands()) {
        if (name == c.name) return &c;
    }
    return nullptr;
}

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

std::string Usage() {
    std::string text;
    for (const CommandInfo& c : Commands()) {
        text +=
            std::string(text.empty() ? "usage: " : "       ") + "tarnwell-cli [--machine FILE] " + c.synopsis + '\n';
    }
    text += "       tarnwell-cli --help | --version | COMMAND --help\n";
    return text;
}

std::string Help() {
    std::string text = Usage() + "\nCommands:\n";
    for (const CommandInfo& c : Commands()) {
        std::string name = c.name;
        name.resize(9, ' ');
        text += "  " + name + c.summary + '\n';
    }
    return text + '\n' + kOptionsHelp + '\n' + kExitCodesHelp;
}

std::string CommandHelp(const CommandInfo& c) {
    std::string summary = c.summary;
    if (!summary.empty() && summary[0] >= 'a' && summary[0] <= 'z')
        summary[0] = static_cast<char>(summary[0] - 'a' + 'A');
    return std::string("usage: tarnwell-cli [--machine FILE] ") + c.synopsis + "\n" + summary + ".\n\n" + c.details +
           '\n' + kOptionsHelp + '\n' + kExitCodesHelp;
}

std::vector<std::string> SplitArgs(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string word; in >> word;) out.push_back(word);
    return out;
}

int List(platform::Platform& platform, const std::string& format, std::ostream& out, std::ostream& err) {
    Application app;
    HeadlessView view;
    HeadlessDialogs dialogs(err);
    TForm1 form(platform, view, dialogs, app);
    form.FormCreate();
    form.Click(MainCommand::Refresh);
    if (format == "tsv") {
        PrintList(form.Rows(), out);
    } else {
        out << inventory::FormatList(form.Rows(), *inventory::ListFormatNamed(format));
    }
    return dialogs.ErrorsShown() == 0 ? kExitSuccess : kExitFailed;
}

// The optical window's view of one drive.
int Optical(platform::Platform& platform, char letter, bool json, std::ostream& out, std::ostream& err) {
    HeadlessDialogs dialogs(err);
    TfrmOpticalInfo form(platform, dialogs);
    form.ShowDrive(letter);
    if (json) {
        const std::string profile = form.InsertedProfileName(letter);
        PrintJson({{"Drive", std::string(1, letter) + ":"},
                   {"Vendor", form.Get(OpticalControl::Vendor).text},
                   {"Product ID", form.Get(OpticalControl::Product).text},
                   {"Revision", form.Get(OpticalControl::Revision).text},
                   {"Vendor Spec", form.Get(OpticalControl::VendorSpecific).text},
                   {"Profile", profile.empty() ? JsonReport(nullptr) : JsonReport(profile)},
                   {"Capabilities", form.Get(OpticalControl::Capabilities).items}},
                  out);
        return kExitSuccess;
    }
    out << "Vendor: " << form.Get(OpticalControl::Vendor).text << '\n'
        << "Product ID: " << form.Get(OpticalControl::Product).text << '\n'
        << "Revision: " << form.Get(OpticalControl::Revision).text << '\n'
        << "Vendor Spec: " << form.Get(OpticalControl::VendorSpecific).text << '\n';
    const std::string profile = form.InsertedProfileName(letter);
    out << "Profile: " << (profile.empty() ? "Unknown" : profile) << '\n';
    for (const std::string& line : form.Get(OpticalControl::Capabilities).items) out << line << '\n';
    return kExitSuccess;
}

int Media(platform::Platform& platform, char letter, bool json, std::ostream& out, std::ostream& err) {
    try {
        const std::string report = TForm1::InsertedMediaReport(platform, letter);
        if (json) {
            constexpr std::string_view kLead = ": Contains disk type: ";
            const size_t at = report.find(kLead);
            PrintJson({{"Drive", std::string(1, letter) + ":"},
                       {"Disk type", at == std::string::npos ? report : report.substr(at + kLead.size())}},
                      out);
            return kExitSuccess;
        }
        out << report << '\n';
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

int Smart(platform::Platform& platform, int disk, bool json, std::ostream& out) {
    diagnostics::TSmartResult result;
    std::string errorText;
    const bool ok = diagnostics::SmartReadDrive(platform, disk, result, errorText);
    if (json) {
        PrintJson(SmartReport(result, ok, errorText), out);
    } else {
        PrintSmartResult(result, ok, errorText, out);
    }
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

// The results as numbers: MB/s of the sequential stages, operations a
// second and MB/s of the random ones (4 KiB each), with the log before them.
JsonReport BenchReport(const diagnostics::BenchResult& r, const std::string& folder, platform::ULONGLONG size,
                       const std::vector<std::string>& log) {
    const auto random = [](double iops) { return JsonReport{{"IOPS", iops}, {"MB/s", iops * 4096 / 1e6}}; };
    return {{"Folder", folder},
            {"Size", size},
            {"Log", log},
            {"Sequential write", {{"MB/s", r.sequentialWriteMBs}}},
            {"Sequential read", {{"MB/s", r.sequentialReadMBs}}},
            {"Random 4 KiB read", random(r.randomReadIops)},
            {"Random 4 KiB write", random(r.randomWriteIops)}};
}

// The log gathered for the report, not printed as it comes.
class CollectingReport final : public diagnostics::TaskReport {
public:
    void Percent(int) override {}
    void Line(const std::string& text) override { lines.push_back(text); }
    bool StopRequested() override { return false; }
    std::vector<std::string> lines;
};

int Bench(platform::Platform& platform, const std::string& folder, platform::ULONGLONG size, bool json,
          std::ostream& out, std::ostream& err) {
    PrintingReport printing(out);
    CollectingReport collecting;
    diagnostics::TaskReport& report = json ? static_cast<diagnostics::TaskReport&>(collecting) : printing;
    const diagnostics::BenchResult result = diagnostics::RunBenchmark(platform.kernel(), {folder, size}, report);
    if (result.outcome != diagnostics::BenchOutcome::Completed) {
        err << "tarnwell-cli: " << result.message << '\n';
        return kExitFailed;
    }
    if (json) {
        PrintJson(BenchReport(result, folder, size, collecting.lines), out);
        return kExitSuccess;
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
            out << Help();
            return kExitSuccess;
        } else if (args[i] == "--version") {
            out << "tarnwell-cli " << TAboutBox::Version() << '\n';
            return kExitSuccess;
        } else {
            break;
        }
    }
    if (i >= args.size()) {
        err << Usage();
        return kExitUsage;
    }
    const std::string command = args[i++];
    const CommandInfo* info = FindCommand(command);
    if (!info) {
        err << "tarnwell-cli: unknown command \"" << Printable(command) << "\"\n" << Usage();
        return kExitUsage;
    }
    const std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
    const bool wantsHelp = std::find_if(rest.begin(), rest.end(),
                                        [](const std::string& a) { return a == "--help" || a == "-h"; }) != rest.end();
    if (wantsHelp) {
        out << CommandHelp(*info);
        return kExitSuccess;
    }
    // The command's own options, anywhere after it; the rest are its arguments.
    std::vector<std::string> operands;
    bool fix = false;
    platform::ULONGLONG benchSize = diagnostics::kBenchSizes[0];
    std::string format = info->formats.empty() ? std::string() : info->formats.front();
    for (; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            out << CommandHelp(*info);
            return kExitSuccess;
        }
        if (args[i] == "--format" && !info->formats.empty()) {
            if (i + 1 >= args.size()) {
                err << "tarnwell-cli: --format needs a name\n" << Usage();
                return kExitUsage;
            }
            format = args[++i];
            if (std::find(info->formats.begin(), info->formats.end(), format) == info->formats.end()) {
                err << "tarnwell-cli: " << command << " has no format \"" << Printable(format) << "\"\n" << Usage();
                return kExitUsage;
            }
            continue;
        }
        if (command == "chkdsk" && args[i] == "--fix") {
            fix = true;
            continue;
        }
        if (command == "bench" && args[i] == "--size") {
            const auto size = i + 1 < args.size() ? BenchSizeArgument(args[++i]) : std::nullopt;
            if (!size) {
                err << "tarnwell-cli: \"" << Printable(args[i]) << "\" is not a test size (64M, 256M, 1G)\n";
                return kExitUsage;
            }
            benchSize = *size;
            continue;
        }
        operands.push_back(args[i]);
    }
    const CommandContext context{haveMachine ? std::optional(machineFile) : std::nullopt, haveArgs, format, out, err};
    if (command == "usb") return UsbCommand(operands, context);
    if (command == "volumes") return VolumesCommand(operands, context);
    const bool driveCommand = command == "optical" || command == "media" || command == "diskinfo";
    const bool diskCommand = command == "smart";
    const size_t wanted = command == "list" ? 0 : 1;
    if (operands.size() != wanted || (command != "script" && haveArgs)) {
        err << Usage();
        return kExitUsage;
    }
    std::optional<char> letter;
    if (driveCommand) {
        letter = platform::ParseDriveLetter(operands[0]);
        if (!letter) {
            err << "tarnwell-cli: \"" << Printable(operands[0]) << "\" is not a drive letter\n" << Usage();
            return kExitUsage;
        }
    }
    std::optional<int> disk;
    if (diskCommand) {
        disk = DiskNumberArgument(operands[0]);
        if (!disk) {
            err << "tarnwell-cli: \"" << Printable(operands[0]) << "\" is not a disk number\n" << Usage();
            return kExitUsage;
        }
    }
    const bool json = format == "json";
    std::string benchFolder;
    if (command == "chkdsk" || command == "bench") {
        const std::optional<char> drive = platform::ParseDriveLetter(operands[0]);
        const bool folder =
            command == "bench" && operands[0].size() > 3 && operands[0][1] == ':' && operands[0][2] == '\\';
        if (!drive && !folder) {
            err << "tarnwell-cli: \"" << Printable(operands[0]) << "\" is not a drive letter\n" << Usage();
            return kExitUsage;
        }
        benchFolder = drive ? platform::RootPath(*drive) : operands[0];
    }

    std::unique_ptr<platform::Platform> platform = OpenPlatform(context.machineFile, err);
    if (!platform) return kExitBadInput;

    if (command == "list") return List(*platform, format, out, err);
    if (command == "chkdsk") return CheckDisk(*platform, benchFolder[0], fix, out);
    if (command == "bench") return Bench(*platform, benchFolder, benchSize, json, out, err);
    if (diskCommand) return Smart(*platform, *disk, json, out);
    if (command == "diskinfo") return DiskInfo(*platform, *letter, json, out, err);
    if (driveCommand) {
        return command == "optical" ? Optical(*platform, *letter, json, out, err)
                                    : Media(*platform, *letter, json, out, err);
    }

    const std::string scriptFile = operands[0];
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
