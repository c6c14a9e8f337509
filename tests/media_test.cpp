// Load, eject, lock and unlock the selected drive's medium, the default CD
// tray and the inserted-disc report, through the main window's commands on a
// simulated machine: what the user sees, what reached the device, and that
// every handle was given back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/tform1.h"
#include "platform/device_records.h"
#include "test_support.h"

namespace {

using tw::platform::IOCTL_STORAGE_EJECT_MEDIA;
using tw::platform::IOCTL_STORAGE_LOAD_MEDIA;
using tw::platform::IOCTL_STORAGE_MEDIA_REMOVAL;

// C: fixed, E: a DVD writer, R: a card reader (removable), and whatever a
// test adds to E:'s device.
std::string Machine(const std::string& opticalDevice = "") {
    return R"({"drives": {
      "C": {"type": "DRIVE_FIXED", "volume": {"label": "System"}, "space": {"total": 1000, "free": 500},
            "device": {"storage": {"bus_type": "BusTypeAta"}}},
      "E": {"type": "DRIVE_CDROM", "volume": {"label": "DISC"}, "space": {"total": 1000, "free": 0},
            "device": {"scsi": {"configuration": {"current_profile": "0010"}})" +
           opticalDevice + R"(}},
      "R": {"type": "DRIVE_REMOVABLE", "volume": {"error": "ERROR_NOT_READY"}, "space": {"error": "ERROR_NOT_READY"},
            "device": {}}
    }})";
}

class Media : public ::testing::Test {
protected:
    void Open(const std::string& machine = Machine()) {
        machine_ = twtest::MachineFromText(machine);
        form_ = std::make_unique<tw::TForm1>(*machine_, view_, dialogs_, app_);
        form_->FormCreate();
        form_->Click("Refresh1");
    }
    void SelectDrive(char letter) {
        for (size_t i = 0; i < form_->Rows().size(); ++i) {
            if (form_->Rows()[i].Letter() == letter) return form_->Select(static_cast<int>(i));
        }
        FAIL() << letter << ": is not listed";
    }
    std::vector<std::string> Boxes() const {
        std::vector<std::string> texts;
        for (const auto& b : dialogs_.boxes) texts.push_back(b.text);
        return texts;
    }
    std::vector<tw::platform::DWORD> Requests() const {
        std::vector<tw::platform::DWORD> codes;
        for (const auto& r : machine_->DeviceRequests()) codes.push_back(r.code);
        return codes;
    }

    std::unique_ptr<tw::sim::Machine> machine_;
    tw::Application app_;
    twtest::RecordingView view_;
    twtest::RecordingDialogs dialogs_;
    std::unique_ptr<tw::TForm1> form_;
};

struct MediaCase {
    const char* name;
    std::string opticalDevice;  // extra fields of E:'s device
    char drive;
    const char* command;
    std::vector<std::string> boxes;
    std::vector<std::string> errors;
    std::vector<tw::platform::DWORD> requests;
};

TEST_F(Media, EachCommandSaysWhatHappenedAndNothingMore) {
    const std::vector<MediaCase> cases = {
        {"load", "", 'E', "LoadMedia1", {}, {}, {IOCTL_STORAGE_LOAD_MEDIA}},
        {"load refused by the drive",
         R"(, "load_error": "ERROR_NOT_READY")",
         'E',
         "LoadMedia1",
         {},
         {},
         {IOCTL_STORAGE_LOAD_MEDIA}},
        {"load, device busy elsewhere",
         R"(, "open_error": "ERROR_ACCESS_DENIED")",
         'E',
         "LoadMedia1",
         {"Error"},
         {},
         {}},
        {"load on a card reader", "", 'R', "LoadMedia1", {}, {"CD/DVD drive not selected"}, {}},
        {"load on a fixed disk", "", 'C', "LoadMedia1", {}, {"CD/DVD drive not selected"}, {}},
        {"eject", "", 'E', "EjectMedia1", {}, {}, {IOCTL_STORAGE_EJECT_MEDIA}},
        {"eject a card reader", "", 'R', "EjectMedia1", {}, {}, {IOCTL_STORAGE_EJECT_MEDIA}},
        {"eject refused",
         R"(, "eject_error": "ERROR_NOT_READY")",
         'E',
         "EjectMedia1",
         {"Eject Failed: 21"},
         {},
         {IOCTL_STORAGE_EJECT_MEDIA}},
        {"eject, cannot open",
         R"(, "open_error": "ERROR_ACCESS_DENIED")",
         'E',
         "EjectMedia1",
         {"Error", "Eject Failed: 5"},
         {},
         {}},
        {"eject a fixed disk", "", 'C', "EjectMedia1", {}, {"The selected drive is not a CD/DVD drive."}, {}},
        {"lock", "", 'E', "LockCDDoor1", {"CD/DVD Drive E: door now locked."}, {}, {IOCTL_STORAGE_MEDIA_REMOVAL}},
        {"unlock", "", 'E', "UnlockCDDoor1", {"CD/DVD Drive E: door now unlocked."}, {}, {IOCTL_STORAGE_MEDIA_REMOVAL}},
        {"lock a fixed disk that opens",
         "",
         'C',
         "LockCDDoor1",
         {"CD/DVD Drive C: door now locked."},
         {},
         {IOCTL_STORAGE_MEDIA_REMOVAL}},
        {"lock while another program holds it",
         R"(, "in_use": true)",
         'E',
         "LockCDDoor1",
         {"Cannot lock/unlock non-CDROM!"},
         {},
         {}},
        {"lock refused by the drive",
         R"(, "lock_error": "ERROR_INVALID_FUNCTION")",
         'E',
         "LockCDDoor1",
         {"CD/DVD Drive E: the door could not be locked: Incorrect function."},
         {},
         {IOCTL_STORAGE_MEDIA_REMOVAL}},
        {"unlock refused by the drive",
         R"(, "lock_error": "ERROR_INVALID_FUNCTION")",
         'E',
         "UnlockCDDoor1",
         {"CD/DVD Drive E: the door could not be unlocked: Incorrect function."},
         {},
         {IOCTL_STORAGE_MEDIA_REMOVAL}},
        {"inserted disc", "", 'E', "InsertedMediaType1", {"E: Contains disk type: DVD-ROM"}, {}, {}},
        {"inserted disc, drive fails",
         R"(, "open_error": "ERROR_NOT_READY")",
         'E',
         "InsertedMediaType1",
         {"E: Contains disk type: Unknown"},
         {},
         {}},
        {"inserted disc of a card reader", "", 'R', "InsertedMediaType1", {}, {"CD/DVD drive not selected"}, {}},
        {"toolbar eject", "", 'E', "ToolButton3", {}, {}, {IOCTL_STORAGE_EJECT_MEDIA}},
        {"Optical menu close", "", 'E', "CloseSelectedDrive1", {}, {}, {IOCTL_STORAGE_LOAD_MEDIA}},
        {"Optical menu lock",
         "",
         'E',
         "LockSelected1",
         {"CD/DVD Drive E: door now locked."},
         {},
         {IOCTL_STORAGE_MEDIA_REMOVAL}},
    };
    for (const MediaCase& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs_ = {};
        Open(Machine(c.opticalDevice));
        SelectDrive(c.drive);
        machine_->ResetCallCounts();
        const size_t before = machine_->DeviceRequests().size();
        form_->Click(c.command);
        EXPECT_EQ(Boxes(), c.boxes);
        EXPECT_EQ(dialogs_.errors, c.errors);
        std::vector<tw::platform::DWORD> sent;
        for (size_t i = before; i < machine_->DeviceRequests().size(); ++i) {
            const auto& r = machine_->DeviceRequests()[i];
            if (r.code != tw::platform::IOCTL_SCSI_PASS_THROUGH_DIRECT) sent.push_back(r.code);
        }
        EXPECT_EQ(sent, c.requests);
        EXPECT_EQ(machine_->OpenHandleCount(), 0);
        // None of them refreshes the list.
        EXPECT_EQ(machine_->CallCount(tw::sim::SimCall::GetLogicalDrives), 0);
    }
}

TEST_F(Media, DoorRequestsCarryTheFlagOnAnExclusiveOpen) {
    Open();
    SelectDrive('E');
    form_->Click("LockCDDoor1");
    form_->Click("UnlockCDDoor1");
    const auto& requests = machine_->DeviceRequests();
    ASSERT_GE(requests.size(), 2u);
    EXPECT_EQ(requests[requests.size() - 2].input, std::vector<tw::platform::BYTE>{1});
    EXPECT_EQ(requests.back().input, std::vector<tw::platform::BYTE>{0});
    const auto& open = machine_->DeviceOpens().back();
    EXPECT_EQ(open.path, "\\\\.\\E:");
    EXPECT_EQ(open.share, 0u);
    EXPECT_EQ(open.access, tw::platform::GENERIC_READ);
}

TEST_F(Media, UnlockOpensTheDoorHoweverOftenItWasLocked) {
    Open();
    SelectDrive('E');
    // The drive counts locks: however often the door was locked, one Unlock
    // opens it.
    for (int locks : {1, 2, 3}) {
        SCOPED_TRACE(locks);
        dialogs_ = {};
        for (int i = 0; i < locks; ++i) form_->Click("LockCDDoor1");
        EXPECT_TRUE(machine_->MediaLocked('E'));
        form_->Click("UnlockCDDoor1");
        EXPECT_FALSE(machine_->MediaLocked('E'));
        EXPECT_EQ(Boxes().back(), "CD/DVD Drive E: door now unlocked.");
        EXPECT_EQ(machine_->OpenHandleCount(), 0);
    }
    // With no lock of ours left, an unlock is still sent once.
    const size_t before = machine_->DeviceRequests().size();
    form_->Click("UnlockSelected1");
    EXPECT_EQ(machine_->DeviceRequests().size(), before + 1);
}

TEST_F(Media, WithNothingSelectedOnlyTheDefaultTrayActs) {
    Open();
    form_->Select(-1);
    // The refresh at start-up asked the devices about themselves; the commands open none.
    const size_t opensBefore = machine_->DeviceOpens().size();
    for (const char* command : {"LoadMedia1", "EjectMedia1", "LockCDDoor1", "UnlockCDDoor1", "InsertedMediaType1"}) {
        form_->Click(command);
    }
    EXPECT_TRUE(dialogs_.boxes.empty());
    EXPECT_TRUE(dialogs_.errors.empty());
    EXPECT_EQ(machine_->DeviceOpens().size(), opensBefore);
    form_->Click("EjectDefaultCD1");
    form_->Click("CloseDefaultCD2");
    ASSERT_EQ(machine_->MciCalls().size(), 2u);
    EXPECT_EQ(machine_->MciCalls()[0].command, "Set cdaudio door open wait");
    EXPECT_EQ(machine_->MciCalls()[1].command, "Set cdaudio door closed wait");
}

}  // namespace
