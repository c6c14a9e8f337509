// The drive list the program builds on the real system agrees with what the
// test asks the system itself: which letters, their labels, file systems,
// serial numbers, kinds and sizes, written with the user's separators.
//
// Wine's own drives are the subject: C: (the prefix's drive_c) and Z: (the
// Unix root). Both are fixed disks there; their labels are empty and their
// serial numbers are made up from the letter unless the prefix says otherwise,
// so nothing below assumes particular values.
#include "win32_test_support.h"
// After <windows.h>, which it needs.
#include <winioctl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <sstream>

namespace tw::win32_test {
namespace {

using inventory::DriveRow;
using tw::platform::win32::Win32Kernel;
using tw::platform::win32::Win32Locale;
using tw::platform::win32::Win32Network;
using tw::platform::win32::Win32Platform;
using tw::platform::win32::Win32Registry;

constexpr double kGiB = 1024.0 * 1024 * 1024;
// Free space moves with whatever else runs on the machine.
constexpr std::uint64_t kFreeSlack = std::uint64_t{1} << 30;

inventory::EnumerationOptions AllDrives() {
    inventory::EnumerationOptions options;
    options.skipAB = true;
    options.filters = inventory::KindFilters{};  // every kind shown
    return options;
}

// Wine's drives, where the direct calls answer.
void ExpectVolumeCellsAgree(const DriveRow& row, char letter) {
    SCOPED_TRACE(std::string("drive ") + letter);
    const DirectVolume volume = QueryVolume(letter);
    ASSERT_TRUE(volume.ok);
    const ::UINT type = ::GetDriveTypeA(RootPath(letter).c_str());
    EXPECT_EQ(row.caption, std::string(1, letter) + ": ");
    EXPECT_EQ(row.cells[inventory::kLabel], volume.label);
    EXPECT_EQ(row.cells[inventory::kFormat], volume.fileSystem);
    EXPECT_EQ(row.cells[inventory::kVolumeSerial], SerialAsListed(volume.serial));
    EXPECT_EQ(row.cells[inventory::kType], KindTextOf(type));
}

class DriveListOnWine : public ::testing::Test {
protected:
    void SetUp() override {
        decimal_ = LocaleString(LOCALE_SDECIMAL);
        thousand_ = LocaleString(LOCALE_STHOUSAND);
        ASSERT_FALSE(decimal_.empty());
    }

    // Reading the drive policy creates its key; the guard takes it away again.
    PolicyGuard policy_;
    Win32Platform platform_;
    std::string decimal_;
    std::string thousand_;
};

// Whether the system calls C: external: its storage descriptor names a USB or
// IEEE 1394 bus or removable media. False when it can't be asked.
bool SystemCallsExternal(char letter) {
    const std::string path = platform::VolumeDevicePath(letter);
    const ::HANDLE h =
        ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    ::STORAGE_PROPERTY_QUERY query{};
    query.PropertyId = ::StorageDeviceProperty;
    query.QueryType = ::PropertyStandardQuery;
    alignas(8)::BYTE buffer[548] = {};
    ::DWORD returned = 0;
    const ::BOOL ok = ::DeviceIoControl(h, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, buffer, sizeof buffer,
                                        &returned, nullptr);
    ::CloseHandle(h);
    if (!ok || returned < offsetof(::STORAGE_DEVICE_DESCRIPTOR, BusType) + sizeof(::DWORD)) return false;
    const auto* d = reinterpret_cast<const ::STORAGE_DEVICE_DESCRIPTOR*>(buffer);
    return d->BusType == ::BusType1394 || d->BusType == ::BusTypeUsb || d->RemovableMedia;
}

TEST_F(DriveListOnWine, ExternalDriveAsTheSystemsStorageQuerySays) {
    const bool external = SystemCallsExternal('C');
    EXPECT_EQ(inventory::IsExternal(platform_.device(), 'C'), external);
    std::vector<DriveRow> rows;
    ListDrives(platform_, AllDrives(), rows);
    const DriveRow* c = FindRow(rows, 'C');
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->cells[inventory::kAdditionalInfo], external ? "External Drive" : "");
}

TEST_F(DriveListOnWine, ListsTheLettersTheSystemReports) {
    std::vector<DriveRow> rows;
    ListDrives(platform_, AllDrives(), rows);
    std::vector<char> listed;
    for (const auto& row : rows) listed.push_back(row.Letter());
    EXPECT_EQ(listed, SystemLetters());
    EXPECT_NE(FindRow(rows, 'C'), nullptr);
    EXPECT_NE(FindRow(rows, 'Z'), nullptr);
}

TEST_F(DriveListOnWine, VolumeCellsAgreeWithDirectCalls) {
    std::vector<DriveRow> rows;
    ListDrives(platform_, AllDrives(), rows);
    for (char letter : {'C', 'Z'}) {
        const DriveRow* row = FindRow(rows, letter);
        ASSERT_NE(row, nullptr) << letter;
        ExpectVolumeCellsAgree(*row, letter);
        // Wine's drives are plain disks, neither substitutions nor network drives.
        EXPECT_EQ(row->cells[inventory::kType], "Local Disk") << letter;
        EXPECT_EQ(row->cells[inventory::kAdditionalInfo], "") << letter;
        EXPECT_EQ(row->cells[inventory::kVisibility], "Visible") << letter;
    }
}

TEST_F(DriveListOnWine, SizesAgreeWithFreeSpaceCalls) {
    std::vector<DirectSpace> before;
    for (char letter : {'C', 'Z'}) before.push_back(QuerySpace(letter));
    std::vector<DriveRow> rows;
    ListDrives(platform_, AllDrives(), rows);
    int i = 0;
    for (char letter : {'C', 'Z'}) {
        SCOPED_TRACE(std::string("drive ") + letter);
        const DirectSpace first = before[i++];
        const DirectSpace second = QuerySpace(letter);
        ASSERT_TRUE(first.ok && second.ok);
        ASSERT_EQ(first.total, second.total);
        const DriveRow* row = FindRow(rows, letter);
        ASSERT_NE(row, nullptr);

        // The size: two decimals of GB (or MB), so within half a hundredth of the unit.
        const auto size = ParseSizeText(row->cells[inventory::kSize], decimal_);
        ASSERT_TRUE(size.has_value()) << '"' << row->cells[inventory::kSize] << '"';
        const double unit = first.total > kGiB ? kGiB : 1024.0 * 1024;
        EXPECT_LE(std::fabs(*size - static_cast<double>(first.total)), unit * 0.005 + 1)
            << row->cells[inventory::kSize];

        // Bytes free: exact digits grouped by the locale's thousand separator.
        const auto bytesFree = ParseGrouped(row->cells[inventory::kBytesFree], thousand_);
        ASSERT_TRUE(bytesFree.has_value()) << '"' << row->cells[inventory::kBytesFree] << '"';
        const std::uint64_t low = std::min(first.freeToCaller, second.freeToCaller);
        const std::uint64_t high = std::max(first.freeToCaller, second.freeToCaller);
        EXPECT_GE(*bytesFree + kFreeSlack, low);
        EXPECT_LE(*bytesFree, high + kFreeSlack);

        // Available and used add up to the size.
        const auto available = ParseSizeText(row->cells[inventory::kAvailable], decimal_);
        const auto used = ParseSizeText(row->cells[inventory::kUsed], decimal_);
        ASSERT_TRUE(available.has_value()) << '"' << row->cells[inventory::kAvailable] << '"';
        ASSERT_TRUE(used.has_value()) << '"' << row->cells[inventory::kUsed] << '"';
        EXPECT_LE(std::fabs(*available - static_cast<double>(*bytesFree)), unit * 0.005 + 1);
        EXPECT_LE(std::fabs(*used + *available - static_cast<double>(first.total)), 2 * (unit * 0.005 + 1));

        // "% Free": eight characters, one decimal, then "%".
        const std::string& percent = row->cells[inventory::kPercentFree];
        ASSERT_EQ(percent.size(), 9u) << '"' << percent << '"';
        ASSERT_EQ(percent.back(), '%');
        std::string number = percent.substr(0, percent.size() - 1);
        number.replace(number.find(decimal_), decimal_.size(), ".");
        const double expectedPercent = static_cast<double>(*bytesFree) / static_cast<double>(first.total) * 100;
        EXPECT_LE(std::fabs(std::strtod(number.c_str(), nullptr) - expectedPercent), 0.05 + 1e-9) << percent;
    }
}

// A platform whose kernel32 lacks GetDiskFreeSpaceExA, as the oldest systems did.
class PlatformWithoutExtendedFreeSpace : public tw::platform::Platform {
public:
    tw::platform::Kernel& kernel() override { return kernel_; }
    tw::platform::Registry& registry() override { return registry_; }
    tw::platform::Network& network() override { return network_; }
    tw::platform::Locale& locale() override { return locale_; }
    tw::platform::Shell& shell() override { return shell_; }
    tw::platform::Device& device() override { return device_; }
    tw::platform::Security& security() override { return security_; }
    tw::platform::Multimedia& multimedia() override { return multimedia_; }
    tw::platform::Modules& modules() override { return modules_; }
    tw::platform::Wmi& wmi() override { return wmi_; }
    tw::platform::Desktop& desktop() override { return desktop_; }

private:
    Win32Kernel kernel_{"TarnwellNoSuchExport"};
    Win32Registry registry_;
    Win32Network network_;
    Win32Locale locale_;
    tw::platform::win32::Win32Shell shell_;
    tw::platform::win32::Win32Desktop desktop_;
    tw::platform::win32::Win32Device device_;
    tw::platform::win32::Win32Security security_;
    tw::platform::win32::Win32Multimedia multimedia_;
    tw::platform::win32::Win32Modules modules_;
    tw::platform::win32::Win32Wmi wmi_;
};

TEST_F(DriveListOnWine, SizesComeFromClusterCountsWithoutTheExtendedCall) {
    PlatformWithoutExtendedFreeSpace old;
    std::vector<DriveRow> rows;
    ListDrives(old, AllDrives(), rows);
    const DriveRow* row = FindRow(rows, 'C');
    ASSERT_NE(row, nullptr);
    ::DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    ASSERT_TRUE(::GetDiskFreeSpaceA("C:\\", &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters));
    const double cluster = static_cast<double>(sectorsPerCluster) * bytesPerSector;
    const double total = totalClusters * cluster;
    const auto size = ParseSizeText(row->cells[inventory::kSize], decimal_);
    ASSERT_TRUE(size.has_value()) << '"' << row->cells[inventory::kSize] << '"';
    const double unit = total > kGiB ? kGiB : 1024.0 * 1024;
    EXPECT_LE(std::fabs(*size - total), unit * 0.005 + 1) << row->cells[inventory::kSize];
    const auto bytesFree = ParseGrouped(row->cells[inventory::kBytesFree], thousand_);
    ASSERT_TRUE(bytesFree.has_value());
    // Whole clusters.
    EXPECT_EQ(*bytesFree % static_cast<std::uint64_t>(cluster), 0u);
    EXPECT_NE(row->cells[inventory::kLabel], "Not mounted");
}

TEST_F(DriveListOnWine, HiddenPolicyShowsInTheVisibilityColumn) {
    const ::DWORD hideC = 1u << ('C' - 'A');
    policy_.SetNoDrives(REG_DWORD, &hideC, 4);
    std::vector<DriveRow> rows;
    ListDrives(platform_, AllDrives(), rows);
    const DriveRow* c = FindRow(rows, 'C');
    const DriveRow* z = FindRow(rows, 'Z');
    ASSERT_NE(c, nullptr);
    ASSERT_NE(z, nullptr);
    EXPECT_EQ(c->cells[inventory::kVisibility], "Hidden");
    EXPECT_EQ(z->cells[inventory::kVisibility], "Visible");
}

TEST_F(DriveListOnWine, UncheckingLocalDisksDropsWinesDrives) {
    inventory::EnumerationOptions options = AllDrives();
    options.filters.local = false;
    std::vector<DriveRow> rows;
    ListDrives(platform_, options, rows);
    for (const auto& row : rows) {
        EXPECT_NE(::GetDriveTypeA(RootPath(row.Letter()).c_str()), static_cast<::UINT>(DRIVE_FIXED)) << row.caption;
    }
    EXPECT_EQ(FindRow(rows, 'C'), nullptr);
}

TEST_F(DriveListOnWine, ALetterDefinedMeanwhileIsListedWithItsKind) {
    DosDeviceGuard subst("C:\\windows");
    ASSERT_NE(subst.letter(), 0) << "DefineDosDeviceA failed: " << ::GetLastError();
    std::vector<DriveRow> rows;
    ListDrives(platform_, AllDrives(), rows);
    const DriveRow* row = FindRow(rows, subst.letter());
    ASSERT_NE(row, nullptr);
    const ::UINT type = ::GetDriveTypeA(RootPath(subst.letter()).c_str());
    if (type == DRIVE_FIXED) {
        // Windows: a substituted letter is a fixed drive standing for the folder.
        EXPECT_EQ(row->cells[inventory::kType], "Subst");
        EXPECT_EQ(row->cells[inventory::kAdditionalInfo], subst.target());
    } else {
        // Wine reports a DefineDosDevice letter as having no root directory.
        EXPECT_EQ(row->cells[inventory::kType], KindTextOf(type));
    }
}

// ---- tarnwell-cli list, in process, on the real platform ----

std::vector<std::vector<std::string>> SplitLines(const std::string& text) {
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields;
        size_t start = 0;
        for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
            fields.push_back(line.substr(start, tab - start));
        }
        fields.push_back(line.substr(start));
        lines.push_back(fields);
    }
    return lines;
}

TEST_F(DriveListOnWine, CliListPrintsTheRealDrives) {
    std::istringstream in;
    std::ostringstream out, err;
    ASSERT_EQ(cli::Run({"list"}, in, out, err), 0) << err.str();
    EXPECT_EQ(err.str(), "");  // no fallback to the bundled machine
    const auto lines = SplitLines(out.str());
    ASSERT_GE(lines.size(), 1u);
    ASSERT_FALSE(lines[0].empty());
    EXPECT_EQ(lines[0][0], "Drive");

    // The window starts with A: and B: skipped; all kinds shown.
    std::vector<char> listed;
    for (size_t i = 1; i < lines.size(); ++i) {
        ASSERT_FALSE(lines[i][0].empty());
        listed.push_back(lines[i][0][0]);
    }
    EXPECT_EQ(listed, SystemLetters());

    for (size_t i = 1; i < lines.size(); ++i) {
        const char letter = listed[i - 1];
        if (letter != 'C' && letter != 'Z') continue;
        // Caption, thirteen cells, image index, colour.
        ASSERT_EQ(lines[i].size(), 1u + inventory::kCellCount + 2) << letter;
        DriveRow row;
        row.caption = lines[i][0];
        for (int c = 0; c < inventory::kCellCount; ++c) row.cells[c] = lines[i][1 + c];
        ExpectVolumeCellsAgree(row, letter);
        const DirectSpace space = QuerySpace(letter);
        ASSERT_TRUE(space.ok);
        const auto size = ParseSizeText(row.cells[inventory::kSize], decimal_);
        ASSERT_TRUE(size.has_value()) << '"' << row.cells[inventory::kSize] << '"';
        const double unit = space.total > kGiB ? kGiB : 1024.0 * 1024;
        EXPECT_LE(std::fabs(*size - static_cast<double>(space.total)), unit * 0.005 + 1);
    }
}

}  // namespace
}  // namespace tw::win32_test
