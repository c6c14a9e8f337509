// Substitute drives: the device-name requests made, the start-up line, the
// dialog's fields between uses, and the input the commands refuse.
#include <gtest/gtest.h>

#include "actions/substitution.h"
#include "app/tform1.h"
#include "test_support.h"

namespace {

namespace inv = tw::inventory;

constexpr const char* kMachine = R"({"drives": {
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
    std::optional<std::string> Startup() const { return machine_->FileText("c:\\autoexec.bat"); }

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
    EXPECT_EQ(machine_->OpenHandleCount(), 0);
}

TEST_F(Subst, StartupLinesAreAppendedNeverMerged) {
    Open();
    Create("S", "C:\\work", true);
    EXPECT_EQ(Startup(), "subst S: C:\\work\r\n");
    // The dialog keeps its fields: OK again appends the same line again.
    dialogs_.modalAnswers.push_back(tw::ModalResult::OK);
    form_->Click("CreateSubstituteDrive1");
    EXPECT_EQ(Startup(), "subst S: C:\\work\r\nsubst S: C:\\work\r\n");
    // Removing never edits the file.
    form_->Select(static_cast<int>(form_->Rows().size()) - 1);
    form_->Click("Unsubst2");
    EXPECT_EQ(Startup(), "subst S: C:\\work\r\nsubst S: C:\\work\r\n");
    EXPECT_EQ(machine_->OpenHandleCount(), 0);
}

TEST_F(Subst, AppendsToAnExistingStartupFileOnALineOfItsOwn) {
    const std::pair<const char*, const char*> cases[] = {
        {R"(@echo off\r\n)", "@echo off\r\nsubst T: C:\\tools\r\n"},
        // No line break at the end: the new line must not run on from the last.
        {R"(@echo off)", "@echo off\r\nsubst T: C:\\tools\r\n"},
        // An old end-of-file mark goes; what follows it would be ignored.
        {R"(@echo off\r\n\u001a)", "@echo off\r\nsubst T: C:\\tools\r\n"},
        {R"()", "subst T: C:\\tools\r\n"},
    };
    for (const auto& [before, after] : cases) {
        Open(std::string(kMachine).insert(
            1, std::string(R"("files": {"C:\\AUTOEXEC.BAT": {"text": ")") + before + R"("}}, )"));
        Create("T", "C:\\tools", true);
        EXPECT_EQ(Startup(), after) << before;
        EXPECT_EQ(machine_->OpenHandleCount(), 0);
    }
}

TEST_F(Subst, AStartupFileThatCannotBeWrittenIsShownAndTheListNotRefreshed) {
    Open(std::string(kMachine).insert(1, R"("files": {"C:\\AUTOEXEC.BAT": {"open_error": "ERROR_ACCESS_DENIED"}}, )"));
    const int refreshes = machine_->CallCount("GetLogicalDrives");
    Create("S", "C:\\work", true);
    EXPECT_EQ(dialogs_.errors, std::vector<std::string>{"I/O error 5"});
    EXPECT_EQ(machine_->CallCount("GetLogicalDrives"), refreshes);
    // The substitution itself was made before the file failed.
    EXPECT_EQ(tw::actions::QuerySubstitution(machine_->kernel(), 'S'), "C:\\work");
    EXPECT_EQ(machine_->OpenHandleCount(), 0);
}

TEST_F(Subst, CancelChangesNothing) {
    Open();
    const int refreshes = machine_->CallCount("GetLogicalDrives");
    Create("S", "C:\\work", true, tw::ModalResult::Cancel);
    EXPECT_EQ(machine_->CallCount("DefineDosDeviceA"), 0);
    EXPECT_EQ(machine_->CallCount("GetLogicalDrives"), refreshes);
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
    };
    for (const Case& c : cases) {
        Open();
        Create(c.letter, c.path, true);
        EXPECT_EQ(dialogs_.errors, std::vector<std::string>{c.error}) << c.path;
        EXPECT_EQ(machine_->CallCount("DefineDosDeviceA"), 0);
        EXPECT_FALSE(Startup().has_value());
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
    EXPECT_EQ(machine_->CallCount("DefineDosDeviceA"), 1);
    // Nothing selected: nothing happens.
    form_->Select(-1);
    form_->Click("RemoveSubstituteDrive1");
    EXPECT_EQ(dialogs_.errors.size(), 1u);
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
    dialog.Click("SpeedButton1");
    EXPECT_EQ(dialog.Path(), "C:\\data");
    EXPECT_EQ(machine_->LastBrowseTitle(), "Select Directory");
    dialog.Click("SpeedButton1");  // cancelled
    EXPECT_EQ(dialog.Path(), "C:\\data");
    EXPECT_EQ(machine_->OpenHandleCount(), 0);
    EXPECT_EQ(machine_->CurrentErrorMode(), 0u);
}

}  // namespace
