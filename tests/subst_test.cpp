// Substitute drives: the device-name requests made, the start-up line and the
// logon entry, the dialog's fields between uses, and the input the commands
// refuse.
#include <gtest/gtest.h>

#include "actions/logon_entry.h"
#include "actions/substitution.h"
#include "app/tform1.h"
#include "test_support.h"

namespace {

namespace inv = tw::inventory;

constexpr const char* kMachine = R"({
  "folders": ["C:\\work", "C:\\tools", "C:\\Tom & Jerry", "C:\\Program Files", "C:\\100%done",
              "C:\\Tom & Jerry %PATH% ^x", "C:\\中文 Ελληνικά"],
  "drives": {
    "Q": {"present": false, "define_error": "ERROR_ACCESS_DENIED"},
    "C": {"volume": {"label": "System", "serial": "11112222", "file_system": "NTFS"},
          "space": {"total": 2147483648, "free": 1073741824}},
    "D": {"type": "DRIVE_CDROM", "volume": {"error": "ERROR_NOT_READY"}, "space": {"error": "ERROR_NOT_READY"}},
    "W": {"volume": {"label": "System", "serial": "11112222", "file_system": "NTFS"},
          "space": {"total": 2147483648, "free": 1073741824}, "dos_device": "\\??\\C:\\work"}}})";

class Subst : public ::testing::Test {
protected:
    void Open(const std::string& json = kMachine) {
        machine_ = twtest::MachineFromText(json);
        form_ = std::make_unique<tw::TForm1>(*machine_, view_, dialogs_, app_);
        form_->FormCreate();
        form_->Click("Refresh1");
    }
    // Fills the dialog as the user would and answers it with `answer`.
    void Create(const std::string& letter, const std::string& path, bool startup,
                tw::ModalResult answer = tw::ModalResult::OK) {
        auto& dialog = form_->SubstDialog();
        dialog.SetText("Edit2", letter);
        dialog.SetText("Edit1", path);
        dialog.SetChecked("CheckBox1", startup);
        dialogs_.modalAnswers.push_back(answer);
        form_->Click("ToolButton10");
    }
    std::string Captions() const {
        std::string s;
        for (const auto& r : form_->Rows()) s += r.caption;
        return s;
    }
    const inv::DriveRow* Row(char letter) const {
        for (const auto& r : form_->Rows()) {
            if (r.Letter() == letter) return &r;
        }
        return nullptr;
    }
    void SelectRow(char letter) {
        form_->Select(Row(letter) ? static_cast<int>(Row(letter) - form_->Rows().data()) : -1);
    }
    std::optional<std::string> Startup() const { return machine_->FileText("c:\\autoexec.bat"); }
    // Our logon entry for `letter` as "REG_SZ" data with its zero; none when
    // there is none.
    std::optional<std::string> LogonEntry(char letter) const {
        const auto value = machine_->RegistryValue(kRun, tw::actions::LogonEntryName(letter));
        if (!value || value->type != tw::platform::REG_SZ) return std::nullopt;
        return std::string(value->data.begin(), value->data.end());
    }
    static constexpr const char* kRun = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";

    std::unique_ptr<tw::sim::Machine> machine_;
    tw::Application app_;
    twtest::RecordingView view_;
    twtest::RecordingDialogs dialogs_;
    std::unique_ptr<tw::TForm1> form_;
};

TEST_F(Subst, CreateDefinesTheLetterAndTheListShowsIt) {
    Open();
    Create("s", "C:\\work\\", false);
    EXPECT_TRUE(dialogs_.errors.empty());
    ASSERT_NE(Row('S'), nullptr);
    EXPECT_EQ(Row('S')->cells[inv::kType], "Subst");
    // The path goes to the system as entered, its trailing backslash kept.
    EXPECT_EQ(Row('S')->cells[inv::kAdditionalInfo], "C:\\work\\");
    EXPECT_EQ(tw::actions::QuerySubstitution(machine_->kernel(), 'S'), "C:\\work\\");
    EXPECT_FALSE(Startup().has_value());
    EXPECT_TRUE(machine_->RegistryWrites().empty());
    EXPECT_EQ(machine_->OpenHandleCount(), 0);
}

TEST_F(Subst, StartupLinesAreAppendedNeverMerged) {
    Open();
    Create("S", "C:\\work", true);
    EXPECT_EQ(Startup(), "subst S: \"C:\\work\"\r\n");
    // The dialog keeps its fields: OK again appends the same line again, once
    // the letter is free again.
    SelectRow('S');
    form_->Click("Unsubst2");
    dialogs_.modalAnswers.push_back(tw::ModalResult::OK);
    form_->Click("CreateSubstituteDrive1");
    EXPECT_EQ(Startup(), "subst S: \"C:\\work\"\r\nsubst S: \"C:\\work\"\r\n");
    // Removing never edits the file.
    SelectRow('S');
    form_->Click("Unsubst2");
    EXPECT_EQ(Startup(), "subst S: \"C:\\work\"\r\nsubst S: \"C:\\work\"\r\n");
    EXPECT_EQ(machine_->OpenHandleCount(), 0);
}

TEST_F(Subst, AppendsToAnExistingStartupFileOnALineOfItsOwnBeforeItsEndMarks) {
    const std::string line = "subst T: \"C:\\tools\"\r\n";
    const std::pair<const char*, std::string> cases[] = {
        {R"(@echo off\r\n)", "@echo off\r\n" + line},
        // No line break at the end: the new line must not run on from the last.
        {R"(@echo off)", "@echo off\r\n" + line},
        // The interpreter stops at the first end-of-file mark (Ctrl-Z).
        {R"(@echo off\r\n\u001a)", "@echo off\r\n" + line + "\x1a"},
        {R"(@echo off\u001a)", "@echo off\r\n" + line + "\x1a"},
        {R"(@echo off\u001a\u001a)", "@echo off\r\n" + line + "\x1a\x1a"},
        {R"(\u001a)", line + "\x1a"},
        {R"()", line},
    };
    for (const auto& [before, after] : cases) {
        Open(std::string(kMachine).insert(
            1, std::string(R"("files": {"C:\\AUTOEXEC.BAT": {"text": ")") + before + R"("}}, )"));
        Create("T", "C:\\tools", true);
        EXPECT_EQ(Startup(), after) << before;
        EXPECT_EQ(machine_->OpenHandleCount(), 0);
    }
}

TEST_F(Subst, TheStartupLineRunsTheSubstitutionAskedForAndNothingElse) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Tom & Jerry", "subst T: \"C:\\Tom & Jerry\"\r\n"},
        {"C:\\Program Files", "subst T: \"C:\\Program Files\"\r\n"},
        {"C:\\100%done", "subst T: \"C:\\100%%done\"\r\n"},
        // A backslash before the closing quote would escape it.
        {"C:\\tools\\", "subst T: \"C:\\tools\\\\\"\r\n"},
    };
    for (const auto& [folder, line] : cases) {
        Open();
        Create("T", folder, true);
        EXPECT_EQ(Startup(), line) << folder;
        EXPECT_EQ(tw::actions::QuerySubstitution(machine_->kernel(), 'T'), folder);
    }
}

TEST_F(Subst, AStartupFileThatCannotBeWrittenIsExplainedAndTheListRefreshed) {
    const std::pair<const char*, const char*> cases[] = {
        {R"("files": {"C:\\AUTOEXEC.BAT": {"open_error": "ERROR_SHARING_VIOLATION"}}, )",
         "The process cannot access the file because it is being used by another process."},
        {R"("files": {"C:\\AUTOEXEC.BAT": {"text": "", "write_error": "ERROR_DISK_FULL"}}, )",
         "There is not enough space on the disk."},
    };
    // The logon entry was written: the message says so before what failed.
    const std::string made =
        "Drive S: was made. The substitution will be restored at your next logon. The line could not be added to "
        "c:\\autoexec.bat: ";
    for (const auto& [files, why] : cases) {
        Open(std::string(kMachine).insert(1, files));
        Create("S", "C:\\work", true);
        EXPECT_EQ(dialogs_.errors, std::vector<std::string>{made + why});
        EXPECT_TRUE(LogonEntry('S').has_value());
        ASSERT_NE(Row('S'), nullptr);
        EXPECT_EQ(Row('S')->cells[inv::kAdditionalInfo], "C:\\work");
        EXPECT_EQ(machine_->OpenHandleCount(), 0);
        EXPECT_EQ(machine_->OpenKeyCount(), 0);
        dialogs_.errors.clear();
    }
    // A folder in the file's place, as the root of C: is to an ordinary
    // account: access is denied.
    Open(R"({"folders": ["C:\\work", "C:\\autoexec.bat"], "drives": {"C": {"space": {"total": 1, "free": 1}}}})");
    Create("S", "C:\\work", true);
    EXPECT_EQ(dialogs_.errors, std::vector<std::string>{made + "Access is denied."});
    EXPECT_NE(Row('S'), nullptr);
}

TEST_F(Subst, TheNineXFamilyGetsTheStartupLineAlone) {
    Open(std::string(kMachine).insert(1, R"("version": {"major": 4, "minor": 10, "build": 2222, "platform_id": 1}, )"));
    Create("S", "C:\\work", true);
    EXPECT_TRUE(dialogs_.errors.empty());
    EXPECT_EQ(Startup(), "subst S: \"C:\\work\"\r\n");
    EXPECT_TRUE(machine_->RegistryWrites().empty());
}

TEST_F(Subst, TheLogonEntryRunsTheSystemsSubstOnTheFolderAndNothingElse) {
    const std::string windows = R"("directories": {"windows": "C:\\Windows", "system": "C:\\Windows\\system32"}, )";
    const std::pair<const char*, const char*> cases[] = {
        // No shell runs the entry and REG_SZ is not expanded: "&", "^" and "%"
        // go to subst.exe as they are.
        {"C:\\Tom & Jerry %PATH% ^x", "C:\\Windows\\system32\\subst.exe S: \"C:\\Tom & Jerry %PATH% ^x\""},
        {"C:\\中文 Ελληνικά", "C:\\Windows\\system32\\subst.exe S: \"C:\\中文 Ελληνικά\""},
        // A backslash before the closing quote would escape it.
        {"C:\\tools\\", "C:\\Windows\\system32\\subst.exe S: \"C:\\tools\\\\\""},
    };
    for (const auto& [folder, command] : cases) {
        Open(std::string(kMachine).insert(1, windows));
        Create("S", folder, true);
        EXPECT_TRUE(dialogs_.errors.empty()) << folder;
        EXPECT_EQ(LogonEntry('S'), command + std::string(1, '\0')) << folder;
        EXPECT_EQ(machine_->OpenKeyCount(), 0);
    }
}

TEST_F(Subst, AnEntryThatCannotBeWrittenIsExplained) {
    const std::string refused =
        R"("registry": {"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run": )"
        R"({"set_error": "ERROR_ACCESS_DENIED"}}, )";
    Open(std::string(kMachine).insert(1, refused));
    Create("S", "C:\\work", true);
    EXPECT_EQ(dialogs_.errors,
              std::vector<std::string>{"Drive S: was made and its line added to c:\\autoexec.bat, but the "
                                       "substitution could not be registered for your next logon: Access is denied."});
    EXPECT_EQ(Startup(), "subst S: \"C:\\work\"\r\n");
    EXPECT_EQ(machine_->OpenKeyCount(), 0);
    dialogs_.errors.clear();
    // The shell runs no command line longer than 260 characters: none is
    // written.
    const std::string folder = "C:\\" + std::string(250, 'f');
    Open(std::string(kMachine).replace(std::string(kMachine).find("C:\\\\work"), 0,
                                       "C:\\\\" + std::string(250, 'f') + "\", \""));
    Create("L", folder, true);
    EXPECT_EQ(dialogs_.errors,
              std::vector<std::string>{"Drive L: was made and its line added to c:\\autoexec.bat, but the "
                                       "substitution could not be registered for your next logon: The filename or "
                                       "extension is too long."});
    EXPECT_FALSE(LogonEntry('L').has_value());
}

TEST_F(Subst, RemovingASubstitutionRemovesOurEntryForItsLetterAlone) {
    Open(std::string(kMachine).insert(
        1, R"("registry": {"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run": {"values": {)"
           R"("Other": {"type": "REG_SZ", "data": "C:\\other.exe"}}}}, )"));
    Create("S", "C:\\work", true);
    Create("T", "C:\\tools", true);
    SelectRow('S');
    form_->Click("Unsubst2");
    EXPECT_TRUE(dialogs_.errors.empty());
    EXPECT_FALSE(LogonEntry('S').has_value());
    EXPECT_TRUE(LogonEntry('T').has_value());
    EXPECT_TRUE(machine_->RegistryValue(kRun, "Other").has_value());
    EXPECT_EQ(machine_->OpenKeyCount(), 0);
}

TEST_F(Subst, CancelChangesNothing) {
    Open();
    const int refreshes = machine_->CallCount(tw::sim::SimCall::GetLogicalDrives);
    Create("S", "C:\\work", true, tw::ModalResult::Cancel);
    EXPECT_EQ(machine_->CallCount(tw::sim::SimCall::DefineDosDeviceA), 0);
    EXPECT_EQ(machine_->CallCount(tw::sim::SimCall::GetLogicalDrives), refreshes);
    EXPECT_FALSE(Startup().has_value());
}

TEST_F(Subst, RefusesInputThatWouldDoHarm) {
    struct Case {
        const char* letter;
        const char* path;
        const char* error;
    };
    const Case cases[] = {
        {"", "C:\\work", "Enter a drive letter from A to Z for the substitute drive."},
        {"1", "C:\\work", "Enter a drive letter from A to Z for the substitute drive."},
        {"S", "", "Enter the folder the substitute drive is to stand for."},
        {"S", "C:\\work\r\nformat c:", "The folder must not contain control characters."},
        {"S", "C:\\wo\trk", "The folder must not contain control characters."},
        // A definition over a drive in use would hide the drive.
        {"C", "C:\\work", "Drive C: is already in use."},
        {"W", "C:\\tools", "Drive W: is already in use."},
        {"S", "C:\\nowhere", "The folder C:\\nowhere does not exist."},
        // The system refuses the definition: its own words say why.
        {"Q", "C:\\work", "Drive Q: could not be made: Access is denied."},
    };
    for (const Case& c : cases) {
        Open();
        Create(c.letter, c.path, true);
        EXPECT_EQ(dialogs_.errors, std::vector<std::string>{c.error}) << c.path;
        EXPECT_EQ(machine_->CallCount(tw::sim::SimCall::DefineDosDeviceA), c.letter[0] == 'Q' ? 1 : 0);
        EXPECT_FALSE(Startup().has_value());
        EXPECT_TRUE(machine_->RegistryWrites().empty()) << c.path;
        dialogs_.errors.clear();
    }
}

TEST_F(Subst, TheLetterFieldTakesOneCapital) {
    Open();
    auto& dialog = form_->SubstDialog();
    dialog.SetText("Edit2", "qx");
    EXPECT_EQ(dialog.Letter(), "Q");
    EXPECT_EQ(dialog.Caption(), "Substitute Drive");
}

TEST_F(Subst, RemoveTakesOnlySubstitutions) {
    Open();
    ASSERT_EQ(Captions(), "C: D: W: ");
    form_->Select(2);
    form_->Click("RemoveSubstituteDrive1");
    EXPECT_EQ(Captions(), "C: D: ");
    EXPECT_TRUE(dialogs_.errors.empty());
    // A real drive is refused: removing its mapping would take the drive away.
    form_->Select(0);
    form_->Click("Unsubst2");
    EXPECT_EQ(dialogs_.errors, std::vector<std::string>{"Drive C: is not a substitute drive."});
    EXPECT_EQ(Captions(), "C: D: ");
    EXPECT_EQ(machine_->CallCount(tw::sim::SimCall::DefineDosDeviceA), 1);
    // Nothing selected: nothing happens.
    form_->Select(-1);
    form_->Click("RemoveSubstituteDrive1");
    EXPECT_EQ(dialogs_.errors.size(), 1u);
}

TEST_F(Subst, ASubstitutionOfALongFolderIsShownAndRemoved) {
    const std::string folder = "C:\\" + std::string(250, 'f');
    Open(std::string(kMachine).replace(std::string(kMachine).find("C:\\\\work"), 0,
                                       "C:\\\\" + std::string(250, 'f') + "\", \""));
    Create("L", folder, false);
    ASSERT_NE(Row('L'), nullptr);
    EXPECT_EQ(Row('L')->cells[inv::kAdditionalInfo], folder);
    SelectRow('L');
    form_->Click("RemoveSubstituteDrive1");
    EXPECT_TRUE(dialogs_.errors.empty());
    EXPECT_EQ(Row('L'), nullptr);
}

TEST_F(Subst, QueryShowsTheFolderOrAnEmptyBox) {
    Open();
    form_->Select(2);
    form_->Click("Query1");
    form_->Select(0);
    form_->Click("Query1");
    ASSERT_EQ(dialogs_.boxes.size(), 2u);
    EXPECT_EQ(dialogs_.boxes[0].text, "C:\\work");
    EXPECT_EQ(dialogs_.boxes[0].kind, tw::BoxKind::Plain);
    EXPECT_EQ(dialogs_.boxes[1].text, "");
}

TEST_F(Subst, BrowsingReplacesThePathOnlyWhenAFolderIsPicked) {
    Open(std::string(kMachine).insert(1, R"("shell": {"folder_browser": ["C:\\data", null]}, )"));
    auto& dialog = form_->SubstDialog();
    dialog.SetText("Edit1", "C:\\old");
    dialog.SetWindow(0x4242);  // the dialog's window while it is shown
    dialog.Click("SpeedButton1");
    EXPECT_EQ(dialog.Path(), "C:\\data");
    EXPECT_EQ(machine_->LastBrowseTitle(), "Select Directory");
    // Owned by the dialog, the browser is modal to it.
    EXPECT_EQ(machine_->LastBrowseOwner(), 0x4242u);
    dialog.Click("SpeedButton1");  // cancelled
    EXPECT_EQ(dialog.Path(), "C:\\data");
    EXPECT_EQ(machine_->OpenHandleCount(), 0);
    EXPECT_EQ(machine_->CurrentErrorMode(), 0u);
}

}  // namespace
