// The SMART and Disk Information windows' logic on simulated machines: the
// physical disk behind a letter, the verdict and row colours, a read that
// fails, and the main window's four entries that open them.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>

#include "app/tform1.h"
#include "diagnostics/drive_disk.h"
#include "test_support.h"

namespace {

using tw::DiskInfoControl;
using tw::SmartControl;
using tw::Tone;

TEST(DiskWindows, RowColours) {
    struct StateCase {
        const char* state;
        Tone tone;
    };
    for (const StateCase& c :
         {StateCase{"Failing Now", Tone::Bad}, StateCase{"Failed In Past", Tone::Bad},
          StateCase{"Warning", Tone::Caution}, StateCase{"OK", Tone::Plain}, StateCase{"-", Tone::Plain}}) {
        EXPECT_EQ(tw::StateTone(c.state), c.tone) << c.state;
    }
}

// C on disk 0, D on the second partition of disk 1, E a CD, F a volume whose
// device cannot be opened.
constexpr const char* kTwoDisks = R"({"drives": {
  "C": {"type": "DRIVE_FIXED", "volume": {"label": "System"}, "device": {"physical_disk": 0}},
  "D": {"type": "DRIVE_FIXED", "volume": {"label": "Data"}, "device": {"physical_disk": 1, "partition": 2}},
  "E": {"type": "DRIVE_CDROM", "device": {}},
  "F": {"type": "DRIVE_FIXED", "device": {"open_error": "ERROR_ACCESS_DENIED"}}}})";

TEST(DiskWindows, PhysicalDiskOfEachLetter) {
    auto machine = twtest::MachineFromText(kTwoDisks);
    struct Case {
        char letter;
        bool found;
        tw::platform::DWORD disk, partition, error;
    } cases[] = {{'C', true, 0, 1, 0},
                 {'D', true, 1, 2, 0},
                 {'E', false, 0, 0, tw::platform::ERROR_INVALID_FUNCTION},
                 {'F', false, 0, 0, tw::platform::ERROR_ACCESS_DENIED},
                 {'Q', false, 0, 0, tw::platform::ERROR_FILE_NOT_FOUND}};
    for (const Case& c : cases) {
        const tw::diagnostics::DriveDisk d = tw::diagnostics::PhysicalDiskOfDrive(machine->device(), c.letter);
        ASSERT_EQ(d.number.has_value(), c.found) << c.letter;
        if (c.found) {
            EXPECT_EQ(d.number->deviceNumber, c.disk) << c.letter;
            EXPECT_EQ(d.number->partitionNumber, c.partition) << c.letter;
        } else {
            EXPECT_EQ(d.error, c.error) << c.letter;
        }
    }
    // Asked without data access, and every handle closed.
    for (const auto& open : machine->DeviceOpens()) EXPECT_EQ(open.access, 0u) << open.path;
    EXPECT_EQ(machine->OpenHandleCount(), 0);
}

class DiskWindow : public ::testing::Test {
protected:
    tw::TForm1& Main(std::unique_ptr<tw::sim::Machine> machine) {
        machine_ = std::move(machine);
        form_ = std::make_unique<tw::TForm1>(*machine_, view_, dialogs_, app_);
        form_->FormCreate();
        form_->Click("Refresh1");
        return *form_;
    }
    std::string Smart(SmartControl id) { return form_->Smart().Get(id).text; }

    std::unique_ptr<tw::sim::Machine> machine_;
    tw::Application app_;
    twtest::RecordingView view_;
    twtest::RecordingDialogs dialogs_;
    std::unique_ptr<tw::TForm1> form_;
};

TEST_F(DiskWindow, SmartShowsTheHealthyTheFailingAndTheUnreadableDisk) {
    struct Case {
        const char* machine;
        tw::platform::DWORD openError;  // of physical disk 0
        const char* verdict;
        size_t rows;
        size_t redRows, amberRows;
        const char* status;
    } cases[] = {
        {"smart-healthy.json", 0, "Good", 14, 0, 0, ""},
        {"smart-failing.json", 0, "Bad", 17, 2, 1, ""},
        {"smart-failing.json", tw::platform::ERROR_ACCESS_DENIED, "", 0, 0, 0,
         "Unable to open physical drive: Access is denied"},
    };
    for (const Case& c : cases) {
        auto machine = twtest::ExampleMachine(c.machine);
        machine->PhysicalDisks()[0].openError = c.openError;
        Main(std::move(machine)).Click("ToolButton9");
        const tw::Component& table = form_->Smart().Get(SmartControl::Attributes);
        EXPECT_EQ(Smart(SmartControl::Health), c.verdict) << c.machine;
        EXPECT_EQ(table.rows.size(), c.rows) << c.machine;
        EXPECT_EQ(std::count(table.rowTones.begin(), table.rowTones.end(), Tone::Bad), c.redRows) << c.machine;
        EXPECT_EQ(std::count(table.rowTones.begin(), table.rowTones.end(), Tone::Caution), c.amberRows);
        EXPECT_EQ(Smart(SmartControl::Status), c.status) << c.machine;
        EXPECT_EQ(Smart(SmartControl::Disk), "\\\\.\\PhysicalDrive0");
        EXPECT_EQ(Smart(SmartControl::Model).empty(), c.rows == 0) << c.machine;
        EXPECT_EQ(machine_->OpenHandleCount(), 0);
        EXPECT_TRUE(dialogs_.errors.empty());
    }
    // A disk that stops answering leaves nothing of its last report behind.
    machine_->PhysicalDisks()[0].openError = 0;
    form_->Click("SMARTInformation1");
    ASSERT_EQ(Smart(SmartControl::Health), "Bad");
    machine_->PhysicalDisks()[0].openError = tw::platform::ERROR_ACCESS_DENIED;
    form_->Smart().Choose("cbDrive", 0);
    EXPECT_EQ(Smart(SmartControl::Health), "");
    EXPECT_EQ(Smart(SmartControl::Temperature), "");
    EXPECT_TRUE(form_->Smart().Get(SmartControl::Attributes).rows.empty());
    EXPECT_EQ(form_->Smart().Get(SmartControl::Status).tone, Tone::Bad);
}

// The raw value of attribute `id` in a disk's attribute sector.
void SetRaw(std::vector<tw::platform::BYTE>& sector, int id, std::uint8_t raw) {
    for (size_t at = 2; at + 12 <= 362; at += 12) {
        if (sector[at] == id) sector[at + 5] = raw;
    }
}

TEST_F(DiskWindow, ACountThatGrowsWhileTheProgramRunsMakesTheDiskBad) {
    Main(tw::sim::Machine::FromFile(std::string(TW_TESTDATA_DIR) + "/smart-cases.json")).Click("SMARTInformation1");
    tw::TfrmSmart& smart = form_->Smart();
    smart.Choose("cbDrive", 1);
    ASSERT_EQ(Smart(SmartControl::Health), "Caution");
    auto& dying = machine_->PhysicalDisks()[1].devices[0].attributes;
    SetRaw(dying, 197, 47);
    smart.Click("Refresh1");
    EXPECT_EQ(Smart(SmartControl::Health), "Bad");
    EXPECT_EQ(Smart(SmartControl::Reasons).rfind("pending sectors grew from 40 to 47; ", 0), 0u)
        << Smart(SmartControl::Reasons);
    // Another disk read in between does not take its place, and the growth
    // stays in view on the next reading.
    smart.Choose("cbDrive", 2);
    EXPECT_EQ(Smart(SmartControl::Health), "Good");
    smart.Choose("cbDrive", 1);
    EXPECT_EQ(Smart(SmartControl::Health), "Bad");
    // A disk whose counts stay put stays as it was.
    smart.Choose("cbDrive", 2);
    smart.Click("Refresh1");
    EXPECT_EQ(Smart(SmartControl::Health), "Good");
}

// The disk of each drive by its number and model, and the disk no letter
// names after them; that disk's reports, by the route it answers.
TEST_F(DiskWindow, TheChooserNamesEachDiskAndAddsThoseWithNoLetter) {
    std::ifstream file(std::string(TW_TESTDATA_DIR) + "/health-routes.json");
    nlohmann::json description = nlohmann::json::parse(file);
    description["drives"].erase("E");
    Main(twtest::MachineFromText(description.dump())).Click("SMARTInformation1");
    tw::TfrmSmart& smart = form_->Smart();
    EXPECT_EQ(smart.Get(SmartControl::DriveChooser).items,
              (std::vector<std::string>{"C: [System] \xE2\x80\x94 Disk 0, Samsung SSD 970 EVO Plus 1TB",
                                        "D: [Worn] \xE2\x80\x94 Disk 1, Kestrel NV2 512GB",
                                        "Disk 2, Brightmoor BM500A2-7K"}));
    smart.Choose("cbDrive", 2);
    EXPECT_EQ(Smart(SmartControl::Disk), "\\\\.\\PhysicalDrive2");
    EXPECT_EQ(Smart(SmartControl::Reasons), "the disk's own status: failing");
    smart.Click("Refresh1");
    EXPECT_EQ(smart.Get(SmartControl::DriveChooser).itemIndex, 2);
    EXPECT_EQ(Smart(SmartControl::Model), "Brightmoor BM500A2-7K");

    form_->Click("DiskInformation1");
    tw::TfrmDiskInfo& info = form_->DiskInfo();
    info.Choose("cbDrive", 2);
    EXPECT_EQ(info.Get(DiskInfoControl::Model).text, "Brightmoor BM500A2-7K");
    EXPECT_EQ(info.Get(DiskInfoControl::Partition).text, "\xE2\x80\x94");
    EXPECT_EQ(info.Get(DiskInfoControl::FileSystem).text, "");
    EXPECT_EQ(info.Get(DiskInfoControl::Status).text, "");
    // An NVMe disk, which the driver's requests do not reach, still identifies.
    info.Choose("cbDrive", 0);
    EXPECT_EQ(info.Get(DiskInfoControl::Model).text, "Samsung SSD 970 EVO Plus 1TB");
    EXPECT_EQ(info.Get(DiskInfoControl::FileSystem).text, "NTFS");
    EXPECT_EQ(machine_->OpenHandleCount(), 0);
}

// Under the 9x driver the first device may be the CD drive, and no
// partition has a number.
TEST_F(DiskWindow, OnThe9xFamilyDiskInformationNamesACdDriveAsNoDisk) {
    Main(twtest::MachineFromText(R"({"version": {"platform_id": 1},
        "drives": {"C": {"type": "DRIVE_FIXED", "volume": {"label": "System"}}},
        "smartvsd": {"devices": {"0": {"atapi": true}}}})"))
        .Click("DiskInformation1");
    const tw::TfrmDiskInfo& info = form_->DiskInfo();
    EXPECT_EQ(info.Get(DiskInfoControl::DriveChooser).items, std::vector<std::string>{"C: [System]"});
    EXPECT_EQ(info.Get(DiskInfoControl::Disk).text, "\\\\.\\SMARTVSD");
    EXPECT_EQ(info.Get(DiskInfoControl::Partition).text, "\xE2\x80\x94");
    EXPECT_FALSE(info.Numbers().partition);
    EXPECT_EQ(info.Get(DiskInfoControl::Model).text, "");
    EXPECT_EQ(info.Get(DiskInfoControl::Size).text, "");
    EXPECT_NE(info.Get(DiskInfoControl::Status).text.find("is a CD drive or another ATAPI device"), std::string::npos)
        << info.Get(DiskInfoControl::Status).text;
}

TEST_F(DiskWindow, OnThe9xFamilyTheSmartDriverServesTheDisk) {
    // The healthy desktop's disk, served by the 9x SMART driver instead.
    std::ifstream file(std::string(TW_EXAMPLES_DIR) + "/smart-healthy.json");
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const size_t disks = text.find("\"physical_disks\": {");
    const size_t disk = text.find('{', text.find("\"0\":", disks));
    text = text.substr(0, disks) + "\"version\": {\"platform_id\": 1}, \"smartvsd\": " +
           text.substr(disk, text.rfind('}', text.rfind('}') - 1) - disk) + "}";
    Main(twtest::MachineFromText(text)).Click("SMARTInformation1");
    EXPECT_EQ(Smart(SmartControl::Disk), "\\\\.\\SMARTVSD");
    EXPECT_EQ(Smart(SmartControl::Health), "Good");
    EXPECT_EQ(Smart(SmartControl::Model), "Brightmoor BM500A2-7K");
}

TEST_F(DiskWindow, TheEntriesOpenTheWindowsAtTheSelectedDrive) {
    Main(twtest::MachineFromText(kTwoDisks));
    const auto& rows = form_->Rows();
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        if (rows[i].Letter() == 'D') form_->Select(i);
    }
    for (const char* entry : {"ToolButton9", "SMARTInformation1"}) {
        form_->Click(entry);
        EXPECT_EQ(form_->Smart().Get(SmartControl::DriveChooser).text, "D: [Data] \xE2\x80\x94 Disk 1") << entry;
        // Disk 1 is not described: its open fails and says so.
        EXPECT_EQ(Smart(SmartControl::Disk), "\\\\.\\PhysicalDrive1") << entry;
        EXPECT_NE(Smart(SmartControl::Status), "") << entry;
    }
    for (const char* entry : {"ToolButton8", "DiskInformation1"}) {
        form_->Click(entry);
        const tw::TfrmDiskInfo& info = form_->DiskInfo();
        EXPECT_EQ(info.Get(DiskInfoControl::DriveChooser).text, "D: [Data] \xE2\x80\x94 Disk 1") << entry;
        EXPECT_EQ(info.Get(DiskInfoControl::Partition).text, "2") << entry;
        EXPECT_EQ(info.Get(DiskInfoControl::VolumeLabel).text, "Data") << entry;
    }
    EXPECT_EQ(dialogs_.windows.size(), 4u);
    EXPECT_EQ(machine_->OpenHandleCount(), 0);
}

}  // namespace
