// The kernel, network and locale parts of the real backend answer like the
// Win32 calls they stand for: same results, same last-error codes, same
// buffer-size conventions. Written to what Wine does; where Windows is known
// to answer differently the test says so.
#include "win32_test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace tw::win32_test {
namespace {

namespace tp = tw::platform;

using tw::platform::win32::Win32Kernel;
using tw::platform::win32::Win32Locale;
using tw::platform::win32::Win32Network;
using tw::platform::win32::Win32Platform;

class KernelBackend : public ::testing::Test {
protected:
    Win32Kernel kernel_;
};

TEST_F(KernelBackend, LastErrorIsTheSystemsOwn) {
    kernel_.SetLastError(0xdeadbeef);
    EXPECT_EQ(::GetLastError(), 0xdeadbeefu);
    ::SetLastError(0x12345678);
    EXPECT_EQ(kernel_.GetLastError(), 0x12345678u);
}

TEST_F(KernelBackend, BuildingAPlatformLeavesTheLastErrorAlone) {
    ::SetLastError(0xdeadbeef);
    Win32Kernel missing("TarnwellNoSuchExport");
    EXPECT_EQ(::GetLastError(), 0xdeadbeefu);
    ::SetLastError(0xcafe);
    Win32Platform platform;
    EXPECT_EQ(::GetLastError(), 0xcafeu);
}

TEST_F(KernelBackend, LogicalDrivesAreTheSystemsAndIncludeWinesDrives) {
    const tw::platform::DWORD mask = kernel_.GetLogicalDrives();
    EXPECT_EQ(mask, ::GetLogicalDrives());
    // Every Wine prefix has C: (drive_c) and Z: (the Unix root).
    EXPECT_TRUE(mask & (1u << ('C' - 'A')));
    EXPECT_TRUE(mask & (1u << ('Z' - 'A')));
}

TEST_F(KernelBackend, DriveTypesMatchTheSystem) {
    for (char letter : SystemLetters()) {
        EXPECT_EQ(kernel_.GetDriveTypeA(RootPath(letter).c_str()), ::GetDriveTypeA(RootPath(letter).c_str())) << letter;
    }
    // Wine's C: is a directory of the Unix file system and reports as fixed.
    EXPECT_EQ(kernel_.GetDriveTypeA("C:\\"), static_cast<tw::platform::UINT>(DRIVE_FIXED));
    const char unused = UnusedLetter();
    ASSERT_NE(unused, 0);
    EXPECT_EQ(kernel_.GetDriveTypeA(RootPath(unused).c_str()), static_cast<tw::platform::UINT>(DRIVE_NO_ROOT_DIR));
}

TEST_F(KernelBackend, VolumeInformationMatchesTheSystem) {
    for (char letter : {'C', 'Z'}) {
        const DirectVolume direct = QueryVolume(letter);
        ASSERT_TRUE(direct.ok) << letter;
        std::array<char, MAX_PATH + 1> label{}, fileSystem{};
        tw::platform::DWORD serial = 0, maxComponent = 0, flags = 0;
        ASSERT_TRUE(kernel_.GetVolumeInformationA(RootPath(letter).c_str(), label.data(), MAX_PATH + 1, &serial,
                                                  &maxComponent, &flags, fileSystem.data(), MAX_PATH + 1));
        EXPECT_EQ(std::string(label.data()), direct.label) << letter;
        EXPECT_EQ(std::string(fileSystem.data()), direct.fileSystem) << letter;
        EXPECT_EQ(serial, direct.serial) << letter;
        EXPECT_GT(maxComponent, 0u) << letter;
        EXPECT_FALSE(direct.fileSystem.empty()) << letter;
    }
}

TEST_F(KernelBackend, VolumeInformationAcceptsNullOutputs) {
    tw::platform::DWORD serial = 0;
    ASSERT_TRUE(kernel_.GetVolumeInformationA("C:\\", nullptr, 0, &serial, nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(serial, QueryVolume('C').serial);
}

TEST_F(KernelBackend, VolumeInformationRefusesATooSmallLabelBuffer) {
    const DirectVolume direct = QueryVolume('C');
    ASSERT_TRUE(direct.ok);
    // Room for the label but not its terminating zero. (Wine gives C: an empty
    // label, so this is a buffer of size 0.)
    std::array<char, MAX_PATH + 1> label;
    label.fill('x');
    const auto size = static_cast<tw::platform::DWORD>(direct.label.size());
    kernel_.SetLastError(0xdeadbeef);
    EXPECT_FALSE(kernel_.GetVolumeInformationA("C:\\", label.data(), size, nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(kernel_.GetLastError(), static_cast<tw::platform::DWORD>(ERROR_BAD_LENGTH));
    // One more byte is enough.
    EXPECT_TRUE(kernel_.GetVolumeInformationA("C:\\", label.data(), size + 1, nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(std::string(label.data()), direct.label);
}

TEST_F(KernelBackend, VolumeInformationRefusesATooSmallFileSystemBuffer) {
    const DirectVolume direct = QueryVolume('C');
    ASSERT_TRUE(direct.ok);
    std::array<char, MAX_PATH + 1> fileSystem{};
    const auto size = static_cast<tw::platform::DWORD>(direct.fileSystem.size());
    kernel_.SetLastError(0xdeadbeef);
    EXPECT_FALSE(kernel_.GetVolumeInformationA("C:\\", nullptr, 0, nullptr, nullptr, nullptr, fileSystem.data(), size));
    EXPECT_EQ(kernel_.GetLastError(), static_cast<tw::platform::DWORD>(ERROR_BAD_LENGTH));
    EXPECT_TRUE(
        kernel_.GetVolumeInformationA("C:\\", nullptr, 0, nullptr, nullptr, nullptr, fileSystem.data(), size + 1));
    EXPECT_EQ(std::string(fileSystem.data()), direct.fileSystem);
}

TEST_F(KernelBackend, VolumeInformationOfAMissingDriveFailsLikeTheSystem) {
    const char unused = UnusedLetter();
    ASSERT_NE(unused, 0);
    std::array<char, 64> label{};
    ::SetLastError(0);
    const BOOL directOk =
        ::GetVolumeInformationA(RootPath(unused).c_str(), label.data(), 64, nullptr, nullptr, nullptr, nullptr, 0);
    const ::DWORD directError = ::GetLastError();
    kernel_.SetLastError(0);
    EXPECT_FALSE(kernel_.GetVolumeInformationA(RootPath(unused).c_str(), label.data(), 64, nullptr, nullptr, nullptr,
                                               nullptr, 0));
    const tw::platform::DWORD error = kernel_.GetLastError();
    EXPECT_FALSE(directOk);
    EXPECT_EQ(error, directError);
    EXPECT_NE(error, 0u);
}

TEST_F(KernelBackend, FreeSpaceMatchesTheSystem) {
    const DirectSpace before = QuerySpace('C');
    tw::platform::ULONGLONG freeToCaller = 0, total = 0, totalFree = 0;
    ASSERT_TRUE(kernel_.GetDiskFreeSpaceExA("C:\\", &freeToCaller, &total, &totalFree));
    const DirectSpace after = QuerySpace('C');
    ASSERT_TRUE(before.ok && after.ok);
    EXPECT_EQ(total, before.total);
    EXPECT_GT(total, 0u);
    EXPECT_LE(freeToCaller, total);
    EXPECT_LE(freeToCaller, totalFree);
    // Free space may move between the calls; it stays within what other
    // processes on the machine could write in that time.
    constexpr std::uint64_t kSlack = std::uint64_t{1} << 30;
    EXPECT_GE(freeToCaller + kSlack, std::min(before.freeToCaller, after.freeToCaller));
    EXPECT_LE(freeToCaller, std::max(before.freeToCaller, after.freeToCaller) + kSlack);
}

TEST_F(KernelBackend, FreeSpaceAcceptsNullOutputs) {
    tw::platform::ULONGLONG total = 0;
    EXPECT_TRUE(kernel_.GetDiskFreeSpaceExA("C:\\", nullptr, &total, nullptr));
    EXPECT_EQ(total, QuerySpace('C').total);
}

TEST_F(KernelBackend, FreeSpaceOfAMissingDriveFails) {
    const char unused = UnusedLetter();
    ASSERT_NE(unused, 0);
    tw::platform::ULONGLONG freeToCaller = 7, total = 7, totalFree = 7;
    kernel_.SetLastError(0);
    EXPECT_FALSE(kernel_.GetDiskFreeSpaceExA(RootPath(unused).c_str(), &freeToCaller, &total, &totalFree));
    EXPECT_NE(kernel_.GetLastError(), 0u);
}

TEST_F(KernelBackend, MissingExtendedFreeSpaceCallFailsAsNotImplemented) {
    Win32Kernel old("TarnwellNoSuchExport");
    tw::platform::ULONGLONG freeToCaller = 7, total = 7, totalFree = 7;
    old.SetLastError(0);
    EXPECT_FALSE(old.GetDiskFreeSpaceExA("C:\\", &freeToCaller, &total, &totalFree));
    EXPECT_EQ(old.GetLastError(), static_cast<tw::platform::DWORD>(ERROR_CALL_NOT_IMPLEMENTED));
    EXPECT_EQ(total, 7u);
}

TEST_F(KernelBackend, ClusterCountsMatchTheExtendedCall) {
    tw::platform::DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    ASSERT_TRUE(kernel_.GetDiskFreeSpaceA("C:\\", &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters));
    ::DWORD d1 = 0, d2 = 0, d3 = 0, d4 = 0;
    ASSERT_TRUE(::GetDiskFreeSpaceA("C:\\", &d1, &d2, &d3, &d4));
    EXPECT_EQ(sectorsPerCluster, d1);
    EXPECT_EQ(bytesPerSector, d2);
    EXPECT_EQ(totalClusters, d4);
    // Wine, like Windows NT, reports the whole volume here as long as the
    // cluster count fits 32 bits (Windows 95 capped it near 2 GB).
    const std::uint64_t clusterBytes = std::uint64_t{sectorsPerCluster} * bytesPerSector;
    ASSERT_GT(clusterBytes, 0u);
    const DirectSpace space = QuerySpace('C');
    ASSERT_TRUE(space.ok);
    if (space.total / clusterBytes <= 0xFFFFFFFFu) {
        EXPECT_EQ(std::uint64_t{totalClusters} * clusterBytes, space.total);
    }
}

TEST_F(KernelBackend, SetErrorModeReturnsThePreviousMode) {
    const tw::platform::UINT original = kernel_.SetErrorMode(SEM_FAILCRITICALERRORS);
    EXPECT_EQ(::GetErrorMode(), static_cast<::UINT>(SEM_FAILCRITICALERRORS));
    EXPECT_EQ(kernel_.SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX),
              static_cast<tw::platform::UINT>(SEM_FAILCRITICALERRORS));
    EXPECT_EQ(kernel_.SetErrorMode(original),
              static_cast<tw::platform::UINT>(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX));
    EXPECT_EQ(::GetErrorMode(), original);
}

TEST_F(KernelBackend, LogicalDriveStringsReportTheNeededSizeForAShortBuffer) {
    const std::vector<char> letters = SystemLetters();
    const ::DWORD mask = ::GetLogicalDrives();
    int count = 0;
    for (char c = 'A'; c <= 'Z'; ++c) count += (mask >> (c - 'A')) & 1;
    // "X:\" and a zero per drive, and the closing zero.
    const auto needed = static_cast<tw::platform::DWORD>(4 * count + 1);

    std::array<char, 4> shortBuffer;
    shortBuffer.fill('x');
    EXPECT_EQ(kernel_.GetLogicalDriveStringsA(1, shortBuffer.data()), needed);
    EXPECT_EQ(kernel_.GetLogicalDriveStringsA(0, nullptr), needed);

    // Exactly the needed size is enough; one less is not.
    std::vector<char> exact(needed, 'x');
    EXPECT_EQ(kernel_.GetLogicalDriveStringsA(needed, exact.data()), needed - 1);
    EXPECT_EQ(exact.back(), 0);
    EXPECT_EQ(kernel_.GetLogicalDriveStringsA(needed - 1, exact.data()), needed);

    std::array<char, 26 * 4 + 1> buffer;
    buffer.fill('x');
    // Once it fits, the count leaves out the closing zero.
    ASSERT_EQ(kernel_.GetLogicalDriveStringsA(static_cast<tw::platform::DWORD>(buffer.size()), buffer.data()),
              needed - 1);
    std::vector<char> listed;
    for (const char* p = buffer.data(); *p; p += std::strlen(p) + 1) {
        EXPECT_EQ(std::string(p).substr(1), ":\\");
        listed.push_back(p[0]);
    }
    std::vector<char> expected;
    for (char c = 'A'; c <= 'Z'; ++c) {
        if (mask & (1u << (c - 'A'))) expected.push_back(c);
    }
    EXPECT_EQ(listed, expected);
}

TEST_F(KernelBackend, DosDeviceOfCMatchesTheSystem) {
    std::array<char, 512> ours{}, direct{};
    const tw::platform::DWORD n = kernel_.QueryDosDeviceA("C:", ours.data(), 512);
    const ::DWORD m = ::QueryDosDeviceA("C:", direct.data(), 512);
    ASSERT_GT(n, 0u);
    EXPECT_EQ(n, m);
    EXPECT_STREQ(ours.data(), direct.data());
    // The count covers the name, its zero and the list's closing zero. Wine
    // names drive_c a hard-disk volume, so it is not a substitution.
    EXPECT_EQ(n, std::strlen(ours.data()) + 2);
    EXPECT_NE(std::string(ours.data()).rfind("\\Device\\", 0), std::string::npos);
    EXPECT_EQ(actions::QuerySubstitution(kernel_, 'C'), "");
}

TEST_F(KernelBackend, DosDeviceNeedsRoomForBothZeros) {
    std::array<char, 512> target{};
    const tw::platform::DWORD n = kernel_.QueryDosDeviceA("C:", target.data(), 512);
    ASSERT_GT(n, 2u);
    target.fill('x');
    EXPECT_EQ(kernel_.QueryDosDeviceA("C:", target.data(), n), n);
    kernel_.SetLastError(0);
    EXPECT_EQ(kernel_.QueryDosDeviceA("C:", target.data(), n - 1), 0u);
    EXPECT_EQ(kernel_.GetLastError(), static_cast<tw::platform::DWORD>(ERROR_INSUFFICIENT_BUFFER));
    kernel_.SetLastError(0);
    EXPECT_EQ(kernel_.QueryDosDeviceA("C:", target.data(), 4), 0u);
    EXPECT_EQ(kernel_.GetLastError(), static_cast<tw::platform::DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST_F(KernelBackend, DosDeviceOfAnUnusedLetterIsNotFound) {
    const char unused = UnusedLetter();
    ASSERT_NE(unused, 0);
    std::array<char, 64> target{};
    kernel_.SetLastError(0);
    EXPECT_EQ(kernel_.QueryDosDeviceA(DriveName(unused).c_str(), target.data(), 64), 0u);
    EXPECT_EQ(kernel_.GetLastError(), static_cast<tw::platform::DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(KernelBackend, DefinedDosDeviceReadsBackAsASubstitution) {
    DosDeviceGuard subst("C:\\windows");
    ASSERT_NE(subst.letter(), 0) << "DefineDosDeviceA failed: " << ::GetLastError();
    EXPECT_TRUE(kernel_.GetLogicalDrives() & (1u << (subst.letter() - 'A')));
    std::array<char, 512> target{};
    ASSERT_GT(kernel_.QueryDosDeviceA(DriveName(subst.letter()).c_str(), target.data(), 512), 0u);
    EXPECT_EQ(std::string(target.data()), "\\??\\C:\\windows");
    EXPECT_EQ(actions::QuerySubstitution(kernel_, subst.letter()), "C:\\windows");
}

TEST_F(KernelBackend, SystemMessagesEndWithALineBreakAndFailLikeTheSystem) {
    char text[512] = {};
    const tp::DWORD flags = static_cast<tp::DWORD>(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS);
    const tp::DWORD length = kernel_.FormatMessageA(flags, nullptr, ERROR_ACCESS_DENIED, 0, text, sizeof text, nullptr);
    ASSERT_GT(length, 2u);
    EXPECT_EQ(std::string(text).size(), length);
    EXPECT_EQ(std::string(text).substr(length - 2), "\r\n");
    EXPECT_EQ(kernel_.FormatMessageA(flags, nullptr, 0x2FFFFFFF, 0, text, sizeof text, nullptr), 0u);
    EXPECT_EQ(kernel_.GetLastError(), static_cast<tp::DWORD>(ERROR_MR_MID_NOT_FOUND));
}

TEST_F(KernelBackend, FileAttributesTellFoldersFromNothing) {
    const tp::DWORD windows = kernel_.GetFileAttributesA("C:\\windows");
    ASSERT_NE(windows, static_cast<tp::DWORD>(INVALID_FILE_ATTRIBUTES));
    EXPECT_TRUE(windows & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(kernel_.GetFileAttributesA("C:\\windows\\") & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(kernel_.GetFileAttributesA("C:\\windows\\tarnwell-none"),
              static_cast<tp::DWORD>(INVALID_FILE_ATTRIBUTES));
    EXPECT_EQ(kernel_.GetLastError(), static_cast<tp::DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(kernel_.GetFileAttributesA("C:\\tarnwell-none\\x"), static_cast<tp::DWORD>(INVALID_FILE_ATTRIBUTES));
    EXPECT_EQ(kernel_.GetLastError(), static_cast<tp::DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST(NetworkBackend, ALocalDriveHasNoConnection) {
    Win32Network network;
    std::array<char, 260> remote{};
    tw::platform::DWORD length = 260;
    const tw::platform::DWORD result = network.WNetGetConnectionA("C:", remote.data(), &length);
    ::DWORD directLength = 260;
    std::array<char, 260> directRemote{};
    EXPECT_NE(result, static_cast<tw::platform::DWORD>(NO_ERROR));
    EXPECT_EQ(result, ::WNetGetConnectionA("C:", directRemote.data(), &directLength));
    // Wine answers ERROR_NOT_CONNECTED, as Windows does for a local disk.
    EXPECT_EQ(result, static_cast<tw::platform::DWORD>(ERROR_NOT_CONNECTED));
    // The program reads a disconnected drive from ERROR_CONNECTION_UNAVAIL only.
    EXPECT_NE(result, static_cast<tw::platform::DWORD>(ERROR_CONNECTION_UNAVAIL));
}

TEST(NetworkBackend, AnUnusedLetterHasNoConnection) {
    const char unused = UnusedLetter();
    ASSERT_NE(unused, 0);
    Win32Network network;
    std::array<char, 260> remote{};
    tw::platform::DWORD length = 260;
    const tw::platform::DWORD result = network.WNetGetConnectionA(DriveName(unused).c_str(), remote.data(), &length);
    ::DWORD directLength = 260;
    EXPECT_NE(result, static_cast<tw::platform::DWORD>(NO_ERROR));
    EXPECT_NE(result, static_cast<tw::platform::DWORD>(ERROR_CONNECTION_UNAVAIL));
    EXPECT_EQ(result, ::WNetGetConnectionA(DriveName(unused).c_str(), remote.data(), &directLength));
}

TEST(LocaleBackend, SeparatorsMatchTheSystem) {
    Win32Locale locale;
    for (::LCTYPE type : {LOCALE_SDECIMAL, LOCALE_STHOUSAND}) {
        std::array<char, 16> ours{};
        const int n = locale.GetLocaleInfoA(LOCALE_USER_DEFAULT, type, ours.data(), 16);
        ASSERT_GT(n, 0);
        EXPECT_EQ(std::string(ours.data()), LocaleString(type));
        // The count includes the terminating zero.
        EXPECT_EQ(static_cast<size_t>(n), std::strlen(ours.data()) + 1);
        EXPECT_EQ(locale.GetLocaleInfoA(LOCALE_USER_DEFAULT, type, nullptr, 0), n);
    }
}

TEST(LocaleBackend, TooSmallBufferFailsWithInsufficientBuffer) {
    Win32Locale locale;
    const int needed = locale.GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, nullptr, 0);
    ASSERT_GT(needed, 1);
    std::array<char, 16> data{};
    ::SetLastError(0);
    EXPECT_EQ(locale.GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, data.data(), needed - 1), 0);
    EXPECT_EQ(::GetLastError(), static_cast<::DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST(Win32PlatformObject, ServicesReachTheSystem) {
    Win32Platform platform;
    EXPECT_EQ(platform.kernel().GetLogicalDrives(), ::GetLogicalDrives());
    std::array<char, 16> decimal{};
    ASSERT_GT(platform.locale().GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal.data(), 16), 0);
    EXPECT_EQ(std::string(decimal.data()), LocaleString(LOCALE_SDECIMAL));
    std::array<char, 260> remote{};
    tw::platform::DWORD length = 260;
    EXPECT_EQ(platform.network().WNetGetConnectionA("C:", remote.data(), &length),
              static_cast<tw::platform::DWORD>(ERROR_NOT_CONNECTED));
}

}  // namespace
}  // namespace tw::win32_test
