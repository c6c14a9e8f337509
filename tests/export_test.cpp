// Saving and copying the list, and the refresh that follows device
// notifications: what lands in the file or on the clipboard, and when the
// list is rebuilt.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/tform1.h"
#include "inventory/list_export.h"
#include "test_support.h"

namespace {

using tw::MainCommand;
using tw::inventory::ListFormat;

class Export : public ::testing::Test {
protected:
    void Open(const std::string& json) {
        machine_ = twtest::MachineFromText(json);
        form_ = std::make_unique<tw::TForm1>(*machine_, view_, dialogs_, app_);
        form_->FormCreate();
        form_->Click(MainCommand::Refresh);
    }
    int Refreshes() const { return machine_->CallCount(tw::sim::SimCall::GetLogicalDrives); }

    std::unique_ptr<tw::sim::Machine> machine_;
    tw::Application app_;
    twtest::RecordingView view_;
    twtest::RecordingDialogs dialogs_;
    std::unique_ptr<tw::TForm1> form_;
};

// Two drives: one whose label needs quoting everywhere, one larger than a
// double holds exactly (2^53 + 1 bytes, 2^53 - 1 free).
constexpr const char* kMachine = R"({
  "drives": {
    "C": {"type": "DRIVE_FIXED", "volume": {"label": "a,\"b\"\nc", "serial": "1A2B3C4D", "file_system": "NTFS"},
          "space": {"total": 1000, "free": 500}},
    "D": {"type": "DRIVE_FIXED", "volume": {"label": "Big", "serial": "0", "file_system": "NTFS"},
          "space": {"total": 9007199254740993, "free": 9007199254740991}}},
  "folders": ["C:\\out"],
  "files": {"C:\\out\\locked.csv": {"open_error": "ERROR_ACCESS_DENIED"},
            "C:\\out\\full.csv": {"text": "", "write_error": "ERROR_DISK_FULL"}}})";

TEST(ListExport, CsvQuotesWhatSpreadsheetsWouldSplit) {
    const struct {
        std::string cell, field;
    } cases[] = {
        {"System", "System"},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"cr\rhere", "\"cr\rhere\""},
        {"    39.6%", "\"    39.6%\""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(tw::inventory::CsvField(c.cell), c.field) << c.cell;
}

TEST_F(Export, FormatsWriteTheRowsAsShown) {
    Open(kMachine);
    ASSERT_EQ(form_->Rows().size(), 2u);
    const std::string csv = tw::inventory::FormatList(form_->Rows(), ListFormat::Csv);
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
              "Drive,Label,Type,Additional Info,Size,Used,Available,Bytes Free,Format,Volume Serial,% Free,"
              "Visibility,Vendor,Product Id");
    EXPECT_NE(csv.find("\r\n\"C: \",\"a,\"\"b\"\"\nc\",Local Disk,"), std::string::npos) << csv;
    // A tab-separated row stays one line with its cells in their columns.
    const std::string tsv = tw::inventory::FormatList(form_->Rows(), ListFormat::Tsv);
    EXPECT_NE(tsv.find("\nC: \ta,\"b\" c\tLocal Disk\t"), std::string::npos) << tsv;
    const std::string html = tw::inventory::FormatList(form_->Rows(), ListFormat::Html);
    EXPECT_NE(html.find("<td style=\"color:#000000\">a,&quot;b&quot;\nc</td>"), std::string::npos) << html;
    // Row 1 is striped in the list's colours.
    EXPECT_NE(html.find("<td style=\"color:#000000;background:#e2ebfc\">D: </td>"), std::string::npos) << html;
}

TEST_F(Export, JsonByteCountsAreExactIntegers) {
    Open(kMachine);
    const std::string text = tw::inventory::FormatList(form_->Rows(), ListFormat::Json);
    EXPECT_NE(text.find("\"Size\": 9007199254740993,"), std::string::npos) << text;
    const auto rows = nlohmann::json::parse(text);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0]["Label"], "a,\"b\"\nc");
    EXPECT_EQ(rows[1]["Size"].get<std::uint64_t>(), 9007199254740993u);
    EXPECT_EQ(rows[1]["Bytes Free"].get<std::uint64_t>(), 9007199254740991u);
    EXPECT_EQ(rows[1]["Used"].get<std::uint64_t>(), 2u);
    EXPECT_DOUBLE_EQ(rows[0]["% Free"].get<double>(), 50.0);
}

TEST_F(Export, SaveListAsWritesTheChosenFileOrSaysWhyNot) {
    const struct {
        std::optional<std::string> answer;
        std::string file;  // where the list lands; empty: nowhere
        std::string starts;
        std::string error;
    } cases[] = {
        {"C:\\out\\drives", "C:\\out\\drives.csv", "Drive,Label,", ""},
        {"C:\\out\\drives.json", "C:\\out\\drives.json", "[\r\n  {\r\n    \"Drive\": \"C: \"", ""},
        {"C:\\out\\drives.HTM", "C:\\out\\drives.HTM", "<!DOCTYPE html>\r\n", ""},
        {"C:\\out\\drives.txt", "C:\\out\\drives.txt", "Drive\tLabel\t", ""},
        {std::nullopt, "", "", ""},
        {"C:\\none\\drives.csv", "", "",
         "Cannot save the list to C:\\none\\drives.csv: The system cannot find the path"},
        {"C:\\out\\locked.csv", "", "", "Cannot save the list to C:\\out\\locked.csv: Access is denied."},
        {"C:\\out\\full.csv", "", "", "Cannot save the list to C:\\out\\full.csv: There is not enough space"},
    };
    for (const auto& c : cases) {
        dialogs_.errors.clear();
        Open(kMachine);
        machine_->QueueSaveAnswer(c.answer);
        form_->Click(MainCommand::FileSaveListAs);
        ASSERT_EQ(machine_->SaveDialogs().size(), 1u);
        EXPECT_EQ(machine_->SaveDialogs()[0].title, "Save List As");
        if (!c.file.empty()) {
            EXPECT_EQ(machine_->FileText(c.file).value_or("").rfind(c.starts, 0), 0u) << c.file;
        }
        if (c.error.empty()) {
            EXPECT_TRUE(dialogs_.errors.empty()) << dialogs_.errors.front();
        } else {
            ASSERT_EQ(dialogs_.errors.size(), 1u) << c.error;
            EXPECT_EQ(dialogs_.errors[0].rfind(c.error, 0), 0u) << dialogs_.errors[0];
        }
        EXPECT_EQ(machine_->OpenHandleCount(), 0);
    }
}

TEST_F(Export, CopyPutsTheSelectedOrAllRowsOnTheClipboard) {
    Open(kMachine);
    const std::string header =
        "Drive\tLabel\tType\tAdditional Info\tSize\tUsed\tAvailable\tBytes Free\tFormat\tVolume Serial\t% Free\t"
        "Visibility\tVendor\tProduct Id\r\n";
    form_->Select(1);
    form_->Click(MainCommand::CopyRows);
    ASSERT_TRUE(machine_->ClipboardText());
    EXPECT_EQ(machine_->ClipboardText()->rfind(header + "D: \tBig\t", 0), 0u) << *machine_->ClipboardText();
    EXPECT_EQ(std::count(machine_->ClipboardText()->begin(), machine_->ClipboardText()->end(), '\n'), 2);
    form_->Click(MainCommand::SelectAll);
    form_->Click(MainCommand::CopyRows);
    EXPECT_EQ(std::count(machine_->ClipboardText()->begin(), machine_->ClipboardText()->end(), '\n'), 3);
    // The actions still act on the focused row.
    EXPECT_EQ(form_->Selected(), 1);
    EXPECT_EQ(machine_->OpenHandleCount(), 0);
    EXPECT_TRUE(dialogs_.errors.empty());
}

TEST_F(Export, DeviceNotificationsGiveOneRefreshOnceTheyStop) {
    const struct {
        const char* name;
        int notifications;
        unsigned deviceType;
        bool busyAtFirstTick;
        bool autoRefresh;
        int refreshes;
    } cases[] = {
        {"a burst of five", 5, tw::kDeviceTypeVolume, false, true, 1},
        {"during a refresh: none until it ends", 1, tw::kDeviceTypeVolume, true, true, 1},
        {"auto refresh off", 3, tw::kDeviceTypeVolume, false, false, 0},
        {"not a volume", 2, 5 /* a device interface */, false, true, 0},
    };
    for (const auto& c : cases) {
        Open(kMachine);
        if (!c.autoRefresh) form_->Click(tw::MainOption::AutoRefresh);
        const int before = Refreshes();
        for (int i = 0; i < c.notifications; ++i) {
            form_->DeviceChange(i % 2 ? tw::kDeviceRemoveComplete : tw::kDeviceArrival, c.deviceType);
        }
        // The window's one-second timer fires, the first time while a refresh may run.
        app_.refreshBusy = c.busyAtFirstTick;
        if (view_.deviceTimer) form_->DeviceChangeTimer();
        if (c.busyAtFirstTick) {
            EXPECT_EQ(Refreshes(), before) << c.name;
            EXPECT_TRUE(view_.deviceTimer) << c.name;
        }
        app_.refreshBusy = false;
        for (int tick = 0; tick < 3 && view_.deviceTimer; ++tick) form_->DeviceChangeTimer();
        EXPECT_FALSE(view_.deviceTimer) << c.name;
        EXPECT_EQ(Refreshes() - before, c.refreshes) << c.name;
    }
}

}  // namespace
