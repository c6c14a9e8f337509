// The drive list built from a simulated machine: one row per letter, every
// cell and its fall-backs, the kind filters, and that the walk leaves nothing
// open whatever the calls answer.
#include <gtest/gtest.h>

#include "actions/drive_hiding.h"
#include "inventory/drive_chooser.h"
#include "inventory/drive_enumeration.h"
#include "test_support.h"

using tw::inventory::DriveRow;
using tw::inventory::EnumerateDrives;
using tw::inventory::EnumerationOptions;
using tw::sim::SimCall;
namespace inv = tw::inventory;

namespace {

struct CountingPump : tw::optical::MessagePump {
    void ProcessMessages() override { ++passes; }
    int passes = 0;
};

std::vector<DriveRow> Enumerate(tw::sim::Machine& m, EnumerationOptions options = {}) {
    std::vector<DriveRow> rows;
    CountingPump pump;
    EnumerateDrives(m, options, pump, rows);
    return rows;
}

std::string Captions(const std::vector<DriveRow>& rows) {
    std::string s;
    for (const auto& r : rows) s += r.caption;
    return s;
}

const DriveRow& RowOf(const std::vector<DriveRow>& rows, char letter) {
    for (const auto& r : rows) {
        if (r.Letter() == letter) return r;
    }
    throw std::runtime_error(std::string("no row for ") + letter);
}

}  // namespace

TEST(DriveList, WorkstationListsEveryLetterOnceInOrder) {
    auto m = twtest::ExampleMachine("workstation.json");
    auto rows = Enumerate(*m);
    // A is skipped at start-up; H is listed though absent from the mask.
    EXPECT_EQ(Captions(rows), "C: D: E: F: G: H: R: S: ");
    EXPECT_EQ(m->CallCount(SimCall::GetLogicalDrives), 1);
}

TEST(DriveList, SkippingAAndBNeverProbesThem) {
    auto m = twtest::ExampleMachine("workstation.json");
    Enumerate(*m);
    for (SimCall call : {SimCall::WNetGetConnectionA, SimCall::GetVolumeInformationA, SimCall::GetDriveTypeA}) {
        EXPECT_EQ(m->CallCount(call, 'A'), 0) << CallName(call);
        EXPECT_EQ(m->CallCount(call, 'B'), 0) << CallName(call);
    }
    EnumerationOptions all;
    all.skipAB = false;
    auto rows = Enumerate(*m, all);
    EXPECT_EQ(rows.front().caption, "A: ");
    EXPECT_EQ(rows.front().cells[inv::kType], "Removable Disk");
}

TEST(DriveList, FixedDriveCells) {
    auto m = twtest::ExampleMachine("workstation.json");
    const DriveRow c = RowOf(Enumerate(*m), 'C');
    const std::array<std::string, inv::kCellCount> expected{
        "System", "Local Disk",  "",          "238.37 GB", "144.09 GB", "94.28 GB", "101,234,567,168",
        "NTFS",   "1A2B - 3C4D", "    39.6%", "Visible",   "",          ""};
    EXPECT_EQ(c.cells, expected);
    EXPECT_EQ(c.image, inv::kImageLocal);
}

TEST(DriveList, EmptyCardSlotIsNotMounted) {
    auto m = twtest::ExampleMachine("workstation.json");
    const DriveRow e = RowOf(Enumerate(*m), 'E');
    const std::array<std::string, inv::kCellCount> expected{
        "Not mounted", "Removable Disk", "        ", "", "", "", "", "", "", "     0.0%", "Visible", "        ", ""};
    EXPECT_EQ(e.cells, expected);
    EXPECT_EQ(e.image, inv::kImageRemovable);
    // A not-mounted volume is not asked a second time for its serial.
    EXPECT_EQ(m->CallCount(SimCall::GetVolumeInformationA, 'E'), 1);
}

TEST(DriveList, RememberedNetworkDriveWithServerOff) {
    auto m = twtest::ExampleMachine("workstation.json");
    const DriveRow h = RowOf(Enumerate(*m), 'H');
    EXPECT_EQ(h.cells[inv::kType], "Network");
    EXPECT_EQ(h.cells[inv::kAdditionalInfo], "Disconnected");
    EXPECT_EQ(h.image, inv::kImageDisconnected);
    // No space probe: the sizes are those of an untouched record.
    EXPECT_EQ(m->CallCount(SimCall::GetDiskFreeSpaceExA, 'H'), 0);
    EXPECT_EQ(h.cells[inv::kSize], "0.00 MB");
    EXPECT_EQ(h.cells[inv::kBytesFree], "0");
    EXPECT_EQ(h.cells[inv::kVolumeSerial], "");
    EXPECT_EQ(h.cells[inv::kVendor], "");
}

TEST(DriveList, NetworkSubstitutionRamDiskAndOptical) {
    auto m = twtest::ExampleMachine("workstation.json");
    auto rows = Enumerate(*m);
    EXPECT_EQ(RowOf(rows, 'G').cells[inv::kAdditionalInfo], "\\\\fileserver\\projects");
    EXPECT_EQ(RowOf(rows, 'G').image, inv::kImageNetwork);
    EXPECT_EQ(RowOf(rows, 'S').cells[inv::kType], "Subst");
    EXPECT_EQ(RowOf(rows, 'S').cells[inv::kAdditionalInfo], "C:\\work");
    // Exactly one gibibyte is still shown in megabytes.
    EXPECT_EQ(RowOf(rows, 'R').cells[inv::kSize], "1024.00 MB");
    EXPECT_EQ(RowOf(rows, 'R').cells[inv::kVisibility], "Hidden");
    EXPECT_EQ(RowOf(rows, 'D').cells[inv::kType], "CD / DVD Drive");
    EXPECT_EQ(RowOf(rows, 'D').image, inv::kImageOptical);
}

TEST(DriveList, KindFiltersDropTheirRows) {
    struct Case {
        const char* name;
        bool inv::KindFilters::*box;
        const char* remaining;
    };
    const Case cases[] = {
        {"Local", &inv::KindFilters::local, "D: E: G: H: R: "},
        {"CD/DVD", &inv::KindFilters::optical, "C: E: F: G: H: R: S: "},
        {"Removable", &inv::KindFilters::removable, "C: D: F: G: H: R: S: "},
        {"Network", &inv::KindFilters::network, "C: D: E: F: H: R: S: "},
        {"Not mounted", &inv::KindFilters::notMounted, "C: F: G: H: R: S: "},
        {"Disconnected", &inv::KindFilters::disconnected, "C: D: E: F: G: R: S: "},
    };
    for (const Case& c : cases) {
        auto m = twtest::ExampleMachine("workstation.json");
        EnumerationOptions options;
        options.filters.*(c.box) = false;
        EXPECT_EQ(Captions(Enumerate(*m, options)), c.remaining) << c.name;
    }
    // A row matched by two unchecked filters is removed once.
    auto m = twtest::ExampleMachine("workstation.json");
    EnumerationOptions both;
    both.filters.removable = false;
    both.filters.notMounted = false;
    EXPECT_EQ(Captions(Enumerate(*m, both)), "C: F: G: H: R: S: ");
}

TEST(DriveList, CriticalErrorsAreOffOnlyWhileSpaceIsProbed) {
    auto m = twtest::ExampleMachine("workstation.json");
    Enumerate(*m);
    EXPECT_EQ(m->ErrorModeAtLastSpaceProbe(), tw::platform::SEM_FAILCRITICALERRORS);
    EXPECT_EQ(m->CurrentErrorMode(), 0u);
}

TEST(DriveList, FallsBackToClusterCountsWithoutTheExtendedCall) {
    auto m = twtest::MachineFromText(R"({
      "free_space_ex": false,
      "drives": {"C": {"volume": {"label": "Old", "file_system": "FAT"},
                       "space": {"total": 2147483648, "free": 1073741824,
                                 "bytes_per_sector": 512, "sectors_per_cluster": 64}}}})");
    const DriveRow c = RowOf(Enumerate(*m), 'C');
    EXPECT_EQ(c.cells[inv::kSize], "2.00 GB");
    EXPECT_EQ(c.cells[inv::kAvailable], "1024.00 MB");
    EXPECT_EQ(c.cells[inv::kPercentFree], "    50.0%");
    EXPECT_EQ(m->CallCount(SimCall::GetDiskFreeSpaceA, 'C'), 1);
}

TEST(DriveList, FailingCallsFallBackCellByCell) {
    auto m = twtest::MachineFromText(R"({
      "drives": {
        "C": {"volume": {"error": "ERROR_ACCESS_DENIED"}, "space": {"total": 1000, "free": 10}},
        "K": {"type": 7, "volume": {"label": "Odd", "file_system": "XFS"}, "space": {"total": 100, "free": 50}},
        "M": {"type": "DRIVE_REMOTE", "connection": {"error": "ERROR_CONNECTION_UNAVAIL"},
              "volume": {"label": "Gone"}, "space": {"error": "ERROR_BAD_NETPATH"}},
        "N": {"type": "DRIVE_REMOTE", "connection": {"error": "ERROR_NO_NETWORK"}, "space": {"total": 10, "free": 1}},
        "U": {"type": "DRIVE_UNKNOWN", "space": {"total": 10, "free": 1}}}})");
    auto rows = Enumerate(*m);
    const DriveRow& c = RowOf(rows, 'C');
    EXPECT_EQ(c.cells[inv::kLabel], "");
    EXPECT_EQ(c.cells[inv::kFormat], "");
    EXPECT_EQ(c.cells[inv::kVolumeSerial], "");
    EXPECT_EQ(c.cells[inv::kPercentFree], "     1.0%");
    const DriveRow& k = RowOf(rows, 'K');
    EXPECT_EQ(k.cells[inv::kType], "Error reading drive");
    EXPECT_EQ(k.cells[inv::kAdditionalInfo], "7");
    // Present as a remote drive but unavailable: listed as a disconnected share.
    const DriveRow& mRow = RowOf(rows, 'M');
    EXPECT_EQ(mRow.cells[inv::kType], "Network Disk");
    EXPECT_EQ(mRow.cells[inv::kAdditionalInfo], "Disconnected");
    EXPECT_EQ(mRow.image, inv::kImageNetwork);
    EXPECT_EQ(RowOf(rows, 'N').cells[inv::kAdditionalInfo], "");
    EXPECT_EQ(RowOf(rows, 'U').cells[inv::kType], "Unknown");
}

TEST(DriveList, ASpaceProbeThatRaisesMarksTheTypeNotMounted) {
    auto m = twtest::MachineFromText(R"({
      "drives": {"C": {"volume": {"label": "Sys"}, "space": {"total": 10, "free": 1},
                       "raises": {"GetDiskFreeSpaceExA": "Access violation at address 00000000"}},
                 "D": {"volume": {"label": "Data"}, "space": {"total": 10, "free": 5}}}})");
    auto rows = Enumerate(*m);
    ASSERT_EQ(Captions(rows), "C: D: ");
    EXPECT_EQ(rows[0].cells[inv::kType], "Not mounted");
    EXPECT_EQ(rows[0].cells[inv::kLabel], "Sys");
    EXPECT_EQ(rows[1].cells[inv::kType], "Local Disk");
    EXPECT_EQ(m->CurrentErrorMode(), 0u);
}

TEST(DriveList, ARaiseOutsideTheSpaceProbeEndsTheWalkKeepingRowsSoFar) {
    auto m = twtest::MachineFromText(R"({
      "drives": {"C": {"volume": {"label": "Sys"}, "space": {"total": 10, "free": 1}},
                 "D": {"volume": {"label": "Data"}, "space": {"total": 10, "free": 5},
                       "raises": {"GetDriveTypeA": "device vanished"}},
                 "E": {"volume": {"label": "More"}, "space": {"total": 10, "free": 5}}}})");
    std::vector<DriveRow> rows;
    CountingPump pump;
    EXPECT_THROW(EnumerateDrives(*m, {}, pump, rows), tw::sim::SimulatedFault);
    EXPECT_EQ(Captions(rows), "C: D: ");
    EXPECT_EQ(m->CallCount(SimCall::GetDriveTypeA, 'E'), 0);
}

TEST(DriveList, LeavesNoKeyOrHandleOpen) {
    for (const char* name : {"workstation.json", "minimal.json", "faults.json"}) {
        auto m = twtest::ExampleMachine(name);
        std::vector<DriveRow> rows;
        CountingPump pump;
        try {
            EnumerateDrives(*m, {}, pump, rows);
        } catch (const std::exception&) {
        }
        EXPECT_EQ(m->OpenKeyCount(), 0) << name;
        EXPECT_EQ(m->OpenHandleCount(), 0) << name;
        EXPECT_GT(m->CallCount(SimCall::RegCloseKey), 0) << name;
    }
}

TEST(DriveList, UsesTheLocaleSeparators) {
    auto m = twtest::MachineFromText(R"({
      "locale": {"decimal": ",", "thousand": "."},
      "drives": {"C": {"volume": {"label": "Sys"}, "space": {"total": 3221225472, "free": 1234567890}}}})");
    const DriveRow c = RowOf(Enumerate(*m), 'C');
    EXPECT_EQ(c.cells[inv::kSize], "3,00 GB");
    EXPECT_EQ(c.cells[inv::kBytesFree], "1.234.567.890");
    EXPECT_EQ(c.cells[inv::kPercentFree], "    38,3%");
}

// Counts past 2^53 keep every byte, and the texts are computed in the x87
// extended format; the same literal texts are expected of every build.
TEST(DriveList, LargeVolumesAreExactToTheByte) {
    const struct {
        const char* total;
        const char* free;
        std::array<const char*, 5> texts;  // Size, Used, Available, Bytes Free, % Free
    } cases[] = {
        {"18014398509481984",
         "9007199254740993",
         {"16777216.00 GB", "8388608.00 GB", "8388608.00 GB", "9,007,199,254,740,993", "    50.0%"}},
        {"18446744073709551615",
         "18446744073709550592",
         {"17179869184.00 GB", "0.00 MB", "17179869184.00 GB", "18,446,744,073,709,550,592", "   100.0%"}},
        {"14551166245944226424",
         "14551166245943948528",
         {"13551829611.83 GB", "0.27 MB", "13551829611.83 GB", "14,551,166,245,943,948,528", "   100.0%"}},
        // 74.95 exactly; the extended quotient falls just below it.
        {"3854293808000", "2888793209096", {"3589.59 GB", "899.19 GB", "2690.40 GB", "2,888,793,209,096", "    74.9%"}},
    };
    for (const auto& c : cases) {
        auto m = twtest::MachineFromText(std::string(R"({"drives": {"C": {"space": {"total": )") + c.total +
                                         R"(, "free": )" + c.free + "}}}}");
        const DriveRow row = RowOf(Enumerate(*m), 'C');
        const std::array<std::string, 5> got{row.cells[inv::kSize], row.cells[inv::kUsed], row.cells[inv::kAvailable],
                                             row.cells[inv::kBytesFree], row.cells[inv::kPercentFree]};
        EXPECT_EQ(got, (std::array<std::string, 5>{c.texts[0], c.texts[1], c.texts[2], c.texts[3], c.texts[4]}))
            << c.total << " / " << c.free;
    }
}

// The drive combo box of the diagnostic windows.
TEST(DriveChooser, ListsDrivesOfTheWantedTypeWithTheirLabels) {
    auto m = twtest::ExampleMachine("workstation.json");
    tw::inventory::ComboBox box;
    int changes = 0;
    tw::inventory::FillDriveChooser(m->kernel(), box, tw::platform::DRIVE_FIXED, [&] { ++changes; });
    EXPECT_EQ(box.items, (std::vector<std::string>{"C: [System]", "F: [STICK]", "S: [System]"}));
    EXPECT_EQ(box.itemIndex, 0);
    EXPECT_EQ(changes, 1);
    // Shown again: the box is refilled, not appended to.
    tw::inventory::FillDriveChooser(m->kernel(), box, tw::platform::DRIVE_FIXED, [&] { ++changes; });
    EXPECT_EQ(box.items.size(), 3u);
    EXPECT_EQ(changes, 2);
    // An optical drive without a disc has an empty label.
    tw::inventory::FillDriveChooser(m->kernel(), box, tw::platform::DRIVE_CDROM, {});
    EXPECT_EQ(box.items, std::vector<std::string>{"D: []"});
    EXPECT_EQ(box.Text(), "D: []");
}

TEST(DriveChooser, NoDriveOfTheTypeLeavesTheBoxEmptyButStillRunsTheChange) {
    auto m = twtest::MachineFromText(R"({"drives": {"C": {"volume": {"label": "Sys"}}}})");
    tw::inventory::ComboBox box;
    int changes = 0;
    tw::inventory::FillDriveChooser(m->kernel(), box, tw::platform::DRIVE_CDROM, [&] { ++changes; });
    EXPECT_TRUE(box.items.empty());
    EXPECT_EQ(box.Text(), "");
    EXPECT_EQ(changes, 1);
}

TEST(DriveList, ARefreshAsksEachQuestionOnce) {
    auto m = twtest::MachineFromText(R"({
      "drives": {
        "C": {"volume": {"label": "Sys", "file_system": "NTFS", "serial": "1A2B3C4D"},
              "space": {"total": 10, "free": 1}},
        "D": {"volume": {"label": "Long", "file_system": "AVeryLongFileSystemName", "serial": "00C0FFEE"},
              "space": {"total": 10, "free": 5}},
        "E": {"type": "DRIVE_REMOVABLE", "volume": {"label": "Card"}},
        "G": {"type": "DRIVE_REMOTE", "connection": "\\\\server\\share", "volume": {"label": "Share"},
              "space": {"total": 10, "free": 5}},
        "H": {"present": false, "connection": {"error": "ERROR_CONNECTION_UNAVAIL"}}},
      "registry": {"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer":
                   {"values": {"NoDrives": {"type": "REG_DWORD", "data": 8}}}}})");
    auto rows = Enumerate(*m);
    ASSERT_EQ(Captions(rows), "C: D: E: G: H: ");
    struct Case {
        SimCall call;
        char letter;  // 0: all letters
        int count;
    };
    const Case cases[] = {
        {SimCall::GetLogicalDrives, 0, 1},
        {SimCall::GetVolumeInformationA, 'C', 1},
        // The file-system name overflows the first ask's buffer; the second,
        // without one, gives the serial.
        {SimCall::GetVolumeInformationA, 'D', 2},
        {SimCall::GetVolumeInformationA, 'E', 1},  // not mounted: no serial asked
        {SimCall::WNetGetConnectionA, 'G', 1},
        {SimCall::WNetGetConnectionA, 'H', 1},
        {SimCall::GetDriveTypeA, 'C', 1},
        {SimCall::RegCreateKeyExA, 0, 1},
        {SimCall::RegCloseKey, 0, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.letter ? m->CallCount(c.call, c.letter) : m->CallCount(c.call), c.count)
            << CallName(c.call) << ' ' << (c.letter ? c.letter : '*');
    }
    EXPECT_EQ(RowOf(rows, 'C').cells[inv::kVolumeSerial], "1A2B - 3C4D");
    EXPECT_EQ(RowOf(rows, 'D').cells[inv::kVolumeSerial], "00C0 - FFEE");
    EXPECT_EQ(RowOf(rows, 'D').cells[inv::kFormat], "");
    EXPECT_EQ(RowOf(rows, 'G').cells[inv::kAdditionalInfo], "\\\\server\\share");
    EXPECT_EQ(RowOf(rows, 'D').cells[inv::kVisibility], "Hidden");
    EXPECT_EQ(RowOf(rows, 'C').cells[inv::kVisibility], "Visible");

    // The policy is read again by the next refresh.
    tw::actions::HideDrive(m->registry(), 'C');
    EXPECT_EQ(RowOf(Enumerate(*m), 'C').cells[inv::kVisibility], "Hidden");
    EXPECT_EQ(m->CallCount(SimCall::RegCreateKeyExA), 3);  // the hide's own opening between
}
