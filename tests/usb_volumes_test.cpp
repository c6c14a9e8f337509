// "USB Drives" and "Volumes" over the simulated machine: the disks the
// management service lists with their letters, its failures, every volume
// with and without a letter, and their command-line reports.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/tform1.h"
#include "cli/cli.h"
#include "inventory/volume_list.h"
#include "test_support.h"

namespace {

using twtest::ExampleMachine;
using twtest::MachineFromText;

TEST(UsbDrives, ListsUsbDisksOrEveryDiskFromTheToolsMenu) {
    // Every cell but the device id, which is checked by its start.
    using Row = std::vector<std::string>;
    const Row sata{"0",
                   "Samsung SSD 870 EVO 500GB",
                   "S6PXNM0T912345X",
                   "465.76 GB (500,105,249,280 bytes)",
                   "Fixed hard disk media",
                   "IDE",
                   "2",
                   "C:",
                   "SCSI\\DISK&VEN_&PROD_SAMSUNG"};
    const Row stick{"1",
                    "SanDisk Cruzer Blade USB Device",
                    "4C530001230918113234",
                    "29.82 GB (32,017,047,552 bytes)",
                    "Removable Media",
                    "USB",
                    "1",
                    "E:",
                    "USBSTOR\\DISK&VEN_SANDISK"};
    const Row external{"2",
                       "WD Elements 25A2 USB Device",
                       "575836314141",
                       "1862.98 GB (2,000,363,420,160 bytes)",
                       "External hard disk media",
                       "USB",
                       "2",
                       "F: G:",
                       "USBSTOR\\DISK&VEN_WD"};
    struct Case {
        bool all;
        std::vector<Row> rows;
        std::string status;
    };
    for (const Case& c :
         {Case{false, {stick, external}, "2 USB disks"}, Case{true, {sata, stick, external}, "3 disks"}}) {
        auto machine = ExampleMachine("usb-disks.json");
        twtest::RecordingView view;
        twtest::RecordingDialogs dialogs;
        tw::Application app;
        tw::TForm1 main(*machine, view, dialogs, app);
        main.Click(tw::MainCommand::ToolsUsbDrives);
        tw::TfrmUSBDrives& form = main.UsbDrives();
        ASSERT_EQ(dialogs.windows, std::vector<tw::FormLogic*>{&form});
        if (c.all) form.SetChecked(tw::UsbDrivesControl::ShowAll, true);
        std::vector<Row> rows = form.Get(tw::UsbDrivesControl::Disks).rows;
        ASSERT_EQ(rows.size(), c.rows.size()) << c.all;
        for (size_t i = 0; i < rows.size(); ++i) {
            ASSERT_EQ(rows[i].size(), 9u);
            EXPECT_EQ(rows[i][8].rfind(c.rows[i][8], 0), 0u) << rows[i][8];
            rows[i][8] = c.rows[i][8];
            EXPECT_EQ(rows[i], c.rows[i]);
        }
        EXPECT_EQ(form.Get(tw::UsbDrivesControl::Status).text, c.status);
        EXPECT_TRUE(dialogs.errors.empty());
    }
}

TEST(UsbDrives, AFailingServiceShowsItsErrorTextInTheWindow) {
    const struct {
        const char* error;
        const char* text;
    } cases[] = {
        {"\"WBEM_E_ACCESS_DENIED\"",
         "Current user does not have permission to perform the action (WBEM_E_ACCESS_DENIED, 0x80041003)"},
        {"\"WBEM_E_INVALID_NAMESPACE\"", "Namespace specified cannot be found (WBEM_E_INVALID_NAMESPACE, 0x8004100E)"},
        {"\"80070015\"", "The device is not ready (0x80070015)"},
        {"\"80041099\"", "Unknown error (0x80041099)"},
    };
    for (const auto& c : cases) {
        auto machine = MachineFromText(std::string(R"({"wmi": {"error": )") + c.error + "}}");
        twtest::RecordingDialogs dialogs;
        tw::TfrmUSBDrives form(*machine, dialogs);
        dialogs.Show(form);
        EXPECT_EQ(form.Get(tw::UsbDrivesControl::Status).text, std::string("The disks could not be listed: ") + c.text);
        EXPECT_TRUE(form.Get(tw::UsbDrivesControl::Disks).rows.empty());
        EXPECT_TRUE(dialogs.errors.empty());
    }
}

TEST(Volumes, ListsEveryVolumeWithAndWithoutLetters) {
    auto machine = ExampleMachine("usb-disks.json");
    twtest::RecordingView view;
    twtest::RecordingDialogs dialogs;
    tw::Application app;
    tw::TForm1 main(*machine, view, dialogs, app);
    main.Click(tw::MainCommand::ToolsVolumes);
    const tw::TfrmVolumes& form = main.Volumes();
    ASSERT_EQ(dialogs.windows, std::vector<tw::FormLogic*>{&main.Volumes()});
    const auto& rows = form.Get(tw::VolumesControl::Volumes).rows;
    ASSERT_EQ(rows.size(), 7u);
    const struct {
        size_t row;
        std::vector<std::string> cells;  // from the letters on
    } expected[] = {
        {0, {"C:", "", "Fixed", "NTFS", "System", "1A2B - 3C4D", "476.00 GB", "189.85 GB"}},
        {1, {"", "", "Fixed", "NTFS", "Recovery", "C0DE - 0FAB", "499.00 MB", "83.00 MB"}},
        {2, {"D:", "", "CD-ROM", "", "", "", "", ""}},
        {4, {"F:", "C:\\Mount\\Backup\\", "Fixed", "NTFS", "Backup", "5EED - 0001", "1397.26 GB", "683.59 GB"}},
        {6, {"", "C:\\Mount\\Archive\\", "Fixed", "NTFS", "Archive", "A4C4 - 1BE0", "3726.02 GB", "1024.00 GB"}},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(std::vector<std::string>(rows[e.row].begin() + 1, rows[e.row].end()), e.cells) << e.row;
    }
    EXPECT_EQ(rows[6][0], "\\\\?\\Volume{9d4b2a77-3c11-4e0a-8f6e-5a1b2c3d4e5f}\\");
    EXPECT_EQ(form.Get(tw::VolumesControl::Status).text, "7 volumes, 2 without a drive letter.");
    EXPECT_EQ(machine->OpenHandleCount(), 0);
}

TEST(Volumes, PathNamesGrowTheBufferTheSystemAsksFor) {
    // Eight mount points of 45 characters each: more than the first buffer.
    std::string folders;
    std::vector<std::string> expected{"K:\\"};
    for (int i = 0; i < 8; ++i) {
        const std::string folder = "C:\\Mount\\A-rather-long-folder-name-number-" + std::to_string(i) + "\\";
        folders += (i ? ",\"" : "\"") + std::string("C:\\\\Mount\\\\A-rather-long-folder-name-number-") +
                   std::to_string(i) + "\"";
        expected.push_back(folder);
    }
    auto machine = MachineFromText(R"({"drives": {"K": {}}, "volumes": [{"name": "\\\\?\\Volume{1}\\", "letter": "K",
        "mount_points": [)" + folders +
                                   "]}]}");
    const struct {
        const char* name;
        std::vector<std::string> paths;
        tw::platform::DWORD error;
        int calls;
    } cases[] = {
        {"\\\\?\\Volume{1}\\", expected, 0, 2},
        {"\\\\?\\Volume{2}\\", {}, tw::platform::ERROR_FILE_NOT_FOUND, 1},
        {"\\\\?\\Volume{1}", {}, tw::platform::ERROR_INVALID_NAME, 1},
    };
    for (const auto& c : cases) {
        machine->ResetCallCounts();
        tw::platform::DWORD error = 99;
        EXPECT_EQ(tw::inventory::VolumePathNames(machine->kernel(), c.name, error), c.paths) << c.name;
        EXPECT_EQ(error, c.error) << c.name;
        EXPECT_EQ(machine->CallCount(tw::sim::SimCall::GetVolumePathNamesForVolumeNameA), c.calls) << c.name;
    }
}

TEST(UsbAndVolumeCommands, PrintTheirReports) {
    const std::string machine = std::string(TW_EXAMPLES_DIR) + "/usb-disks.json";
    const std::string failing = (std::filesystem::temp_directory_path() / "tarnwell-wmi-failing.json").string();
    std::ofstream(failing) << R"({"wmi": {"error": "WBEM_E_ACCESS_DENIED"}})";
    const struct {
        std::vector<std::string> args;
        int code;
        std::vector<std::string> out;  // lines expected in this order
        std::string err;
    } cases[] = {
        {{"--machine", machine, "usb"},
         0,
         {"Disk 1", "  Model: SanDisk Cruzer Blade USB Device", "  Size: 29.82 GB (32,017,047,552 bytes)",
          "  Drive Letters: E:", "", "Disk 2", "  Drive Letters: F: G:", "", "2 USB disks"},
         ""},
        {{"--machine", machine, "usb", "--all"}, 0, {"Disk 0", "  Interface: IDE", "Disk 1", "Disk 2", "3 disks"}, ""},
        {{"--machine", failing, "usb"}, 1, {}, "(WBEM_E_ACCESS_DENIED, 0x80041003)"},
        {{"--machine", machine, "usb", "--al"}, 2, {}, "usb takes only --all"},
        {{"--machine", machine, "volumes"},
         0,
         {"Volume Name                                        Drive Letters  Mount Points       Drive Type",
          "\\\\?\\Volume{3f1c9a10-0000-0000-0000-200000000000}\\                                    Fixed       NTFS",
          "\\\\?\\Volume{9d4b2a77-3c11-4e0a-8f6e-5a1b2c3d4e5f}\\                 C:\\Mount\\Archive\\  Fixed",
          "7 volumes, 2 without a drive letter."},
         ""},
        {{"--machine", machine, "volumes", "C"}, 2, {}, "usage: tarnwell-cli [--machine FILE] volumes"},
    };
    for (const auto& c : cases) {
        std::istringstream in;
        std::ostringstream out, err;
        EXPECT_EQ(tw::cli::Run(c.args, in, out, err), c.code) << c.args.back();
        // Each expected line appears, in order, at the start of an output line.
        std::istringstream lines(out.str());
        std::string line;
        size_t next = 0;
        while (next < c.out.size() && std::getline(lines, line)) {
            if (line.rfind(c.out[next], 0) == 0) ++next;
        }
        EXPECT_EQ(next, c.out.size()) << c.args.back() << ": missing \"" << (next < c.out.size() ? c.out[next] : "")
                                      << "\" in\n"
                                      << out.str();
        EXPECT_NE(err.str().find(c.err), std::string::npos) << err.str();
    }
}

}  // namespace
