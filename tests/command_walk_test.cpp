// Every entry of the main window's command table, clicked on the simulated
// machine, does what it is for: a request to the system, a box, a window, a
// change of the list or of a mark. The shell, network and system-tool
// commands send exactly their request, or report why the system refused it.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "app/application.h"
#include "app/tform1.h"
#include "cli/headless.h"
#include "cli/request_printer.h"
#include "test_support.h"

namespace {

using tw::MainCommand;

// Boxes, windows and the hourglass as lines; questions are answered No,
// modal windows Cancel.
class PrintingDialogs final : public tw::Dialogs {
public:
    explicit PrintingDialogs(std::ostream& out) : out_(out) {}
    tw::ModalResult MessageBox(const std::string& text, tw::BoxKind, tw::Buttons buttons) override {
        out_ << "[box] " << text << '\n';
        return buttons == tw::Buttons::YesNo ? tw::ModalResult::No : tw::ModalResult::Cancel;
    }
    void ShowError(const std::string& text) override { out_ << "[error] " << text << '\n'; }
    tw::ModalResult ShowModal(tw::FormLogic& form) override {
        out_ << "[dialog] " << form.ClassName() << '\n';
        return tw::ModalResult::Cancel;
    }
    void Show(tw::FormLogic& form) override { out_ << "[window] " << form.ClassName() << '\n'; }
    void SetWaitCursor(bool wait) override { out_ << "[cursor] " << (wait ? "hourglass" : "default") << '\n'; }
    std::uintptr_t OwnerWindow() override { return 0; }

private:
    std::ostream& out_;
};

// The main window over a machine, the list refreshed and one drive selected.
struct Window {
    explicit Window(const std::string& machineJson = {}, char letter = 'C')
        : machine(machineJson.empty() ? twtest::ExampleMachine("dvd-workstation.json")
                                      : twtest::MachineFromText(machineJson)),
          platform(*machine, out),
          view(out),
          dialogs(out),
          form(platform, view, dialogs, app) {
        form.FormCreate();
        form.Click(MainCommand::Refresh);
        form.Select(-1);
        for (int i = 0; i < static_cast<int>(form.Rows().size()); ++i) {
            if (form.Rows()[static_cast<size_t>(i)].Letter() == letter) form.Select(i);
        }
        out.str("");
    }

    // What one click did, as lines.
    std::string Click(const std::string& name) {
        const auto rows = form.Rows().size();
        const auto devices = machine->DeviceRequests().size();
        const auto mci = machine->MciCalls().size();
        const auto writes = machine->RegistryWrites().size();
        const auto saves = machine->SaveDialogs().size();
        const auto clipboard = machine->ClipboardText();
        const auto marked = form.Marked().size();
        std::map<std::string, bool> marks;
        for (const std::string& n : twtest::NamesOf(form)) marks[n] = form.Get(n).checked;
        form.Click(name);
        if (form.Rows().size() != rows) out << "[list] " << form.Rows().size() << " rows\n";
        if (machine->DeviceRequests().size() != devices) out << "[device] request\n";
        if (machine->MciCalls().size() != mci) out << "[mci] call\n";
        if (machine->RegistryWrites().size() != writes) out << "[registry] write\n";
        if (machine->SaveDialogs().size() != saves) out << "[save] dialog\n";
        if (machine->ClipboardText() != clipboard) out << "[clipboard] text\n";
        if (form.Marked().size() != marked) out << "[marked] " << form.Marked().size() << " rows\n";
        for (const auto& [n, was] : marks) {
            if (form.Get(n).checked != was) out << "[mark] " << n << (was ? " off" : " on") << '\n';
        }
        return out.str();
    }

    std::ostringstream out;
    std::unique_ptr<tw::sim::Machine> machine;
    tw::cli::PrintingPlatform platform;
    tw::Application app;
    tw::cli::HeadlessView view;
    PrintingDialogs dialogs;
    tw::TForm1 form;
};

// Present in the list's pop-up menu but never shown, and without an action.
const std::set<std::string> kNeverShown = {"Stayontop1", "Settings1", "Diskflags1"};

const std::string kExplore =
    R"([shell] ShellExecuteA verb="explore" file="E:\" parameters="" directory="" show=1 window=0 -> 42)";
const std::string kProperties =
    R"([cursor] hourglass
[shell] ShellExecuteExA size=)" +
    std::to_string(tw::platform::kShellExecuteInfo.size) +
    R"( mask=0x44C verb="properties" file="E:" parameters=null directory=null show=0 window=0 -> TRUE
[cursor] default
)";
const std::string kFindFiles = "[automation] Shell.Application.findfiles -> 0x00000000\n";
const std::string kDefrag =
    R"([shell] ShellExecuteA verb="" file="C:\WINDOWS\system32\dfrgui.exe" parameters=null directory=null show=1 window=0 -> 42)";
const std::string kMap = "[network] WNetConnectionDialog type=1 window=0 -> 0\n";
const std::string kDisconnect = "[network] WNetDisconnectDialog type=1 window=0 -> 0\n";

struct Expected {
    const char* name;
    std::string output;  // the whole output, or a part of it where `part` is set
    bool part = false;
};

// The selected drive is E, the DVD writer.
const Expected kExpected[] = {
    {"Explorer1", "[cursor] hourglass\n" + kExplore + "\n[cursor] default\n"},
    {"ToolButton2", kExplore + "\n"},
    {"Explore1", kExplore + "\n"},
    {"Properties1", kProperties},
    {"ToolButton7", kProperties},
    {"Properties2", kProperties},
    {"SearchDrive1", kFindFiles},
    {"SearchDrives1", kFindFiles},
    {"SearchDrives2", kFindFiles},
    {"MinimizeAll1", "[automation] Shell.Application.minimizeall -> 0x00000000\n"},
    {"MinimizeAll2", "[automation] Shell.Application.MinimizeAll -> 0x00000000\n"},
    {"MapNetworkDrive1", kMap},
    {"MapNetworkDrive2", kMap},
    {"DisconnectNetworkDrive1", kDisconnect},
    {"DisconnectNetworkDrive2", kDisconnect},
    {"FormatDisk1",
     R"([shell] ShellExecuteA verb="Open" file="C:\WINDOWS\system32\Rundll32.exe" parameters=""C:\WINDOWS\system32\Shell32.dll",SHFormatDrive" directory="C:\WINDOWS\" show=1 window=0 -> 42
)"},
    {"Defrag1", kDefrag + "\n"},
    {"Defrag2", kDefrag + "\n"},
    {"NTBackup1",
     R"([shell] ShellExecuteA verb="open" file="C:\WINDOWS\system32\sdclt.exe" parameters=null directory=null show=1 window=0 -> 42
)"},
    {"NTBackupRestore2",
     R"([shell] ShellExecuteA verb="" file="C:\WINDOWS\system32\sdclt.exe" parameters=null directory=null show=1 window=0 -> 42
)"},
    {"RemoveUSBDrive1",
     R"([run] WinExec ""C:\WINDOWS\system32\rundll32.exe" "C:\WINDOWS\system32\shell32.dll",Control_RunDLL "C:\WINDOWS\system32\hotplug.dll"" 5 -> 33
)"},
    {"TarnwellHomepage1", "file=\"https://tarnwell.example/tarnwell/\"", true},
    {"Donate1", "file=\"https://tarnwell.example/donate/\"", true},
    {"Label2", "file=\"https://tarnwell.example/\"", true},
    {"Label3", "file=\"https://tarnwell.example/\"", true},
    {"OpticalInformation1", "[window] TfrmOpticalInfo\n"},
    {"SMARTInformation1", "[window] TfrmSmart\n", true},
    {"ToolButton9", "[window] TfrmSmart\n", true},
    {"DiskInformation1", "[window] TfrmDiskInfo\n", true},
    {"ToolButton8", "[window] TfrmDiskInfo\n", true},
    {"CheckDisk1", "[window] TfrmCheckDisk\n", true},
    {"ToolButton11", "[window] TfrmCheckDisk\n", true},
    {"DriveBenchmark1", "[window] TfrmBenchMark\n", true},
    {"DriveBenchmark2", "[window] TfrmBenchMark\n", true},
    {"ToolButton13", "[window] TfrmOpticalInfo\n"},
    {"About1", "[dialog] TAboutBox\n"},
    {"About2", "[dialog] TAboutBox\n"},
    {"CreateSubstituteDrive1", "[dialog] TFrmSubstDialog\n"},
    {"ToolButton10", "[dialog] TFrmSubstDialog\n"},
    {"Refresh1", "[list] 1 rows\n", true},
    {"Refresh2", "[list] 1 rows\n", true},
    {"ToolButton1", "[list] 1 rows\n", true},
    {"Close1", "[view] close\n"},
    {"Close2", "[view] close\n"},
    {"Exit1", "[view] close\n"},
    {"Exit2", "[view] close\n"},
    {"ToolButton12", "[view] close\n"},
    {"Minimize1", "[view] minimize\n"},
    {"Minimize2", "[view] minimize\n"},
    {"Hide1", "[view] hide\n"},
    {"Restore1", "[view] restore\n"},
    {"StayonTop3", "[view] stay on top\n[mark] CheckBox7 on\n[mark] Stayontop2 on\n"},
    {"Bold2", "[mark] Bold1 off\n"},
    {"AutoRefresh2", "[mark] AutoRefresh1 off\n[mark] CheckBox6 off\n"},
    {"SkipAandBdrives2", "[mark] SkipAandBdrives1 off\n"},
    {"EjectSelectedDrive1", "[device] request\n"},
    {"ToolButton3", "[device] request\n"},
    {"CloseSelectedDrive1", "[device] request\n"},
    {"LoadCD1", "[device] request\n"},
    {"LoadCD2", "[device] request\n"},
    {"EjectDefaultCD1", "[mci] call\n"},
    {"OpendefaultCD1", "[mci] call\n"},
    {"CloseDefaultCD1", "[mci] call\n"},
    {"InsertedMediaType1", "[box] E: Contains disk type: DVD-R SequentialRecording", true},
};

const Expected* ExpectationOf(const std::string& name) {
    for (const Expected& e : kExpected) {
        if (name == e.name) return &e;
    }
    return nullptr;
}

TEST(CommandWalk, EveryEntryOfTheTableDoesWhatItIsFor) {
    const Window probe("", 'E');
    int walked = 0;
    for (const std::string& name : twtest::NamesOf(probe.form)) {
        if (kNeverShown.count(name)) continue;
        Window window("", 'E');
        // Drives leave the machine, so that a refresh shows on the list.
        for (char gone : {'C', 'F', 'G'}) window.machine->Drives()[gone].present = false;
        window.machine->Drives()['C'].type = tw::platform::DRIVE_NO_ROOT_DIR;
        const std::string output = window.Click(name);
        ++walked;
        EXPECT_FALSE(output.empty()) << name << " does nothing";
        if (const Expected* e = ExpectationOf(name)) {
            if (e->part) {
                EXPECT_NE(output.find(e->output), std::string::npos) << name << ":\n" << output;
            } else {
                EXPECT_EQ(output, e->output) << name;
            }
        }
        EXPECT_EQ(window.machine->OpenHandleCount(), 0) << name;
        EXPECT_EQ(window.machine->OpenAutomationObjectCount(), 0) << name;
    }
    EXPECT_GT(walked, 80);
}

TEST(CommandWalk, WithoutASelectionOnlyExploreAndPropertiesDoNothing) {
    const struct {
        const char* name;
        bool acts;
    } kCases[] = {
        {"Explorer1", false},
        {"ToolButton2", false},
        {"Explore1", false},
        {"Properties1", false},
        {"ToolButton7", false},
        {"Properties2", false},
        {"SearchDrive1", true},
        {"MinimizeAll1", true},
        {"Defrag1", true},
        {"MapNetworkDrive1", true},
        {"DisconnectNetworkDrive1", true},
        {"NTBackup1", true},
        {"RemoveUSBDrive1", true},
        {"Donate1", true},
    };
    for (const auto& c : kCases) {
        Window window("", 'E');
        window.form.Select(-1);
        EXPECT_EQ(window.Click(c.name).empty(), !c.acts) << c.name;
    }
}

// An older system: its own folders, and the programs the menu names by
// their old names are present.
constexpr const char* kOlderSystem = R"({
  "drives": {"C": {"type": "DRIVE_FIXED", "volume": {"label": "Sys", "file_system": "NTFS"},
                   "space": {"total": 1000, "free": 500}}},
  "directories": {"windows": "D:\\WINNT", "system": "D:\\WINNT\\system32"},
  "files": {"D:\\WINNT\\system32\\dfrg.msc": {"text": ""}, "D:\\WINNT\\system32\\ntbackup.exe": {"text": ""}}
})";

TEST(CommandWalk, SystemToolsFollowTheSystemsFoldersAndPrograms) {
    const Expected kCases[] = {
        {"FormatDisk1",
         R"(file="D:\WINNT\system32\Rundll32.exe" parameters=""D:\WINNT\system32\Shell32.dll",SHFormatDrive" directory="D:\WINNT\")",
         true},
        {"Defrag1", R"(verb="" file="D:\WINNT\system32\dfrg.msc" parameters=null)", true},
        {"NTBackup1", R"(verb="open" file="D:\WINNT\system32\ntbackup.exe" parameters=null)", true},
        {"NTBackupRestore2", R"(verb="" file="D:\WINNT\system32\ntbackup.exe" parameters=null)", true},
        {"RemoveUSBDrive1", R"([run] WinExec ""D:\WINNT\system32\rundll32.exe" "D:\WINNT\system32\shell32.dll",)",
         true},
    };
    for (const Expected& c : kCases) {
        Window window(kOlderSystem);
        EXPECT_NE(window.Click(c.name).find(c.output), std::string::npos) << c.name;
    }
}

TEST(CommandWalk, ARefusedRequestNamesWhatCouldNotStartAndWhy) {
    const struct {
        const char* refusal;
        const char* name;
        const char* box;  // null: no box
    } kCases[] = {
        {R"({"call": "ShellExecuteA", "file": "C:\\WINDOWS\\system32\\dfrgui.exe", "error": "ERROR_FILE_NOT_FOUND"})",
         "Defrag1", "Could not start C:\\WINDOWS\\system32\\dfrgui.exe: The system cannot find the file specified."},
        {R"({"call": "ShellExecuteA", "verb": "explore", "error": "ERROR_ACCESS_DENIED"})", "ToolButton2",
         "Could not open C:\\ in Explorer: Access is denied."},
        {R"({"call": "ShellExecuteExA", "error": "ERROR_NO_ASSOCIATION"})", "Properties1",
         "Could not open the properties of C: No application is associated with the specified file for this "
         "operation."},
        {R"({"call": "CreateAutomationObject", "error": "REGDB_E_CLASSNOTREG"})", "SearchDrive1",
         "Could not open the search for files: Class not registered."},
        {R"({"call": "InvokeMethod", "verb": "minimizeall", "error": "DISP_E_EXCEPTION"})", "MinimizeAll1",
         "Could not minimise all windows: Exception occurred."},
        {R"({"call": "InvokeMethod", "verb": "MinimizeAll", "error": "DISP_E_EXCEPTION",
             "description": "The shell is not running"})",
         "MinimizeAll2", "Could not minimise all windows: The shell is not running."},
        {R"({"call": "WinExec", "error": "ERROR_FILE_NOT_FOUND"})", "RemoveUSBDrive1",
         "Could not start \"C:\\WINDOWS\\system32\\rundll32.exe\" "
         "\"C:\\WINDOWS\\system32\\shell32.dll\",Control_RunDLL "
         "\"C:\\WINDOWS\\system32\\hotplug.dll\": The system cannot find the file specified."},
        {R"({"call": "WNetConnectionDialog", "error": "ERROR_NO_NETWORK"})", "MapNetworkDrive1",
         "Could not open the Map Network Drive dialog: The network is not present or not started."},
        {R"({"call": "WNetDisconnectDialog", "error": 4294967295})", "DisconnectNetworkDrive1", nullptr},
        {R"({"call": "ShellExecuteA", "file": "https://tarnwell.example/", "error": "ERROR_NO_ASSOCIATION"})", "Label2",
         "Could not open https://tarnwell.example/: No application is associated with the specified file for "
         "this operation."},
    };
    for (const auto& c : kCases) {
        std::string json = R"({"drives": {"C": {"type": "DRIVE_FIXED"}}, "shell": {"refuse": [)";
        Window window(json + c.refusal + "]}}");
        const std::string output = window.Click(c.name);
        const size_t box = output.find("[box] ");
        if (!c.box) {
            EXPECT_EQ(box, std::string::npos) << c.name << ":\n" << output;
            continue;
        }
        ASSERT_NE(box, std::string::npos) << c.name << ":\n" << output;
        EXPECT_EQ(output.substr(box + 6, output.find('\n', box) - box - 6), c.box);
        EXPECT_EQ(window.machine->OpenAutomationObjectCount(), 0) << c.name;
    }
}

}  // namespace
