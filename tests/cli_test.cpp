// tarnwell-cli end to end, in process: the list and script runs over the
// example machines checked line by line against expected output, and bad
// input refused with one clear line and a non-zero exit.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/tform1.h"
#include "cli/cli.h"
#include "test_support.h"

namespace {

struct Result {
    int code;
    std::string out;
    std::string err;
};

// A file of the test's own in the system's temporary folder.
std::string TempFile(const std::string& name, const std::string& content) {
    const std::string path = (std::filesystem::temp_directory_path() / ("tarnwell-cli-test-" + name)).string();
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

Result RunCli(std::vector<std::string> args, const std::string& input = "") {
    std::istringstream in(input);
    std::ostringstream out, err;
    int code = tw::cli::Run(args, in, out, err);
    return {code, out.str(), err.str()};
}

std::string Example(const std::string& name) { return std::string(TW_EXAMPLES_DIR) + "/" + name; }
std::string Data(const std::string& name) { return std::string(TW_TESTDATA_DIR) + "/" + name; }

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    EXPECT_TRUE(in.good()) << path;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void ExpectSameLines(const std::string& actual, const std::string& expectedFile) {
    const auto got = Lines(actual);
    const auto want = Lines(ReadFile(expectedFile));
    for (size_t i = 0; i < std::max(got.size(), want.size()); ++i) {
        EXPECT_EQ(i < got.size() ? got[i] : "<missing>", i < want.size() ? want[i] : "<extra>")
            << expectedFile << " line " << i + 1;
    }
}

TEST(Cli, ListsTheWorkstation) {
    Result r = RunCli({"--machine", Example("workstation.json"), "list"});
    EXPECT_EQ(r.code, 0) << r.err;
    ExpectSameLines(r.out, Data("workstation.list"));
}

TEST(Cli, ListHasOneFieldPerColumnPlusImageAndColour) {
    Result r = RunCli({"--machine", Example("workstation.json"), "list"});
    auto lines = Lines(r.out);
    ASSERT_FALSE(lines.empty());
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto tabs = std::count(lines[i].begin(), lines[i].end(), '\t');
        EXPECT_EQ(tabs, i == 0 ? 13 : 15) << lines[i];
    }
}

TEST(Cli, ScriptDrivesTheWindow) {
    Result r = RunCli({"--machine", Example("workstation.json"), "script", Data("session.script")});
    EXPECT_EQ(r.code, 0) << r.err;
    ExpectSameLines(r.out, Data("session.expected"));
}

TEST(Cli, ScriptFillsTheSubstituteDriveDialog) {
    Result r = RunCli({"--machine", Example("workstation.json"), "script", Data("subst.script")});
    EXPECT_EQ(r.code, 1) << r.err;  // it shows the refusal to remove C:
    ExpectSameLines(r.out, Data("subst.expected"));
}

TEST(Cli, ADialogShownWithoutAnAnswerStopsTheScript) {
    Result r = RunCli({"--machine", Example("workstation.json"), "script", "-"},
                      "set Edit2 T\nclick CreateSubstituteDrive1\n");
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err,
              "tarnwell-cli: -:2: the window \"Substitute Drive\" was shown but no answer OK or Cancel was given\n");
    // A qualified name reaches the dialog's box, a bare one the main window's.
    r = RunCli({"--machine", Example("workstation.json"), "script", "-"},
               "check TFrmSubstDialog.CheckBox1 on\ncheck CheckBox1 off\nlist\n");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Lines(r.out).size(), 6u);  // fixed drives dropped at once: header and five rows
}

TEST(Cli, ScriptDrivesTheOpticalWindowAndTheMediaCommands) {
    Result r = RunCli({"--machine", Example("dvd-workstation.json"), "script", Data("optical.script")});
    EXPECT_EQ(r.code, 1) << r.err;  // it tries to load a fixed disk
    ExpectSameLines(r.out, Data("optical.expected"));
}

TEST(Cli, OpticalAndMediaReportOneDrive) {
    Result r = RunCli({"--machine", Example("dvd-workstation.json"), "optical", "E"});
    EXPECT_EQ(r.code, 0) << r.err;
    ExpectSameLines(r.out, Data("optical-dvd-writer.expected"));
    // The empty drive gives its identity, no current profile and what it can read.
    r = RunCli({"--machine", Example("empty-cdrom.json"), "optical", "d:"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(
        r.out,
        "Vendor: OLDDRIVE\nProduct ID: CD-ROM CR-48X   \nRevision: 2.10\nVendor Spec: \nProfile: No Current Profile\n"
        "Read CD-R\nRead CD-RW\nDevice Buffer: 128k\nMax Read Speed: 48x\nMax Write Speed: 0x\n");
    r = RunCli({"--machine", Example("dvd-workstation.json"), "media", "E:\\"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "E: Contains disk type: DVD-R SequentialRecording,\n");
    r = RunCli({"--machine", Example("dvd-workstation.json"), "media", "C"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "tarnwell-cli: C: CD/DVD drive not selected\n");
    // A drive that cannot be asked is a failure with the system's reason,
    // not a disc of unknown kind.
    const std::string held = TempFile("held-cdrom.json", R"({"drives": {"G": {"type": "DRIVE_CDROM",
        "device": {"open_error": "ERROR_SHARING_VIOLATION", "scsi": {}}}}})");
    r = RunCli({"--machine", held, "media", "G"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              "tarnwell-cli: G: The process cannot access the file because it is being used by another process.\n");
    for (const char* bad : {"", "EE", "1", "E;", "E:/"}) {
        r = RunCli({"--machine", Example("dvd-workstation.json"), "optical", bad});
        EXPECT_EQ(r.code, 2) << bad;
        EXPECT_NE(r.err.find("is not a drive letter"), std::string::npos) << bad;
    }
}

TEST(Cli, SmartPrintsTheHealthyAndTheFailingDisk) {
    struct Case {
        const char* machine;
        const char* expected;
    } cases[] = {{"smart-healthy.json", "smart-healthy.expected"}, {"smart-failing.json", "smart-failing.expected"}};
    for (const Case& c : cases) {
        Result r = RunCli({"--machine", Example(c.machine), "smart", "0"});
        EXPECT_EQ(r.code, 0) << r.err;
        ExpectSameLines(r.out, Data(c.expected));
    }
    Result r = RunCli({"--machine", Example("smart-healthy.json"), "smart", "1"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("Result: false\nError: Unable to open physical drive: "), std::string::npos) << r.out;
    for (const char* bad : {"x", "-1", "256", ""}) EXPECT_EQ(RunCli({"smart", bad}).code, 2) << bad;
}

// The attribute lines of a `smart` or `health` report: those with tabs.
std::vector<std::string> TabLines(const std::string& text) {
    std::vector<std::string> lines;
    for (const std::string& line : Lines(text)) {
        if (line.find('\t') != std::string::npos) lines.push_back(line);
    }
    return lines;
}

TEST(Cli, HealthShowsTheSmartAttributeLinesOnEveryAtaRoute) {
    const Result smart = RunCli({"--machine", Example("smart-healthy.json"), "smart", "0"});
    ASSERT_FALSE(TabLines(smart.out).empty());
    for (const char* disk : {"1", "3", "5"}) {
        const Result r = RunCli({"--machine", Example("disk-health.json"), "health", disk});
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(TabLines(r.out), TabLines(smart.out)) << disk;
    }
    const Result refused = RunCli({"--machine", Example("disk-health.json"), "health", "4"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.out.find("Route: none\n"), std::string::npos) << refused.out;
    EXPECT_TRUE(TabLines(refused.out).empty());
    for (const char* bad : {"x", "-1", "256", ""}) EXPECT_EQ(RunCli({"health", bad}).code, 2) << bad;
}

// The NVMe disk's data units read pass 2^64: exact in both forms, and as
// bytes (units x 512,000).
TEST(Cli, HealthCountersAreExactPast64Bits) {
    const Result text = RunCli({"--machine", Example("disk-health.json"), "health", "0"});
    EXPECT_EQ(text.code, 0) << text.err;
    EXPECT_NE(text.out.find("Route: NVMe\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("Data Units Read: 18446744073709551621 (9444732965739290429952000 bytes)\n"),
              std::string::npos)
        << text.out;
    const Result json = RunCli({"--machine", Example("disk-health.json"), "health", "0", "--format", "json"});
    EXPECT_EQ(json.code, 0) << json.err;
    EXPECT_NE(json.out.find("\"DataUnitsRead\": 18446744073709551621,"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"DataUnitsReadBytes\": 9444732965739290429952000,"), std::string::npos);
    // Still one JSON document; the wide numbers read back as numbers.
    const auto parsed = nlohmann::json::parse(json.out);
    EXPECT_TRUE(parsed["Nvme"]["DataUnitsRead"].is_number());
    EXPECT_EQ(parsed["Nvme"]["DataUnitsWritten"].get<std::uint64_t>(), 48611370u);
}

// The disk windows save what the commands print: the health JSON of the
// disk shown, the Disk Information JSON of the drive, and the text the
// window copies.
TEST(Cli, TheDiskWindowsSaveTheReportsTheCommandsPrint) {
    auto machine = tw::sim::Machine::FromFile(Data("health-routes.json"));
    tw::Application app;
    twtest::RecordingView view;
    twtest::RecordingDialogs dialogs;
    tw::TForm1 form(*machine, view, dialogs, app);
    form.FormCreate();
    form.Click("Refresh1");
    form.Click("SMARTInformation1");
    tw::TfrmSmart& smart = form.Smart();
    smart.Choose("cbDrive", 1);
    machine->QueueSaveAnswer("C:\\out\\worn.json");
    smart.Click("SaveAs1");
    machine->QueueSaveAnswer("C:\\out\\worn");
    smart.Click("SaveAs1");
    smart.Click("Copy1");
    const Result health = RunCli({"--machine", Data("health-routes.json"), "health", "1", "--format", "json"});
    const std::string json = machine->FileText("C:\\out\\worn.json").value_or("");
    EXPECT_EQ(Lines(json), Lines(health.out));
    EXPECT_NE(json.find("\r\n"), std::string::npos);
    const std::string text = machine->FileText("C:\\out\\worn.txt").value_or("");
    EXPECT_EQ(text.rfind("SMART Information\r\nDrive: D: [Worn] \xE2\x80\x94 Disk 1, Kestrel NV2 512GB\r\n", 0), 0u)
        << text;
    EXPECT_NE(text.find("\r\nHealth: Bad\r\n"), std::string::npos) << text;
    EXPECT_EQ(machine->ClipboardText().value_or(""), text);

    form.Click("DiskInformation1");
    form.DiskInfo().Choose("cbDrive", 2);
    machine->QueueSaveAnswer("C:\\out\\own.json");
    form.DiskInfo().Click("SaveAs1");
    const Result info = RunCli({"--machine", Data("health-routes.json"), "diskinfo", "E:", "--format", "json"});
    EXPECT_EQ(Lines(machine->FileText("C:\\out\\own.json").value_or("")), Lines(info.out));
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();

    // A disk that cannot be opened: the JSON says why, as the command would.
    machine->PhysicalDisks()[1].openError = tw::platform::ERROR_ACCESS_DENIED;
    smart.Choose("cbDrive", 1);
    machine->QueueSaveAnswer("C:\\out\\denied.json");
    smart.Click("SaveAs1");
    const auto denied = nlohmann::json::parse(machine->FileText("C:\\out\\denied.json").value_or("{}"));
    EXPECT_EQ(denied.value("Error", ""), "Unable to open physical drive: Access is denied");
    EXPECT_TRUE(denied["Route"].is_null());
}

TEST(Cli, DiskWindowsAndDiskInfoReportTheDiskBehindALetter) {
    Result r = RunCli({"--machine", Example("smart-failing.json"), "script", Data("smart-window.script")});
    EXPECT_EQ(r.code, 0) << r.err;
    ExpectSameLines(r.out, Data("smart-window.expected"));
    // The verdict, its reasons and what was not reported, disk by disk.
    r = RunCli({"--machine", Data("smart-cases.json"), "script", Data("smart-cases.script")});
    EXPECT_EQ(r.code, 0) << r.err;
    ExpectSameLines(r.out, Data("smart-cases.expected"));
    // NVMe disks with their health log, and a disk's own failing status.
    r = RunCli({"--machine", Data("health-routes.json"), "script", Data("health-routes.script")});
    EXPECT_EQ(r.code, 0) << r.err;
    ExpectSameLines(r.out, Data("health-routes.expected"));
    r = RunCli({"--machine", Example("smart-healthy.json"), "diskinfo", "c:"});
    EXPECT_EQ(r.code, 0) << r.err;
    ExpectSameLines(r.out, Data("diskinfo-healthy.expected"));
    // A letter whose volume names no disk: the volume's fields and why not.
    r = RunCli({"--machine", Example("workstation.json"), "diskinfo", "C"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("File System: NTFS\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Status: Cannot find the physical disk of drive C: "), std::string::npos) << r.out;
}

// The JSON reports carry the numbers the text rounds or groups, exactly.
TEST(Cli, JsonReportsGiveExactNumbersAndTheTextFormsExitCode) {
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* pointer;
        nlohmann::json value;
    };
    const Case cases[] = {
        {{"smart-healthy.json", "diskinfo", "C"}, 0, "/Size", 500107862016},
        {{"smart-healthy.json", "diskinfo", "C"}, 0, "/Cluster Size", 4096},
        {{"smart-healthy.json", "diskinfo", "C"}, 0, "/Status", nullptr},
        {{"workstation.json", "diskinfo", "C"}, 1, "/File System", "NTFS"},
        {{"usb-disks.json", "usb"}, 0, "/Disks/1/Size", 2000363420160},
        {{"usb-disks.json", "usb"}, 0, "/Disks/1/Drive Letters", {"F:", "G:"}},
        {{"usb-disks.json", "usb", "--all"}, 0, "/Status", "3 disks"},
        {{"usb-disks.json", "volumes"}, 0, "/Volumes/0/Capacity", 511101108224},
        {{"usb-disks.json", "volumes"}, 0, "/Volumes/1/Drive Letters", nlohmann::json::array()},
        {{"usb-disks.json", "volumes"}, 0, "/Volumes/4/Mount Points", {"C:\\Mount\\Backup\\"}},
        {{"maintenance.json", "bench", "E:"}, 0, "/Size", 67108864},
        {{"maintenance.json", "bench", "e", "--size", "64M"}, 0, "/Folder", "E:\\"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--machine", Example(c.args[0])};
        args.insert(args.end(), c.args.begin() + 1, c.args.end());
        args.insert(args.end(), {"--format", "json"});
        const Result r = RunCli(args);
        EXPECT_EQ(r.code, c.code) << c.pointer << r.err;
        const auto report = nlohmann::json::parse(r.out, nullptr, false);
        ASSERT_FALSE(report.is_discarded()) << r.out;
        const nlohmann::json::json_pointer at(c.pointer);
        ASSERT_TRUE(report.contains(at)) << c.pointer << '\n' << r.out;
        EXPECT_EQ(report[at], c.value) << c.pointer;
    }
    for (const char* command : {"diskinfo", "volumes", "usb", "bench"}) {
        EXPECT_NE(RunCli({command, "--help"}).out.find("--format json"), std::string::npos) << command;
    }
}

TEST(Cli, ScriptFromStandardInputPrintsRaisedErrors) {
    Result r = RunCli({"--machine", Data("raising.json"), "script", "-"}, ReadFile(Data("raising.script")));
    EXPECT_EQ(r.code, 1) << r.err;
    ExpectSameLines(r.out, Data("raising.expected"));
}

TEST(Cli, AnErrorBoxMakesTheScriptFail) {
    Result r =
        RunCli({"--machine", Example("workstation.json"), "script", "-"}, "activate\nselect 0\nclick LockCDDoor1\n");
    EXPECT_NE(r.out.find("[error] Cannot lock/unlock non-CDROM!"), std::string::npos) << r.out;
    EXPECT_EQ(r.code, 1) << r.out;
}

TEST(Cli, ArgsReachTheWindow) {
    Result r = RunCli({"--machine", Example("workstation.json"), "--args", "/NoRefresh", "script", "-"},
                      "activate\nlist\ntick\nselect 7\n");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Lines(r.out).size(), 1u);  // the header of an empty list
}

TEST(Cli, BadScriptLinesAreRefusedWithTheirLineNumber) {
    struct Case {
        std::string script;
        const char* message;
    };
    const Case cases[] = {
        {"activate\n\nfrobnicate\n", "-:3: unknown command \"frobnicate\""},
        {"activate\nselect 8\n", "-:2: row 8 is out of range (the list has 8 rows)"},
        {"select x\n", "-:1: select needs a row number from 0, or none"},
        {"click NoSuchThing\n", "-:1: no component named \"NoSuchThing\""},
        {std::string("click No\0Such\n", 14), "-:1: no component named \"No\\x00Such\""},
        {"click\n", "-:1: \"click\" needs a component name"},
        {"check CheckBox1 maybe\n", "-:1: check needs on or off"},
        {"answer Perhaps\n", "-:1: answer must be Yes, No, OK or Cancel, not \"Perhaps\""},
        {"set Edit9 C:\\\n", "-:1: no edit field named \"Edit9\""},
        {"tick now\n", "-:1: \"tick\" takes no argument"},
        {"answer Yes\n", "-: 1 answer(s) left over: no box asked for them"},
    };
    for (const Case& c : cases) {
        Result r = RunCli({"--machine", Example("workstation.json"), "script", "-"}, c.script);
        EXPECT_EQ(r.code, 3) << c.script;
        EXPECT_EQ(r.err, std::string("tarnwell-cli: ") + c.message + "\n") << c.script;
    }
}

// Every bad input gets one line naming it and what is wrong, and an exit
// code that tells bad usage (2) from a bad input file (3).
TEST(Cli, BadMachineFilesScriptsAndArgumentsAreRefused) {
    const std::string deep = TempFile("deep.json", std::string(100000, '['));
    const std::string huge = TempFile("huge.json", "{\"name\": \"" + std::string(5 * 1024 * 1024, 'x') + "\"}");
    const std::string overflow = TempFile("overflow.json", "1e400");
    const std::string nul = TempFile("nul.json", "{\"na\\u0000me\": 1}");
    const std::string folder = TW_TESTDATA_DIR;
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string message;  // found in the one line of error output
    };
    const std::vector<Case> cases = {
        {{"--machine", Data("malformed.json"), "list"}, 3, "malformed.json: not valid JSON"},
        {{"--machine", Data("misspelt.json"), "list"}, 3, "misspelt.json: drives.C: unknown field \"typ\""},
        {{"--machine", Data("no-such-machine.json"), "list"}, 3, "no-such-machine.json: cannot read the machine file"},
        {{"--machine", overflow, "list"}, 3, "overflow.json: not valid JSON"},
        {{"--machine", deep, "list"}, 3, "deep.json: nested deeper than 32 levels"},
        {{"--machine", huge, "list"}, 3, "huge.json: larger than 4194304 bytes"},
        {{"--machine", nul, "list"}, 3, "nul.json: unknown field \"na\\x00me\""},
        {{"--machine", folder, "list"}, 3, ": is a folder, not a machine file"},
        {{"--machine", "", "list"}, 3, "the machine file name is empty"},
        {{"--machine", Example("workstation.json"), "script", Data("no-such.script")},
         3,
         "no-such.script: cannot read the script"},
        {{"--machine", Example("workstation.json"), "script", folder}, 3, ": is a folder, not a script"},
        {{"explode"}, 2, "unknown command \"explode\""},
        {{"ex\x01plode"}, 2, "unknown command \"ex\\x01plode\""},
        {{}, 2, "usage:"},
        {{"list", "extra"}, 2, "usage:"},
        {{"list", "--format", "xml"}, 2, "list has no format \"xml\""},
        {{"volumes", "--format", "xml"}, 2, "volumes has no format \"xml\""},
        {{"usb", "--all", "--format", "tsv"}, 2, "usb has no format \"tsv\""},
        {{"bench", "E", "--format"}, 2, "--format needs a name"},
        {{"script", "--format", "json", "-"}, 2, "usage:"},
    };
    for (const Case& c : cases) {
        Result r = RunCli(c.args);
        EXPECT_EQ(r.code, c.code) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty()) << c.message;
    }
}

}  // namespace
