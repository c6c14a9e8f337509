// The volume manager and the management service of the real system: the
// volume search ends cleanly and names volumes as volumes, the path-name call
// asks for a larger buffer the way the retry expects, and the disk query
// runs through COM to its end, twice in a row. What the system answered is
// printed for the record. Written to what Wine does.
#include <gtest/gtest.h>

#include <iostream>

#include "diagnostics/disk_drives.h"
#include "inventory/volume_list.h"
#include "platform/win32/win32_platform.h"

// Our value, copied before <windows.h> makes the name its macro.
namespace {
constexpr auto kNoSearch = tw::platform::INVALID_HANDLE_VALUE;
}  // namespace

#include "win32_test_support.h"

namespace tw::win32_test {
namespace {

using tw::platform::win32::Win32Kernel;
using tw::platform::win32::Win32Wmi;

TEST(VolumeBackend, TheSearchFindsVolumesByTheirVolumeNames) {
    Win32Kernel kernel;
    const inventory::VolumeListing listing = inventory::ListVolumes(kernel);
    EXPECT_EQ(listing.error, 0u);
    for (const inventory::VolumeEntry& v : listing.volumes) {
        EXPECT_EQ(v.name.rfind("\\\\?\\Volume{", 0), 0u) << v.name;
        EXPECT_EQ(v.name.back(), '\\') << v.name;
        std::cout << "[volume] " << v.name << " type " << v.driveType << " paths";
        for (const std::string& p : v.driveRoots) std::cout << ' ' << p;
        for (const std::string& p : v.mountPoints) std::cout << ' ' << p;
        if (v.pathsError) std::cout << " (error " << v.pathsError << ')';
        std::cout << " fs \"" << v.fileSystem << "\" label \"" << v.label << "\" capacity "
                  << (v.capacity ? std::to_string(*v.capacity) : "-") << '\n';
        // A drive root a volume names is a letter the system has.
        for (const std::string& root : v.driveRoots) {
            EXPECT_TRUE(::GetLogicalDrives() & (1u << (root[0] - 'A'))) << root;
        }
    }
}

TEST(VolumeBackend, PathNamesAskForTheLengthTheyNeed) {
    Win32Kernel kernel;
    char name[MAX_PATH + 1] = {};
    const tw::platform::HANDLE search = kernel.FindFirstVolumeA(name, sizeof name);
    if (search == kNoSearch) GTEST_SKIP() << "the system lists no volumes";
    EXPECT_TRUE(kernel.FindVolumeClose(search));
    tw::platform::DWORD needed = 0;
    char small[1] = {};
    const tw::platform::BOOL ok = kernel.GetVolumePathNamesForVolumeNameA(name, small, 1, &needed);
    const DWORD refusal = ::GetLastError();
    tw::platform::DWORD error = 0;
    const std::vector<std::string> paths = inventory::VolumePathNames(kernel, name, error);
    std::cout << "[volume] " << name << ": one-byte buffer " << (ok ? "sufficed" : "refused") << ", needed " << needed
              << ", " << paths.size() << " path(s)\n";
    if (!ok) {
        EXPECT_EQ(refusal, static_cast<DWORD>(ERROR_MORE_DATA));
        EXPECT_GT(needed, 1u);
        EXPECT_EQ(error, 0u);
        EXPECT_FALSE(paths.empty());
    }
}

TEST(WmiBackend, TheDiskQueryRunsThroughComToItsEnd) {
    Win32Wmi wmi;
    size_t firstCount = 0;
    for (int run = 0; run < 2; ++run) {
        const diagnostics::DiskDriveReport report = diagnostics::ReadDiskDrives(wmi, true);
        std::cout << "[wmi] run " << run << ": result 0x" << std::hex << static_cast<std::uint32_t>(report.result)
                  << ", letters 0x" << static_cast<std::uint32_t>(report.lettersResult) << std::dec << ", "
                  << report.disks.size() << " disk(s)\n";
        for (const diagnostics::DiskDrive& d : report.disks) {
            std::cout << "[wmi]   " << d.deviceId << " \"" << d.model << "\" serial \"" << d.serial << "\" size "
                      << (d.size ? std::to_string(*d.size) : "-") << " media \"" << d.mediaType << "\" interface \""
                      << d.interfaceType << "\" pnp \"" << d.pnpDeviceId << "\" letters";
            for (const std::string& l : d.driveLetters) std::cout << ' ' << l;
            std::cout << '\n';
            EXPECT_FALSE(d.deviceId.empty());
        }
        // Wine answers Win32_DiskDrive.
        EXPECT_FALSE(tw::platform::Failed(report.result));
        if (run == 0) firstCount = report.disks.size();
        EXPECT_EQ(report.disks.size(), firstCount);
    }
    std::vector<tw::platform::WmiObject> objects;
    const tw::platform::HRESULT unknown = wmi.ExecQuery("SELECT * FROM Win32_TarnwellNoSuchClass", objects);
    // Windows fails it (at the first object); Wine finds nothing. Either way
    // no object comes back.
    std::cout << "[wmi] unknown class: 0x" << std::hex << static_cast<std::uint32_t>(unknown) << std::dec << '\n';
    EXPECT_TRUE(objects.empty());
}

}  // namespace
}  // namespace tw::win32_test
