// The Optical Information window's logic on simulated machines: what it shows
// of a drive, what its buttons do, and what it does when a drive or the
// user's rights stand in the way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/tform1.h"
#include "test_support.h"

namespace {

using tw::OpticalControl;

class OpticalWindow : public ::testing::Test {
protected:
    tw::TfrmOpticalInfo& Show(std::unique_ptr<tw::sim::Machine> machine) {
        machine_ = std::move(machine);
        form_ = std::make_unique<tw::TForm1>(*machine_, view_, dialogs_, app_);
        form_->Click("ToolButton13");
        return form_->OpticalInfo();
    }
    tw::TfrmOpticalInfo& Window() { return form_->OpticalInfo(); }
    const std::string& Field(OpticalControl id) { return Window().Get(id).text; }
    const std::vector<std::string>& Lines() { return Window().Get(OpticalControl::Capabilities).items; }

    std::unique_ptr<tw::sim::Machine> machine_;
    tw::Application app_;
    twtest::RecordingView view_;
    twtest::RecordingDialogs dialogs_;
    std::unique_ptr<tw::TForm1> form_;
};

TEST_F(OpticalWindow, ShowingListsTheOpticalDrivesAndShowsTheFirst) {
    Show(twtest::ExampleMachine("dvd-workstation.json"));
    ASSERT_EQ(dialogs_.windows.size(), 1u);
    EXPECT_EQ(dialogs_.windows[0], &Window());
    EXPECT_EQ(Window().Get(OpticalControl::DriveChooser).items, std::vector<std::string>{"E: [HOLIDAY_2024]"});
    EXPECT_EQ(Field(OpticalControl::Vendor), "TARNWELL");
    EXPECT_EQ(Field(OpticalControl::Product), "DVD-RW TW-1000  ");
    EXPECT_EQ(Field(OpticalControl::Revision), "1.02");
    EXPECT_EQ(Field(OpticalControl::VendorSpecific), "09/14/24");
    ASSERT_EQ(Lines().size(), 14u);
    EXPECT_EQ(Lines().front(), "Read CD-R");
    EXPECT_EQ(Lines().back(), "Max Write Speed: 16x");
    // The drive is still spinning up, which it says in a request that is done:
    // one wait, pumping once.
    EXPECT_EQ(dialogs_.pumps, 1);
    EXPECT_EQ(dialogs_.waitCursor, (std::vector<bool>{true, false}));
    EXPECT_EQ(machine_->OpenHandleCount(), 0);
    EXPECT_TRUE(dialogs_.errors.empty());
}

TEST_F(OpticalWindow, AListWithoutCapabilitiesSaysWhy) {
    const struct {
        const char* name;
        const char* administrator;
        const char* device;  // E:'s device fields besides its SCSI target
        const char* target;  // its SCSI target's fields besides its identity
        const char* line;
    } cases[] = {
        {"an ordinary account", "false", "", "", "Administrator rights are needed to read the drive's capabilities"},
        {"an administrator under UAC, the drive refusing unelevated requests", "\"deny_only\"", "",
         R"(, "admin_only": true)", "Administrator rights are needed to read the drive's capabilities"},
        {"a drive that cannot be opened yet", "true", R"("open_error": "ERROR_NOT_READY", )", "", "Drive not ready"},
        {"a drive without its medium", "true", R"("open_error": "ERROR_NO_MEDIA_IN_DRIVE", )", "", "No disc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs_ = {};
        Show(twtest::MachineFromText(std::string(R"({"drives": {"E": {"type": "DRIVE_CDROM", "device": {)") + c.device +
                                     R"("scsi": {"inquiry": {"vendor": "TARNWELL", "product": "DVD-RW"})" + c.target +
                                     R"(}}}}, "version": {"major": 10, "minor": 0, "build": 19045,
                                     "platform_id": 2}, "token": {"administrator": )" +
                                     c.administrator + "}}"));
        EXPECT_EQ(Lines(), std::vector<std::string>{c.line});
        EXPECT_EQ(machine_->OpenHandleCount(), 0);
    }
}

TEST_F(OpticalWindow, AnEmptyDriveShowsWhatItCanReadAfterOneWaitAndNoCurrentDisc) {
    Show(twtest::ExampleMachine("empty-cdrom.json"));
    EXPECT_EQ(Field(OpticalControl::Vendor), "OLDDRIVE");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"Read CD-R", "Read CD-RW", "Device Buffer: 128k",
                                                 "Max Read Speed: 48x", "Max Write Speed: 0x"}));
    EXPECT_EQ(dialogs_.pumps, 1);
    EXPECT_EQ(machine_->SleptMilliseconds(), 100u);
    Window().Click(OpticalControl::AnalyseDisk);
    ASSERT_EQ(dialogs_.boxes.size(), 1u);
    EXPECT_EQ(dialogs_.boxes[0].text, "The Inserted media is No Current Profile");
    EXPECT_TRUE(dialogs_.errors.empty());
    EXPECT_EQ(machine_->OpenHandleCount(), 0);
}

TEST_F(OpticalWindow, AnalyseDiskNamesTheDiscOrSaysItCannot) {
    Show(twtest::ExampleMachine("dvd-workstation.json"));
    Window().Click(OpticalControl::AnalyseDisk);
    ASSERT_EQ(dialogs_.boxes.size(), 1u);
    EXPECT_EQ(dialogs_.boxes[0].text, "The Inserted media is DVD-R SequentialRecording,");
    EXPECT_EQ(dialogs_.boxes[0].kind, tw::BoxKind::Information);

    // A drive that can't be opened.
    Show(twtest::ExampleMachine("dvd-workstation.json"));
    machine_->Drives()['E'].present = false;
    Window().Click(OpticalControl::AnalyseDisk);
    EXPECT_EQ(dialogs_.errors, std::vector<std::string>{"Error reading disc!"});
    EXPECT_EQ(machine_->OpenHandleCount(), 0);
}

TEST_F(OpticalWindow, ADriveUnpluggedWhileShownGivesItsIdentityAndNoCapabilities) {
    auto machine = twtest::ExampleMachine("dvd-workstation.json");
    tw::sim::FaultRule unplug;
    unplug.call = tw::sim::SimCall::DeviceIoControl;
    unplug.letter = 'E';
    unplug.nth = 2;  // the first TEST UNIT READY, after INQUIRY
    unplug.removeDrive = true;
    machine->AddFault(unplug);
    Show(std::move(machine));
    EXPECT_EQ(Field(OpticalControl::Vendor), "TARNWELL");
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(dialogs_.pumps, 10);
    EXPECT_EQ(machine_->OpenHandleCount(), 0);
}

TEST_F(OpticalWindow, ShownAgainWithNoOpticalDriveLeftItShowsNothingOfTheLastOne) {
    Show(twtest::ExampleMachine("dvd-workstation.json"));
    ASSERT_FALSE(Lines().empty());
    machine_->Drives()['E'].present = false;  // the drive was unplugged
    form_->Click("ToolButton13");
    EXPECT_TRUE(Window().Get(OpticalControl::DriveChooser).items.empty());
    for (auto field :
         {OpticalControl::Vendor, OpticalControl::Product, OpticalControl::Revision, OpticalControl::VendorSpecific}) {
        EXPECT_EQ(Field(field), "") << tw::ComponentName(field);
    }
    EXPECT_TRUE(Lines().empty());
}

TEST_F(OpticalWindow, TrayButtonsCheckTheDriveTypeThenMoveTheDoorByMci) {
    auto machine = twtest::ExampleMachine("dvd-workstation.json");
    tw::sim::SimDrive card;
    card.letter = 'R';
    card.type = tw::platform::DRIVE_REMOVABLE;
    machine->Drives()['R'] = card;
    Show(std::move(machine));
    const auto before = machine_->MciCalls().size();
    Window().Click(OpticalControl::OpenTray);
    const auto& calls = machine_->MciCalls();
    ASSERT_EQ(calls.size(), before + 3);
    EXPECT_EQ(calls[before].message, tw::platform::MCI_OPEN);
    EXPECT_EQ(calls[before].flags, 0x2200u);
    EXPECT_EQ(calls[before].deviceType, "CDAudio");
    EXPECT_EQ(calls[before].element, "E:");
    EXPECT_EQ(calls[before + 1].message, tw::platform::MCI_SET);
    EXPECT_EQ(calls[before + 1].flags, tw::platform::MCI_SET_DOOR_OPEN);
    EXPECT_EQ(calls[before + 2].message, tw::platform::MCI_CLOSE);
    EXPECT_EQ(machine_->OpenMciDeviceCount(), 0);

    // A typed removable drive passes Open Tray's test but not Close Tray's.
    Window().SetText(OpticalControl::DriveChooser, "R:");
    Window().Click(OpticalControl::OpenTray);
    EXPECT_TRUE(dialogs_.errors.empty());
    Window().Click(OpticalControl::CloseTray);
    Window().SetText(OpticalControl::DriveChooser, "C: [System]");
    Window().Click(OpticalControl::OpenTray);
    EXPECT_EQ(dialogs_.errors, (std::vector<std::string>{"Cannot access drive.", "Cannot eject drive."}));
}

TEST_F(OpticalWindow, TypingIntoTheChooserShowsTheDriveItNames) {
    Show(twtest::ExampleMachine("dvd-workstation.json"));
    Window().TypeText(OpticalControl::DriveChooser, "C");
    EXPECT_EQ(Window().Get(OpticalControl::DriveChooser).itemIndex, -1);
    EXPECT_EQ(Field(OpticalControl::Vendor), "");  // the system disk answers no INQUIRY
    EXPECT_TRUE(Lines().empty());
    Window().TypeText(OpticalControl::DriveChooser, "E: [HOLIDAY_2024]");
    EXPECT_EQ(Window().Get(OpticalControl::DriveChooser).itemIndex, 0);
    EXPECT_EQ(Field(OpticalControl::Vendor), "TARNWELL");
    EXPECT_EQ(Lines().size(), 14u);
}

TEST_F(OpticalWindow, WithNoOpticalDriveTheTrayButtonsDoNothingAndNoDiscCanBeRead) {
    Show(twtest::ExampleMachine("minimal.json"));
    EXPECT_TRUE(Window().Get(OpticalControl::DriveChooser).items.empty());
    for (auto button : {OpticalControl::OpenTray, OpticalControl::CloseTray, OpticalControl::AnalyseDisk}) {
        Window().Click(button);
    }
    EXPECT_TRUE(dialogs_.boxes.empty());
    EXPECT_EQ(dialogs_.errors, std::vector<std::string>{"Error reading disc!"});
    EXPECT_TRUE(machine_->MciCalls().empty());
    EXPECT_TRUE(machine_->DeviceOpens().empty());
}

}  // namespace
