// The simulated machine: its calls answer the way Windows does (buffer sizes,
// list layouts, last-error codes, registry handles, faults), its loader refuses
// bad descriptions naming the file and the field, and the example machines
// answer what their comments promise.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "actions/drive_visibility.h"
#include "test_support.h"

using namespace tw::platform;
using tw::sim::CallName;
using tw::sim::Machine;
using tw::sim::MachineFormatError;
using tw::sim::SimCall;
using tw::sim::SimulatedFault;

namespace {

// C: fixed and healthy, D: empty CD drive, E: described by its letter only,
// G: network share, H: remembered connection that is not in the drive mask.
const char* const kMachine = R"({
  "name": "test machine",
  "locale": {"decimal": ",", "thousand": "."},
  "drives": {
    "C": {"volume": {"label": "System", "serial": "1A2B3C4D", "file_system": "NTFS", "flags": "3E700FF"},
          "space": {"total": 1000000, "free": 600000, "free_to_caller": 500000,
                    "bytes_per_sector": 512, "sectors_per_cluster": 2},
          "dos_device": "\\Device\\HarddiskVolume2"},
    "D": {"type": "DRIVE_CDROM", "volume": {"error": "ERROR_NOT_READY"}, "space": {"error": "ERROR_NOT_READY"}},
    "E": {},
    "G": {"type": "DRIVE_REMOTE", "connection": "\\\\server\\share", "volume": {}, "space": {"total": 10, "free": 5}},
    "H": {"present": false, "connection": {"error": "ERROR_CONNECTION_UNAVAIL"}}
  },
  "registry": {
    "HKEY_CURRENT_USER\\Software\\Values": {"values": {
      "Dword": {"type": "REG_DWORD", "data": 131072},
      "Text": {"type": "REG_SZ", "data": "abc"},
      "Bytes": {"type": 3, "hex": "de ad BE EF 01"},
      "Empty": {"type": "REG_BINARY", "hex": ""}}},
    "HKEY_CURRENT_USER\\Software\\Locked": {"create_error": "ERROR_ACCESS_DENIED"},
    "HKEY_CURRENT_USER\\Software\\ReadOnly": {"set_error": 5}
  }
})";

std::unique_ptr<Machine> TestMachine() { return twtest::MachineFromText(kMachine); }

std::vector<BYTE> Bytes(std::initializer_list<int> values) {
    std::vector<BYTE> out;
    for (int v : values) out.push_back(static_cast<BYTE>(v));
    return out;
}

// Opens (creating) a key under HKEY_CURRENT_USER; 0 when that fails.
HKEY Open(Machine& m, const char* path, LONG* rc = nullptr, DWORD* disposition = nullptr) {
    HKEY key = 0;
    LONG r = m.registry().RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                          nullptr, &key, disposition);
    if (rc) *rc = r;
    return r == ERROR_SUCCESS ? key : 0;
}

}  // namespace

TEST(SimKernel, DriveMaskAndDriveTypes) {
    auto m = TestMachine();
    Kernel& k = m->kernel();
    k.SetLastError(ERROR_GEN_FAILURE);
    EXPECT_EQ(k.GetLogicalDrives(), (1u << 2) | (1u << 3) | (1u << 4) | (1u << 6));
    EXPECT_EQ(k.GetLastError(), ERROR_SUCCESS);

    const struct {
        const char* path;
        UINT type;
    } cases[] = {
        {"C:\\", DRIVE_FIXED},       {"C:", DRIVE_FIXED},         {"c:\\", DRIVE_FIXED},
        {"E:\\", DRIVE_FIXED},       {"D:\\", DRIVE_CDROM},       {"G:\\", DRIVE_REMOTE},
        {"H:\\", DRIVE_NO_ROOT_DIR}, {"Q:\\", DRIVE_NO_ROOT_DIR}, {"C:\\Windows", DRIVE_NO_ROOT_DIR},
        {"C", DRIVE_NO_ROOT_DIR},    {"", DRIVE_NO_ROOT_DIR},     {"1:\\", DRIVE_NO_ROOT_DIR},
    };
    for (const auto& c : cases) EXPECT_EQ(k.GetDriveTypeA(c.path), c.type) << c.path;
    EXPECT_EQ(k.GetDriveTypeA(nullptr), DRIVE_NO_ROOT_DIR);

    auto odd = twtest::MachineFromText(R"({"drives": {"K": {"type": 7}, "U": {"type": "DRIVE_UNKNOWN"}}})");
    EXPECT_EQ(odd->kernel().GetDriveTypeA("K:\\"), 7u);
    EXPECT_EQ(odd->kernel().GetDriveTypeA("U:\\"), DRIVE_UNKNOWN);
}

TEST(SimKernel, VolumeInformation) {
    auto m = TestMachine();
    Kernel& k = m->kernel();
    char label[16] = "x", fs[16] = "x";
    DWORD serial = 0, maxLen = 0, flags = 0;
    ASSERT_TRUE(k.GetVolumeInformationA("C:\\", label, 7, &serial, &maxLen, &flags, fs, 5));
    EXPECT_STREQ(label, "System");
    EXPECT_STREQ(fs, "NTFS");
    EXPECT_EQ(serial, 0x1A2B3C4Du);
    EXPECT_EQ(maxLen, 255u);
    EXPECT_EQ(flags, 0x3E700FFu);
    // An empty volume description answers empty texts and zero numbers.
    ASSERT_TRUE(k.GetVolumeInformationA("G:\\", label, 16, &serial, &maxLen, &flags, fs, 16));
    EXPECT_STREQ(label, "");
    EXPECT_STREQ(fs, "");
    EXPECT_EQ(serial, 0u);
    EXPECT_EQ(flags, 0u);
    // Buffers the caller does not want are left out.
    EXPECT_TRUE(k.GetVolumeInformationA("C:\\", nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0));

    const struct {
        const char* path;
        DWORD labelSize, fsSize, error;
    } failures[] = {
        {"C:\\", 6, 16, ERROR_BAD_LENGTH},  // "System" needs 7
        {"C:\\", 16, 4, ERROR_BAD_LENGTH},  // "NTFS" needs 5
        {"C:", 16, 16, 123},                // ERROR_INVALID_NAME: no root backslash
        {"C:\\Windows", 16, 16, 123},
        {"Q:\\", 16, 16, ERROR_PATH_NOT_FOUND},
        {"H:\\", 16, 16, ERROR_PATH_NOT_FOUND},
        {"D:\\", 16, 16, ERROR_NOT_READY},
        {"E:\\", 16, 16, ERROR_UNRECOGNIZED_VOLUME},
    };
    for (const auto& f : failures) {
        k.SetLastError(0);
        EXPECT_FALSE(k.GetVolumeInformationA(f.path, label, f.labelSize, nullptr, nullptr, nullptr, fs, f.fsSize))
            << f.path;
        EXPECT_EQ(k.GetLastError(), f.error) << f.path << " " << f.labelSize << "/" << f.fsSize;
    }
}

TEST(SimKernel, FreeSpace) {
    auto m = TestMachine();
    Kernel& k = m->kernel();
    ULONGLONG caller = 0, total = 0, free = 0;
    ASSERT_TRUE(k.GetDiskFreeSpaceExA("C:\\", &caller, &total, &free));
    EXPECT_EQ(caller, 500000u);
    EXPECT_EQ(total, 1000000u);
    EXPECT_EQ(free, 600000u);
    // Any directory of the drive will do; free to caller defaults to all free.
    ASSERT_TRUE(k.GetDiskFreeSpaceExA("G:\\some\\dir", &caller, &total, &free));
    EXPECT_EQ(caller, 5u);
    for (const auto& [path, error] :
         {std::pair{"D:\\", ERROR_NOT_READY}, std::pair{"E:\\", ERROR_NOT_READY},
          std::pair{"Q:\\", ERROR_PATH_NOT_FOUND}, std::pair{"H:\\", ERROR_PATH_NOT_FOUND}}) {
        EXPECT_FALSE(k.GetDiskFreeSpaceExA(path, &caller, &total, &free)) << path;
        EXPECT_EQ(k.GetLastError(), error) << path;
    }

    // Cluster counts are whole clusters of the caller's free space and the total.
    DWORD spc = 0, bps = 0, freeClusters = 0, totalClusters = 0;
    ASSERT_TRUE(k.GetDiskFreeSpaceA("C:\\", &spc, &bps, &freeClusters, &totalClusters));
    EXPECT_EQ(spc, 2u);
    EXPECT_EQ(bps, 512u);
    EXPECT_EQ(freeClusters, 488u);   // 500000 / 1024
    EXPECT_EQ(totalClusters, 976u);  // 1000000 / 1024
    EXPECT_FALSE(k.GetDiskFreeSpaceA("D:\\", &spc, &bps, &freeClusters, &totalClusters));
    EXPECT_EQ(k.GetLastError(), ERROR_NOT_READY);

    // Without the extended call every drive fails alike; the cluster call remains.
    m->SetFreeSpaceExAvailable(false);
    for (const char* path : {"C:\\", "Q:\\"}) {
        EXPECT_FALSE(k.GetDiskFreeSpaceExA(path, &caller, &total, &free));
        EXPECT_EQ(k.GetLastError(), ERROR_CALL_NOT_IMPLEMENTED);
    }
    EXPECT_TRUE(k.GetDiskFreeSpaceA("C:\\", &spc, &bps, &freeClusters, &totalClusters));
}

TEST(SimKernel, DefaultGeometryAndClusterCountCap) {
    auto m = twtest::MachineFromText(R"({"drives": {
      "C": {"space": {"total": 4096, "free": 4095}},
      "T": {"space": {"total": 17592186044416, "free": 17592186044416, "bytes_per_sector": 4096, "sectors_per_cluster": 1}}}})");
    DWORD spc = 0, bps = 0, freeClusters = 0, totalClusters = 0;
    ASSERT_TRUE(m->kernel().GetDiskFreeSpaceA("C:\\", &spc, &bps, &freeClusters, &totalClusters));
    EXPECT_EQ(bps, 512u);
    EXPECT_EQ(spc, 8u);
    EXPECT_EQ(freeClusters, 0u);
    EXPECT_EQ(totalClusters, 1u);
    // 2^32 clusters of 4 KiB do not fit a DWORD: the count stops one short.
    ASSERT_TRUE(m->kernel().GetDiskFreeSpaceA("T:\\", &spc, &bps, &freeClusters, &totalClusters));
    EXPECT_EQ(totalClusters, 0xFFFFFFFFu);
    EXPECT_EQ(freeClusters, 0xFFFFFFFFu);
}

TEST(SimKernel, ErrorModeInForceAtEachSpaceProbe) {
    auto m = TestMachine();
    Kernel& k = m->kernel();
    EXPECT_EQ(k.SetErrorMode(SEM_FAILCRITICALERRORS), 0u);
    ULONGLONG a, b, c;
    k.GetDiskFreeSpaceExA("C:\\", &a, &b, &c);
    EXPECT_EQ(k.SetErrorMode(0), SEM_FAILCRITICALERRORS);
    EXPECT_EQ(m->ErrorModeAtLastSpaceProbe(), SEM_FAILCRITICALERRORS);
    EXPECT_EQ(m->CurrentErrorMode(), 0u);
}

TEST(SimKernel, LogicalDriveStrings) {
    auto m = TestMachine();
    Kernel& k = m->kernel();
    const std::string expected("C:\\\0D:\\\0E:\\\0G:\\\0\0", 17);
    std::string buffer(32, 'x');
    EXPECT_EQ(k.GetLogicalDriveStringsA(17, buffer.data()), 16u);
    EXPECT_EQ(buffer.substr(0, 17), expected);
    // One byte short: the size needed comes back and the buffer is untouched.
    std::string small(16, 'x');
    EXPECT_EQ(k.GetLogicalDriveStringsA(16, small.data()), 17u);
    EXPECT_EQ(small, std::string(16, 'x'));
    EXPECT_EQ(k.GetLogicalDriveStringsA(0, nullptr), 17u);
}

TEST(SimKernel, QueryDosDeviceEndsWithTwoZeros) {
    auto m = TestMachine();
    Kernel& k = m->kernel();
    const std::string target = "\\Device\\HarddiskVolume2";
    const DWORD needed = static_cast<DWORD>(target.size() + 2);
    std::string buffer(64, 'x');
    EXPECT_EQ(k.QueryDosDeviceA("C:", buffer.data(), needed), needed);
    EXPECT_EQ(buffer.substr(0, needed), target + std::string(2, '\0'));
    EXPECT_EQ(k.QueryDosDeviceA("C:", buffer.data(), needed - 1), 0u);
    EXPECT_EQ(k.GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    for (const char* name : {"C:\\", "Q:", "H:", "C"}) {
        EXPECT_EQ(k.QueryDosDeviceA(name, buffer.data(), 64), 0u) << name;
        EXPECT_EQ(k.GetLastError(), ERROR_FILE_NOT_FOUND) << name;
    }
    // Without a described mapping a drive still names a device, never a substitution.
    ASSERT_GT(k.QueryDosDeviceA("E:", buffer.data(), 64), 0u);
    EXPECT_EQ(std::string(buffer.c_str()).rfind("\\Device\\", 0), 0u);
}

TEST(SimNetwork, ConnectionNames) {
    auto m = TestMachine();
    Network& n = m->network();
    char remote[32] = {};
    DWORD length = 15;  // "\\server\share" and its zero
    EXPECT_EQ(n.WNetGetConnectionA("g:", remote, &length), ERROR_SUCCESS);
    EXPECT_STREQ(remote, "\\\\server\\share");
    length = 14;
    EXPECT_EQ(n.WNetGetConnectionA("G:", remote, &length), ERROR_MORE_DATA);
    EXPECT_EQ(length, 15u);
    length = 32;
    EXPECT_EQ(n.WNetGetConnectionA("G:", nullptr, &length), ERROR_MORE_DATA);
    EXPECT_EQ(n.WNetGetConnectionA("H:", remote, &length), ERROR_CONNECTION_UNAVAIL);
    EXPECT_EQ(n.WNetGetConnectionA("C:", remote, &length), ERROR_NOT_CONNECTED);
    EXPECT_EQ(n.WNetGetConnectionA("Q:", remote, &length), ERROR_NOT_CONNECTED);
    EXPECT_EQ(n.WNetGetConnectionA("G:\\", remote, &length), ERROR_BAD_DEVICE);
    EXPECT_EQ(n.WNetGetConnectionA("G:", remote, nullptr), ERROR_BAD_DEVICE);
}

TEST(SimLocale, SeparatorsAndBufferSizes) {
    auto m = TestMachine();
    Locale& l = m->locale();
    char text[8] = {};
    EXPECT_EQ(l.GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, 8), 2);
    EXPECT_STREQ(text, ",");
    EXPECT_EQ(l.GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, text, 8), 2);
    EXPECT_STREQ(text, ".");
    EXPECT_EQ(l.GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, nullptr, 0), 2);
    EXPECT_EQ(l.GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, 1), 0);
    EXPECT_EQ(m->kernel().GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(l.GetLocaleInfoA(LOCALE_USER_DEFAULT, 0x1234, text, 8), 0);
    EXPECT_EQ(m->kernel().GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(SimRegistry, CreateSetQueryClose) {
    auto m = TestMachine();
    Registry& r = m->registry();
    DWORD disposition = 0;
    const HKEY first = Open(*m, "Software\\Tarnwell", nullptr, &disposition);
    ASSERT_NE(first, 0u);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    const HKEY second = Open(*m, "SOFTWARE\\tarnwell\\", nullptr, &disposition);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    EXPECT_NE(first, second);
    EXPECT_EQ(m->OpenKeyCount(), 2);

    const BYTE data[4] = {1, 2, 3, 4};
    EXPECT_EQ(r.RegSetValueExA(first, "Value", 0, REG_DWORD, data, 4), ERROR_SUCCESS);
    DWORD type = 0, size = 4;
    BYTE out[4] = {};
    EXPECT_EQ(r.RegQueryValueExA(second, "VALUE", nullptr, &type, out, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(std::vector<BYTE>(out, out + 4), std::vector<BYTE>(data, data + 4));
    ASSERT_EQ(m->RegistryWrites().size(), 1u);
    EXPECT_EQ(m->RegistryWrites()[0].key, "HKEY_CURRENT_USER\\SOFTWARE\\TARNWELL");
    EXPECT_EQ(m->RegistryWrites()[0].name, "Value");
    EXPECT_EQ(m->RegistryValue("HKEY_CURRENT_USER\\Software\\Tarnwell", "value")->data, Bytes({1, 2, 3, 4}));

    // A key opened from an open key lies below it.
    HKEY child = 0;
    EXPECT_EQ(r.RegCreateKeyExA(first, "Child", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr),
              ERROR_SUCCESS);
    EXPECT_TRUE(m->RegistryKeys().count("HKEY_CURRENT_USER\\SOFTWARE\\TARNWELL\\CHILD"));

    for (HKEY key : {first, second, child}) EXPECT_EQ(r.RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(m->OpenKeyCount(), 0);
    EXPECT_EQ(r.RegCloseKey(first), ERROR_INVALID_HANDLE);
    EXPECT_EQ(r.RegQueryValueExA(first, "Value", nullptr, &type, out, &size), ERROR_INVALID_HANDLE);
    EXPECT_EQ(r.RegSetValueExA(first, "Value", 0, REG_DWORD, data, 4), ERROR_INVALID_HANDLE);
    EXPECT_EQ(r.RegCreateKeyExA(0x1234, "X", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr),
              ERROR_INVALID_HANDLE);
}

TEST(SimRegistry, QuerySizesAndDescribedValues) {
    auto m = TestMachine();
    Registry& r = m->registry();
    const HKEY key = Open(*m, "Software\\Values");
    ASSERT_NE(key, 0u);
    const struct {
        const char* name;
        DWORD type;
        std::vector<BYTE> data;
    } values[] = {
        {"Dword", REG_DWORD, Bytes({0x00, 0x00, 0x02, 0x00})},
        {"Text", REG_SZ, Bytes({'a', 'b', 'c', 0})},
        {"Bytes", REG_BINARY, Bytes({0xDE, 0xAD, 0xBE, 0xEF, 0x01})},
        {"Empty", REG_BINARY, {}},
    };
    for (const auto& v : values) {
        DWORD type = 0, size = 0;
        // Without a buffer the call reports the size.
        ASSERT_EQ(r.RegQueryValueExA(key, v.name, nullptr, &type, nullptr, &size), ERROR_SUCCESS) << v.name;
        EXPECT_EQ(type, v.type) << v.name;
        ASSERT_EQ(size, v.data.size()) << v.name;
        std::vector<BYTE> out(size + 1, 0xCC);
        EXPECT_EQ(r.RegQueryValueExA(key, v.name, nullptr, &type, out.data(), &size), ERROR_SUCCESS);
        out.resize(size);
        EXPECT_EQ(out, v.data) << v.name;
    }
    DWORD type = 0, size = 2;
    BYTE out[8] = {};
    EXPECT_EQ(r.RegQueryValueExA(key, "Text", nullptr, &type, out, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(r.RegQueryValueExA(key, "Text", nullptr, &type, out, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(r.RegQueryValueExA(key, "Missing", nullptr, &type, out, &size), ERROR_FILE_NOT_FOUND);
    r.RegCloseKey(key);
}

TEST(SimRegistry, RefusedCreatesAndWrites) {
    auto m = TestMachine();
    LONG rc = 0;
    // A leading backslash is refused (ERROR_BAD_PATHNAME) and creates nothing.
    const size_t keys = m->RegistryKeys().size();
    EXPECT_EQ(Open(*m, "\\Software\\Other", &rc), 0u);
    EXPECT_EQ(rc, 161);
    EXPECT_EQ(m->RegistryKeys().size(), keys);
    // A key that refuses creation refuses the keys below it, not its namesakes.
    for (const char* path : {"Software\\Locked", "software\\locked\\Below\\Deeper"}) {
        EXPECT_EQ(Open(*m, path, &rc), 0u) << path;
        EXPECT_EQ(rc, static_cast<LONG>(ERROR_ACCESS_DENIED)) << path;
    }
    EXPECT_EQ(m->OpenKeyCount(), 0);
    const HKEY namesake = Open(*m, "Software\\LockedOut");
    EXPECT_NE(namesake, 0u);
    m->registry().RegCloseKey(namesake);

    const HKEY readOnly = Open(*m, "Software\\ReadOnly");
    ASSERT_NE(readOnly, 0u);
    const BYTE data[4] = {};
    EXPECT_EQ(m->registry().RegSetValueExA(readOnly, "V", 0, REG_DWORD, data, 4), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(m->RegistryValue("HKEY_CURRENT_USER\\Software\\ReadOnly", "V"));
    EXPECT_TRUE(m->RegistryWrites().empty());
    m->registry().RegCloseKey(readOnly);
    EXPECT_EQ(m->OpenKeyCount(), 0);
}

TEST(SimMachine, RaisesFaultsForTheNamedCallAndDriveOnly) {
    using Call = std::function<void(Machine&, const char* root, const char* device)>;
    const std::pair<SimCall, Call> calls[] = {
        {SimCall::GetDriveTypeA, [](Machine& m, const char* root, const char*) { m.kernel().GetDriveTypeA(root); }},
        {SimCall::GetVolumeInformationA,
         [](Machine& m, const char* root, const char*) {
             m.kernel().GetVolumeInformationA(root, nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0);
         }},
        {SimCall::GetDiskFreeSpaceExA,
         [](Machine& m, const char* root, const char*) {
             ULONGLONG a, b, c;
             m.kernel().GetDiskFreeSpaceExA(root, &a, &b, &c);
         }},
        {SimCall::GetDiskFreeSpaceA,
         [](Machine& m, const char* root, const char*) {
             DWORD a, b, c, d;
             m.kernel().GetDiskFreeSpaceA(root, &a, &b, &c, &d);
         }},
        {SimCall::WNetGetConnectionA,
         [](Machine& m, const char*, const char* device) {
             DWORD length = 0;
             m.network().WNetGetConnectionA(device, nullptr, &length);
         }},
        {SimCall::QueryDosDeviceA,
         [](Machine& m, const char*, const char* device) { m.kernel().QueryDosDeviceA(device, nullptr, 0); }},
    };
    for (const auto& [name, call] : calls) {
        auto m = twtest::MachineFromText(std::string(R"({"drives": {"C": {}, "D": {"raises": {")") +
                                         std::string(CallName(name)) + R"(": "fault in the call"}}}})");
        try {
            call(*m, "D:\\", "D:");
            ADD_FAILURE() << CallName(name) << " did not raise";
        } catch (const SimulatedFault& e) {
            EXPECT_STREQ(e.what(), "fault in the call") << CallName(name);
        }
        EXPECT_EQ(m->CallCount(name, 'D'), 1) << CallName(name);
        EXPECT_NO_THROW(call(*m, "C:\\", "C:")) << CallName(name);
        EXPECT_EQ(m->CallCount(name), 2) << CallName(name);
    }
    // A missing extended free-space call has nothing to raise.
    auto m = twtest::MachineFromText(
        R"({"free_space_ex": false, "drives": {"D": {"raises": {"GetDiskFreeSpaceExA": "x"}}}})");
    ULONGLONG a, b, c;
    EXPECT_NO_THROW(m->kernel().GetDiskFreeSpaceExA("D:\\", &a, &b, &c));
    EXPECT_EQ(m->CallCount(SimCall::GetDiskFreeSpaceExA), 1);
    EXPECT_EQ(m->CallCount(SimCall::GetDiskFreeSpaceExA, 'D'), 0);
}

// Device names made with DefineDosDeviceA.
namespace {

constexpr const char* kSubstMachine = R"({"drives": {
    "C": {"volume": {"label": "System", "file_system": "NTFS"},
          "space": {"total": 1048576, "free": 524288, "bytes_per_sector": 512, "sectors_per_cluster": 2}},
    "D": {"type": "DRIVE_CDROM", "volume": {"error": "ERROR_NOT_READY"}, "space": {"error": "ERROR_NOT_READY"}},
    "E": {"present": false, "type": "DRIVE_REMOTE"},
    "S": {"dos_device": "\\??\\C:\\work", "volume": {"label": "Own"}}}})";

// The device name QueryDosDeviceA answers for `device`, or "" when it fails.
std::string DeviceName(Machine& m, const char* device) {
    char buffer[MAX_PATH] = {};
    return m.kernel().QueryDosDeviceA(device, buffer, MAX_PATH) ? std::string(buffer) : std::string();
}

bool HasLetter(Machine& m, char letter) { return (m.kernel().GetLogicalDrives() >> (letter - 'A')) & 1; }

// Takes a letter's definitions away one by one, most recent first, and
// returns what QueryDosDeviceA answered before each removal.
std::vector<std::string> DrainDefinitions(Machine& m, const char* device) {
    std::vector<std::string> stack;
    for (std::string top = DeviceName(m, device); !top.empty(); top = DeviceName(m, device)) {
        stack.push_back(top);
        if (!m.kernel().DefineDosDeviceA(DDD_REMOVE_DEFINITION, device, nullptr) || stack.size() > 10) break;
    }
    return stack;
}

}  // namespace

TEST(SimDosDevice, SubstitutedLetterAnswersWithTheDriveItStandsOn) {
    const struct {
        DWORD flags;
        const char* target;
        UINT type;
        const char* name;   // QueryDosDeviceA
        DWORD volumeError;  // 0: answers C:'s volume
        DWORD spaceError;   // 0: answers C:'s free space
    } cases[] = {
        {0, "C:\\work", DRIVE_FIXED, "\\??\\C:\\work", 0, 0},
        {0, "c:", DRIVE_FIXED, "\\??\\c:", 0, 0},
        {DDD_RAW_TARGET_PATH, "\\??\\C:\\", DRIVE_FIXED, "\\??\\C:\\", 0, 0},
        {0, "D:\\", DRIVE_CDROM, "\\??\\D:\\", ERROR_NOT_READY, ERROR_NOT_READY},
        // Standing on nothing the machine knows: the letter exists but has no root.
        {0, "E:\\share", DRIVE_NO_ROOT_DIR, "\\??\\E:\\share", ERROR_PATH_NOT_FOUND, ERROR_PATH_NOT_FOUND},
        {0, "Q:\\", DRIVE_NO_ROOT_DIR, "\\??\\Q:\\", ERROR_PATH_NOT_FOUND, ERROR_PATH_NOT_FOUND},
        {0, "X:\\", DRIVE_NO_ROOT_DIR, "\\??\\X:\\", ERROR_PATH_NOT_FOUND, ERROR_PATH_NOT_FOUND},
        {0, "\\\\server\\share", DRIVE_NO_ROOT_DIR, "\\??\\\\\\server\\share", ERROR_PATH_NOT_FOUND,
         ERROR_PATH_NOT_FOUND},
        {DDD_RAW_TARGET_PATH, "\\Device\\HarddiskVolume3", DRIVE_NO_ROOT_DIR, "\\Device\\HarddiskVolume3",
         ERROR_PATH_NOT_FOUND, ERROR_PATH_NOT_FOUND},
    };
    for (const auto& c : cases) {
        auto m = twtest::MachineFromText(kSubstMachine);
        Kernel& k = m->kernel();
        k.SetLastError(ERROR_GEN_FAILURE);
        ASSERT_TRUE(k.DefineDosDeviceA(c.flags, "x:", c.target)) << c.target;
        EXPECT_EQ(k.GetLastError(), ERROR_SUCCESS) << c.target;
        EXPECT_TRUE(HasLetter(*m, 'X')) << c.target;
        EXPECT_EQ(DeviceName(*m, "X:"), c.name) << c.target;
        EXPECT_EQ(k.GetDriveTypeA("X:\\"), c.type) << c.target;

        char label[16] = {};
        const BOOL volume = k.GetVolumeInformationA("X:\\", label, 16, nullptr, nullptr, nullptr, nullptr, 0);
        EXPECT_EQ(volume, c.volumeError == 0) << c.target;
        if (volume) {
            EXPECT_STREQ(label, "System") << c.target;
        } else {
            EXPECT_EQ(k.GetLastError(), c.volumeError) << c.target;
        }

        ULONGLONG caller = 0, total = 0, free = 0;
        const BOOL space = k.GetDiskFreeSpaceExA("X:\\", &caller, &total, &free);
        EXPECT_EQ(space, c.spaceError == 0) << c.target;
        if (space) {
            EXPECT_EQ(total, 1048576u) << c.target;
        } else {
            EXPECT_EQ(k.GetLastError(), c.spaceError) << c.target;
        }
        DWORD spc = 0, bps = 0, freeClusters = 0, totalClusters = 0;
        EXPECT_EQ(k.GetDiskFreeSpaceA("X:\\", &spc, &bps, &freeClusters, &totalClusters), c.spaceError == 0);
        if (c.spaceError == 0) {
            EXPECT_EQ(totalClusters, 1024u) << c.target;
        }

        // Calls are counted against the letter asked, not the drive beneath.
        EXPECT_EQ(m->CallCount(SimCall::DefineDosDeviceA, 'X'), 1);
        EXPECT_EQ(m->CallCount(SimCall::GetVolumeInformationA, 'X'), 1);
        EXPECT_EQ(m->CallCount(SimCall::GetVolumeInformationA, 'C'), 0);
        // A letter made by a definition has no network connection.
        DWORD length = 0;
        EXPECT_EQ(m->network().WNetGetConnectionA("X:", nullptr, &length), ERROR_NOT_CONNECTED);
    }
}

TEST(SimDosDevice, DefinitionsStackAndHideWhatIsBeneath) {
    auto m = twtest::MachineFromText(kSubstMachine);
    Kernel& k = m->kernel();
    // A substitution stands on another substitution.
    ASSERT_TRUE(k.DefineDosDeviceA(0, "X:", "C:\\a"));
    ASSERT_TRUE(k.DefineDosDeviceA(0, "Y:", "X:\\"));
    EXPECT_EQ(k.GetDriveTypeA("Y:"), DRIVE_FIXED);
    // A definition over a present drive hides it until removed.
    ASSERT_TRUE(k.DefineDosDeviceA(0, "D:", "C:\\"));
    EXPECT_EQ(k.GetDriveTypeA("D:\\"), DRIVE_FIXED);
    EXPECT_EQ(DeviceName(*m, "D:"), "\\??\\C:\\");
    ASSERT_TRUE(k.DefineDosDeviceA(DDD_REMOVE_DEFINITION, "D:", nullptr));
    EXPECT_EQ(k.GetDriveTypeA("D:\\"), DRIVE_CDROM);
    EXPECT_EQ(DeviceName(*m, "D:"), "\\Device\\CdRom0");
    EXPECT_TRUE(HasLetter(*m, 'D'));

    ASSERT_TRUE(k.DefineDosDeviceA(0, "X:", "D:\\b"));
    EXPECT_EQ(k.GetDriveTypeA("X:\\"), DRIVE_CDROM);
    EXPECT_EQ(DrainDefinitions(*m, "X:"), (std::vector<std::string>{"\\??\\D:\\b", "\\??\\C:\\a"}));
    EXPECT_FALSE(HasLetter(*m, 'X'));
    EXPECT_EQ(k.GetDriveTypeA("X:\\"), DRIVE_NO_ROOT_DIR);
    // Nothing is left to remove.
    EXPECT_FALSE(k.DefineDosDeviceA(DDD_REMOVE_DEFINITION, "X:", nullptr));
    EXPECT_EQ(k.GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST(SimDosDevice, RemovalTakesTheMostRecentMatchingDefinition) {
    constexpr DWORD kRemove = DDD_REMOVE_DEFINITION;
    constexpr DWORD kExact = DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE;
    const struct {
        DWORD flags;
        const char* target;
        bool removed;
        std::vector<std::string> left;  // most recent first
    } cases[] = {
        {kRemove, nullptr, true, {"\\??\\C:\\onetwo", "\\??\\C:\\one"}},
        {kRemove, "", true, {"\\??\\C:\\onetwo", "\\??\\C:\\one"}},
        {kRemove | DDD_RAW_TARGET_PATH, "", true, {"\\??\\C:\\onetwo", "\\??\\C:\\one"}},
        // Without an exact match the target need only begin the definition.
        {kRemove, "C:\\one", true, {"\\??\\D:\\", "\\??\\C:\\one"}},
        {kRemove, "c:\\ONETWO", true, {"\\??\\D:\\", "\\??\\C:\\one"}},
        {kRemove | DDD_RAW_TARGET_PATH, "\\??\\D:", true, {"\\??\\C:\\onetwo", "\\??\\C:\\one"}},
        {kExact, "C:\\one", true, {"\\??\\D:\\", "\\??\\C:\\onetwo"}},
        {kExact, "c:\\One", true, {"\\??\\D:\\", "\\??\\C:\\onetwo"}},
        {kExact | DDD_RAW_TARGET_PATH, "\\??\\C:\\onetwo", true, {"\\??\\D:\\", "\\??\\C:\\one"}},
        {kExact, "C:\\on", false, {"\\??\\D:\\", "\\??\\C:\\onetwo", "\\??\\C:\\one"}},
        {kRemove, "C:\\three", false, {"\\??\\D:\\", "\\??\\C:\\onetwo", "\\??\\C:\\one"}},
        // Without DDD_RAW_TARGET_PATH the target is a DOS path, so an NT name never matches.
        {kRemove, "\\??\\D:", false, {"\\??\\D:\\", "\\??\\C:\\onetwo", "\\??\\C:\\one"}},
    };
    for (const auto& c : cases) {
        const std::string name = c.target ? c.target : "(null)";
        auto m = twtest::MachineFromText(kSubstMachine);
        Kernel& k = m->kernel();
        for (const char* target : {"C:\\one", "C:\\onetwo", "D:\\"}) ASSERT_TRUE(k.DefineDosDeviceA(0, "X:", target));
        k.SetLastError(ERROR_GEN_FAILURE);
        EXPECT_EQ(k.DefineDosDeviceA(c.flags, "X:", c.target), c.removed ? TRUE : FALSE) << name;
        EXPECT_EQ(k.GetLastError(), c.removed ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND) << name;
        EXPECT_EQ(DrainDefinitions(*m, "X:"), c.left) << name;
    }
}

TEST(SimDosDevice, RemovingTheLettersOwnMapping) {
    constexpr DWORD kRemove = DDD_REMOVE_DEFINITION;
    const struct {
        DWORD flags;
        const char* target;
        bool removed;
    } cases[] = {
        {kRemove, nullptr, true},
        {kRemove, "C:\\work", true},
        {kRemove, "C:\\WO", true},
        {kRemove | DDD_EXACT_MATCH_ON_REMOVE, "c:\\WORK", true},
        {kRemove | DDD_RAW_TARGET_PATH | DDD_EXACT_MATCH_ON_REMOVE, "\\??\\C:\\work", true},
        {kRemove | DDD_EXACT_MATCH_ON_REMOVE, "C:\\wo", false},
        {kRemove, "D:\\", false},
    };
    for (const auto& c : cases) {
        const std::string name = c.target ? c.target : "(null)";
        auto m = twtest::MachineFromText(kSubstMachine);
        Kernel& k = m->kernel();
        EXPECT_EQ(k.DefineDosDeviceA(c.flags, "S:", c.target), c.removed ? TRUE : FALSE) << name;
        EXPECT_EQ(k.GetLastError(), c.removed ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND) << name;
        EXPECT_EQ(HasLetter(*m, 'S'), !c.removed) << name;
        EXPECT_EQ(k.GetDriveTypeA("S:\\"), c.removed ? DRIVE_NO_ROOT_DIR : DRIVE_FIXED) << name;
        EXPECT_EQ(DeviceName(*m, "S:"), c.removed ? "" : "\\??\\C:\\work") << name;
        EXPECT_EQ(k.GetVolumeInformationA("S:\\", nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0), !c.removed);
    }

    auto m = twtest::MachineFromText(kSubstMachine);
    Kernel& k = m->kernel();
    // Beneath a definition the letter's own mapping cannot be reached.
    ASSERT_TRUE(k.DefineDosDeviceA(0, "S:", "D:\\"));
    EXPECT_FALSE(k.DefineDosDeviceA(DDD_REMOVE_DEFINITION, "S:", "C:\\work"));
    EXPECT_EQ(k.GetLastError(), ERROR_FILE_NOT_FOUND);
    ASSERT_TRUE(k.DefineDosDeviceA(DDD_REMOVE_DEFINITION, "S:", "D:\\"));
    EXPECT_TRUE(k.DefineDosDeviceA(DDD_REMOVE_DEFINITION, "S:", "C:\\work"));
    // Once gone it stays gone, and a real drive goes the same way.
    EXPECT_FALSE(k.DefineDosDeviceA(DDD_REMOVE_DEFINITION, "S:", nullptr));
    EXPECT_EQ(k.GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(k.DefineDosDeviceA(DDD_REMOVE_DEFINITION, "C:", nullptr));
    EXPECT_EQ(k.GetLogicalDrives(), 1u << ('D' - 'A'));
    // An absent letter has no mapping to remove.
    EXPECT_FALSE(k.DefineDosDeviceA(DDD_REMOVE_DEFINITION, "E:", nullptr));
    EXPECT_EQ(k.GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST(SimDosDevice, RefusesBadNamesAndEmptyTargets) {
    auto m = twtest::MachineFromText(kSubstMachine);
    Kernel& k = m->kernel();
    const DWORD drives = k.GetLogicalDrives();
    const struct {
        DWORD flags;
        const char* device;
        const char* target;
    } cases[] = {
        {0, "X", "C:\\"},
        {0, "X:\\", "C:\\"},
        {0, "", "C:\\"},
        {0, nullptr, "C:\\"},
        {0, "1:", "C:\\"},
        {0, "XY:", "C:\\"},
        {0, "X:", nullptr},
        {0, "X:", ""},
        {DDD_RAW_TARGET_PATH, "X:", ""},
        {DDD_REMOVE_DEFINITION, "C:\\", nullptr},
    };
    for (const auto& c : cases) {
        k.SetLastError(0);
        EXPECT_FALSE(k.DefineDosDeviceA(c.flags, c.device, c.target)) << (c.device ? c.device : "(null)");
        EXPECT_EQ(k.GetLastError(), ERROR_INVALID_PARAMETER) << (c.device ? c.device : "(null)");
    }
    EXPECT_EQ(k.GetLogicalDrives(), drives);
    EXPECT_EQ(m->CallCount(SimCall::DefineDosDeviceA), static_cast<int>(std::size(cases)));
}

TEST(SimKernel, VersionFromTheDescription) {
    const struct {
        const char* json;
        DWORD major, minor, build, platform;
    } cases[] = {
        {"{}", 5, 1, 2600, VER_PLATFORM_WIN32_NT},
        {R"({"version": {"major": 4, "minor": 10, "build": 2222, "platform_id": 1}})", 4, 10, 2222,
         VER_PLATFORM_WIN32_WINDOWS},
        {R"({"version": {"major": 6}})", 6, 1, 2600, VER_PLATFORM_WIN32_NT},
        {R"({"version": {}})", 5, 1, 2600, VER_PLATFORM_WIN32_NT},
    };
    for (const auto& c : cases) {
        auto m = twtest::MachineFromText(c.json);
        OSVERSIONINFOA info;
        info.dwOSVersionInfoSize = sizeof info;
        info.dwMajorVersion = info.dwMinorVersion = info.dwBuildNumber = info.dwPlatformId = 0x55555555;
        std::strcpy(info.szCSDVersion, "stale");
        m->kernel().SetLastError(ERROR_GEN_FAILURE);
        ASSERT_TRUE(m->kernel().GetVersionExA(&info)) << c.json;
        EXPECT_EQ(m->kernel().GetLastError(), ERROR_SUCCESS);
        EXPECT_EQ(info.dwOSVersionInfoSize, sizeof info);
        EXPECT_EQ(info.dwMajorVersion, c.major) << c.json;
        EXPECT_EQ(info.dwMinorVersion, c.minor) << c.json;
        EXPECT_EQ(info.dwBuildNumber, c.build) << c.json;
        EXPECT_EQ(info.dwPlatformId, c.platform) << c.json;
        EXPECT_STREQ(info.szCSDVersion, "") << c.json;
    }
    auto m = twtest::MachineFromText("{}");
    OSVERSIONINFOA small;
    small.dwOSVersionInfoSize = sizeof small - 1;
    EXPECT_FALSE(m->kernel().GetVersionExA(&small));
    EXPECT_EQ(m->kernel().GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(small.dwMajorVersion, 0u);
    EXPECT_FALSE(m->kernel().GetVersionExA(nullptr));
    EXPECT_EQ(m->CallCount(SimCall::GetVersionExA), 2);
}

namespace {

constexpr const char* kFilesMachine = R"({"drives": {"C": {}}, "files": {
    "C:\\exists.txt": {"text": "old"},
    "c:\\Locked.txt": {"text": "x", "open_error": "ERROR_ACCESS_DENIED"},
    "C:\\readonly.txt": {"text": "keep", "write_error": "ERROR_WRITE_PROTECT", "comment": "a write-protected disk"},
    "C:\\ghost.txt": {}}})";

constexpr DWORD kTruncateExisting = 5;

HANDLE OpenFile(Machine& m, const char* path, DWORD disposition, DWORD access = GENERIC_WRITE) {
    return m.kernel().CreateFileA(path, access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, 0);
}

}  // namespace

TEST(SimFiles, CreateFileDispositions) {
    const std::optional<std::string> none;
    const struct {
        const char* path;
        DWORD disposition;
        bool opens;
        DWORD error;
        std::optional<std::string> text;  // afterwards
    } cases[] = {
        {"C:\\exists.txt", OPEN_EXISTING, true, ERROR_SUCCESS, "old"},
        {"c:\\EXISTS.TXT", OPEN_EXISTING, true, ERROR_SUCCESS, "old"},
        {"C:\\exists.txt", OPEN_ALWAYS, true, ERROR_ALREADY_EXISTS, "old"},
        {"C:\\exists.txt", CREATE_ALWAYS, true, ERROR_ALREADY_EXISTS, ""},
        {"C:\\exists.txt", CREATE_NEW, false, ERROR_FILE_EXISTS, "old"},
        {"C:\\exists.txt", kTruncateExisting, false, ERROR_INVALID_PARAMETER, "old"},
        {"C:\\new.txt", OPEN_EXISTING, false, ERROR_FILE_NOT_FOUND, none},
        {"C:\\new.txt", OPEN_ALWAYS, true, ERROR_SUCCESS, ""},
        {"C:\\new.txt", CREATE_ALWAYS, true, ERROR_SUCCESS, ""},
        {"C:\\new.txt", CREATE_NEW, true, ERROR_SUCCESS, ""},
        {"C:\\ghost.txt", OPEN_EXISTING, false, ERROR_FILE_NOT_FOUND, none},
        {"C:\\ghost.txt", CREATE_NEW, true, ERROR_SUCCESS, ""},
        {"C:\\locked.txt", OPEN_EXISTING, false, ERROR_ACCESS_DENIED, "x"},
        {"C:\\locked.txt", CREATE_ALWAYS, false, ERROR_ACCESS_DENIED, "x"},
        {"", OPEN_ALWAYS, false, ERROR_PATH_NOT_FOUND, none},
    };
    for (const auto& c : cases) {
        auto m = twtest::MachineFromText(kFilesMachine);
        m->kernel().SetLastError(ERROR_GEN_FAILURE);
        const HANDLE h = OpenFile(*m, c.path, c.disposition);
        EXPECT_EQ(h != INVALID_HANDLE_VALUE, c.opens) << c.path << " " << c.disposition;
        EXPECT_EQ(m->kernel().GetLastError(), c.error) << c.path << " " << c.disposition;
        EXPECT_EQ(m->OpenHandleCount(), c.opens ? 1 : 0) << c.path << " " << c.disposition;
        EXPECT_EQ(m->FileText(c.path), c.text) << c.path << " " << c.disposition;
        if (c.opens) {
            EXPECT_TRUE(m->kernel().CloseHandle(h));
            EXPECT_EQ(m->OpenHandleCount(), 0);
        }
    }
}

TEST(SimFiles, WritesAtThePointer) {
    auto m = twtest::MachineFromText(kFilesMachine);
    Kernel& k = m->kernel();
    const HANDLE h = OpenFile(*m, "C:\\exists.txt", OPEN_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 99;
    auto write = [&](const std::string& text) {
        return k.WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    };
    // A new handle writes from the start, over what is there.
    ASSERT_TRUE(write("n"));
    EXPECT_EQ(written, 1u);
    EXPECT_EQ(m->FileText("C:\\exists.txt"), "nld");
    EXPECT_EQ(k.SetFilePointer(h, 0, nullptr, FILE_END), 3u);
    ASSERT_TRUE(write("new"));
    EXPECT_EQ(m->FileText("C:\\exists.txt"), "nldnew");
    EXPECT_EQ(k.SetFilePointer(h, 1, nullptr, FILE_BEGIN), 1u);
    ASSERT_TRUE(write("XY"));
    EXPECT_EQ(k.SetFilePointer(h, -1, nullptr, FILE_CURRENT), 2u);
    EXPECT_EQ(m->FileText("C:\\exists.txt"), "nXYnew");
    // Past the end: nothing changes until something is written, then zeros fill the gap.
    EXPECT_EQ(k.SetFilePointer(h, 8, nullptr, FILE_BEGIN), 8u);
    ASSERT_TRUE(write(""));
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(m->FileText("C:\\exists.txt"), "nXYnew");
    ASSERT_TRUE(write("!"));
    EXPECT_EQ(m->FileText("C:\\exists.txt"), std::string("nXYnew\0\0!", 9));

    // Refused moves leave the pointer where it was.
    k.SetLastError(0);
    EXPECT_EQ(k.SetFilePointer(h, -10, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(k.GetLastError(), 131u);  // ERROR_NEGATIVE_SEEK
    EXPECT_EQ(k.SetFilePointer(h, 0, nullptr, 3), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(k.GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(k.SetFilePointer(h, 0, nullptr, FILE_CURRENT), 9u);
    // The high half of a 64-bit distance goes in and comes back.
    LONG high = 1;
    EXPECT_EQ(k.SetFilePointer(h, 5, &high, FILE_BEGIN), 5u);
    EXPECT_EQ(high, 1);
    EXPECT_EQ(k.GetLastError(), ERROR_SUCCESS);
    high = -1;
    EXPECT_EQ(k.SetFilePointer(h, -6, &high, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(high, 0);
    EXPECT_EQ(k.GetLastError(), ERROR_SUCCESS);  // a real position whose low half is all ones
    EXPECT_TRUE(k.CloseHandle(h));
    EXPECT_EQ(m->OpenHandleCount(), 0);
}

TEST(SimFiles, ReadsFromThePointer) {
    auto m = twtest::MachineFromText(kFilesMachine);
    Kernel& k = m->kernel();
    const HANDLE h = OpenFile(*m, "C:\\exists.txt", OPEN_EXISTING, GENERIC_READ | GENERIC_WRITE);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const struct {
        LONG seek;  // from the start, before reading
        DWORD wanted;
        std::string got;
        DWORD after;  // the pointer afterwards
    } cases[] = {
        {0, 2, "ol", 2}, {1, 10, "ld", 3}, {2, 1, "d", 3}, {3, 1, "", 3}, {7, 4, "", 7}, {0, 0, "", 0},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(k.SetFilePointer(h, c.seek, nullptr, FILE_BEGIN), static_cast<DWORD>(c.seek));
        char buffer[16] = {};
        DWORD read = 99;
        k.SetLastError(ERROR_GEN_FAILURE);
        ASSERT_TRUE(k.ReadFile(h, buffer, c.wanted, &read, nullptr)) << c.seek << "+" << c.wanted;
        EXPECT_EQ(k.GetLastError(), ERROR_SUCCESS);
        EXPECT_EQ(std::string(buffer, read), c.got) << c.seek << "+" << c.wanted;
        EXPECT_EQ(k.SetFilePointer(h, 0, nullptr, FILE_CURRENT), c.after) << c.seek << "+" << c.wanted;
    }
    // Reading follows what was written through the same handle.
    k.SetFilePointer(h, 0, nullptr, FILE_END);
    DWORD count = 0;
    ASSERT_TRUE(k.WriteFile(h, "\x1A", 1, &count, nullptr));
    k.SetFilePointer(h, -1, nullptr, FILE_END);
    char last = 0;
    ASSERT_TRUE(k.ReadFile(h, &last, 1, &count, nullptr));
    EXPECT_EQ(last, '\x1A');
    EXPECT_TRUE(k.CloseHandle(h));

    const HANDLE writer = OpenFile(*m, "C:\\exists.txt", OPEN_EXISTING, GENERIC_WRITE);
    count = 99;
    EXPECT_FALSE(k.ReadFile(writer, &last, 1, &count, nullptr));
    EXPECT_EQ(k.GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(k.CloseHandle(writer));
    EXPECT_FALSE(k.ReadFile(writer, &last, 1, &count, nullptr));
    EXPECT_EQ(k.GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(SimFiles, RefusedWritesAndClosedHandles) {
    auto m = twtest::MachineFromText(kFilesMachine);
    Kernel& k = m->kernel();
    DWORD written = 99;
    const HANDLE reader = OpenFile(*m, "C:\\exists.txt", OPEN_EXISTING, GENERIC_READ);
    const HANDLE protectedFile = OpenFile(*m, "C:\\readonly.txt", OPEN_EXISTING);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    ASSERT_NE(protectedFile, INVALID_HANDLE_VALUE);
    EXPECT_NE(reader, protectedFile);
    EXPECT_EQ(m->OpenHandleCount(), 2);

    const struct {
        HANDLE handle;
        DWORD error;
    } cases[] = {
        {reader, ERROR_ACCESS_DENIED},
        {protectedFile, ERROR_WRITE_PROTECT},
        {0x1234, ERROR_INVALID_HANDLE},
        {INVALID_HANDLE_VALUE, ERROR_INVALID_HANDLE},
    };
    for (const auto& c : cases) {
        written = 99;
        EXPECT_FALSE(k.WriteFile(c.handle, "abc", 3, &written, nullptr)) << c.handle;
        EXPECT_EQ(k.GetLastError(), c.error) << c.handle;
        EXPECT_EQ(written, 0u) << c.handle;
    }
    EXPECT_EQ(m->FileText("C:\\exists.txt"), "old");
    EXPECT_EQ(m->FileText("C:\\readonly.txt"), "keep");

    EXPECT_TRUE(k.CloseHandle(reader));
    EXPECT_EQ(m->OpenHandleCount(), 1);
    // A closed handle is no handle at all.
    EXPECT_FALSE(k.CloseHandle(reader));
    EXPECT_EQ(k.GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(k.SetFilePointer(reader, 0, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(k.GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(k.WriteFile(reader, "abc", 3, &written, nullptr));
    EXPECT_EQ(k.GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_TRUE(k.CloseHandle(protectedFile));
    EXPECT_EQ(m->OpenHandleCount(), 0);
    EXPECT_EQ(m->CallCount(SimCall::CloseHandle), 3);
}

TEST(SimShell, FolderBrowserAnswersInTurn) {
    auto m = twtest::MachineFromText(R"({"shell": {"folder_browser": ["C:\\data\\photos", null, "D:\\"]}})");
    Shell& shell = m->shell();
    char display[MAX_PATH] = "untouched";
    BROWSEINFOA bi;
    bi.pszDisplayName = display;
    bi.lpszTitle = "Select Directory";
    bi.ulFlags = BIF_RETURNONLYFSDIRS;

    const PIDLIST_ABSOLUTE photos = shell.SHBrowseForFolderA(&bi);
    ASSERT_NE(photos, 0u);
    EXPECT_EQ(m->LastBrowseTitle(), "Select Directory");
    EXPECT_STREQ(display, "photos");
    EXPECT_EQ(m->OpenHandleCount(), 1);

    std::strcpy(display, "untouched");
    bi.lpszTitle = nullptr;
    EXPECT_EQ(shell.SHBrowseForFolderA(&bi), 0u);  // cancelled
    EXPECT_STREQ(display, "untouched");
    EXPECT_EQ(m->LastBrowseTitle(), "");

    const PIDLIST_ABSOLUTE root = shell.SHBrowseForFolderA(&bi);
    ASSERT_NE(root, 0u);
    EXPECT_NE(root, photos);
    EXPECT_STREQ(display, "");
    EXPECT_EQ(m->OpenHandleCount(), 2);
    // Out of answers: the user cancels.
    EXPECT_EQ(shell.SHBrowseForFolderA(nullptr), 0u);
    EXPECT_EQ(m->CallCount(SimCall::SHBrowseForFolderA), 4);

    char path[MAX_PATH] = {};
    ASSERT_TRUE(shell.SHGetPathFromIDListA(photos, path));
    EXPECT_STREQ(path, "C:\\data\\photos");
    ASSERT_TRUE(shell.SHGetPathFromIDListA(root, path));
    EXPECT_STREQ(path, "D:\\");
    EXPECT_FALSE(shell.SHGetPathFromIDListA(photos, nullptr));

    // A PIDL is freed with CoTaskMemFree, not closed as a handle.
    EXPECT_FALSE(m->kernel().CloseHandle(photos));
    EXPECT_EQ(m->kernel().GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(m->OpenHandleCount(), 2);
    shell.CoTaskMemFree(photos);
    EXPECT_EQ(m->OpenHandleCount(), 1);
    std::strcpy(path, "untouched");
    EXPECT_FALSE(shell.SHGetPathFromIDListA(photos, path));
    EXPECT_STREQ(path, "untouched");
    shell.CoTaskMemFree(photos);
    shell.CoTaskMemFree(0);
    EXPECT_EQ(m->OpenHandleCount(), 1);
    shell.CoTaskMemFree(root);
    EXPECT_EQ(m->OpenHandleCount(), 0);
}

TEST(SimShell, AnswerFormsAndLongPaths) {
    const struct {
        const char* shell;
        std::vector<bool> picks;  // whether each browse picks a folder
    } cases[] = {
        {R"({})", {false}},
        {R"({"folder_browser": []})", {false}},
        {R"({"folder_browser": null})", {false, false}},
        {R"({"folder_browser": "C:\\x"})", {true, false}},
        {R"({"folder_browser": [null, "C:\\x", "C:\\y"]})", {false, true, true, false}},
    };
    for (const auto& c : cases) {
        auto m = twtest::MachineFromText(std::string(R"({"shell": )") + c.shell + "}");
        for (size_t i = 0; i < c.picks.size(); ++i) {
            const PIDLIST_ABSOLUTE pidl = m->shell().SHBrowseForFolderA(nullptr);
            EXPECT_EQ(pidl != 0, c.picks[i]) << c.shell << " browse " << i;
            if (pidl) m->shell().CoTaskMemFree(pidl);
        }
        EXPECT_EQ(m->OpenHandleCount(), 0);
    }

    // A path and its zero must fit MAX_PATH bytes.
    const std::string fits = "C:\\" + std::string(MAX_PATH - 4, 'a');
    const std::string tooLong = fits + "a";
    auto quoted = [](const std::string& path) { return "\"C:\\\\" + path.substr(3) + "\""; };
    auto m =
        twtest::MachineFromText(R"({"shell": {"folder_browser": [)" + quoted(fits) + "," + quoted(tooLong) + "]}}");
    char path[MAX_PATH] = {};
    const PIDLIST_ABSOLUTE first = m->shell().SHBrowseForFolderA(nullptr);
    const PIDLIST_ABSOLUTE second = m->shell().SHBrowseForFolderA(nullptr);
    EXPECT_TRUE(m->shell().SHGetPathFromIDListA(first, path));
    EXPECT_EQ(std::string(path), fits);
    EXPECT_FALSE(m->shell().SHGetPathFromIDListA(second, path));
    m->shell().CoTaskMemFree(first);
    m->shell().CoTaskMemFree(second);
}

TEST(MachineLoader, NamesAndNumberForms) {
    auto m = TestMachine();
    EXPECT_EQ(m->Name(), "test machine");
    EXPECT_EQ(twtest::MachineFromText("{}")->Name(), "machine");
    auto numeric = twtest::MachineFromText(R"({"drives": {"C": {"volume": {"serial": 439041101, "flags": 255},
                                                                "connection": {"error": 1222}}}})");
    DWORD serial = 0, flags = 0, length = 0;
    ASSERT_TRUE(numeric->kernel().GetVolumeInformationA("C:\\", nullptr, 0, &serial, nullptr, &flags, nullptr, 0));
    EXPECT_EQ(serial, 0x1A2B3C4Du);
    EXPECT_EQ(flags, 0xFFu);
    EXPECT_EQ(numeric->network().WNetGetConnectionA("C:", nullptr, &length), ERROR_NO_NETWORK);
}

TEST(MachineLoader, RefusesBadDescriptionsNamingTheField) {
    const struct {
        const char* json;
        const char* message;  // after "test.json: "
    } cases[] = {
        {R"({"drives": {"C": {"type": "DRIVE_FIXED",}}})", "not valid JSON"},
        {R"([])", "expected an object"},
        {R"({"drive": {}})", "unknown field \"drive\""},
        {R"({"name": 5})", "name: expected a string"},
        {R"({"free_space_ex": "no"})", "free_space_ex: expected true or false"},
        {R"({"locale": {"decimals": "."}})", "locale: unknown field \"decimals\""},
        {R"({"drives": []})", "drives: expected an object"},
        {R"({"drives": {"c": {}}})", "drives.c: a drive is named by one upper-case letter A to Z"},
        {R"({"drives": {"1": {}}})", "drives.1: a drive is named"},
        {R"({"drives": {"C": {"typ": 3}}})", "drives.C: unknown field \"typ\""},
        {R"({"drives": {"C": {"type": "DRIVE_FLOPPY"}}})", "drives.C.type: unknown name \"DRIVE_FLOPPY\""},
        {R"({"drives": {"C": {"present": "yes"}}})", "drives.C.present: expected true or false"},
        {R"({"drives": {"C": {"volume": {"lable": "x"}}}})", "drives.C.volume: unknown field \"lable\""},
        {R"({"drives": {"C": {"volume": {"label": 5}}}})", "drives.C.volume.label: expected a string"},
        {R"({"drives": {"C": {"volume": {"serial": "123456789"}}}})", "drives.C.volume.serial: expected up to 8"},
        {R"({"drives": {"C": {"volume": {"max_component_length": -1}}}})",
         "drives.C.volume.max_component_length: expected a whole number from 0"},
        {R"({"drives": {"C": {"volume": {"error": "ERROR_NOT_READY", "label": "x"}}}})",
         "drives.C.volume: an error volume has no other fields"},
        {R"({"drives": {"C": {"volume": {"error": "ERROR_NOPE"}}}})", "drives.C.volume.error: unknown name"},
        {R"({"drives": {"C": {"volume": {"error": "ERROR_SUCCESS"}}}})",
         "drives.C.volume.error: an error code must not be 0"},
        {R"({"drives": {"C": {"space": {"total": "big", "free": 0}}}})",
         "drives.C.space.total: expected a whole number"},
        {R"({"drives": {"C": {"space": {"total": 10, "free": -1}}}})", "drives.C.space.free: expected a whole number"},
        {R"({"drives": {"C": {"space": {"total": 10}}}})", "drives.C.space: needs \"total\" and \"free\""},
        {R"({"drives": {"C": {"space": {"total": 10, "free": 11}}}})", "drives.C.space: free space exceeds the total"},
        {R"({"drives": {"C": {"space": {"total": 10, "free": 5, "free_to_caller": 6}}}})",
         "drives.C.space: free space exceeds the total"},
        {R"({"drives": {"C": {"space": {"total": 10, "free": 5, "free_to_caller": "x"}}}})",
         "drives.C.space.free_to_caller: expected a whole number"},
        {R"({"drives": {"C": {"space": {"total": 10, "free": 5, "bytes_per_sector": 4294967296}}}})",
         "drives.C.space.bytes_per_sector: number too large"},
        {R"({"drives": {"C": {"space": {"total": 10, "free": 5, "sectors_per_cluster": true}}}})",
         "drives.C.space.sectors_per_cluster: expected a whole number"},
        {R"({"drives": {"C": {"connection": {}}}})", "drives.C.connection: expected a remote name or an error"},
        {R"({"drives": {"C": {"raises": {"GetDiskFreeSpace": "x"}}}})",
         "drives.C.raises: unknown field \"GetDiskFreeSpace\""},
        {R"({"faults": {}})", "faults: expected a list of faults"},
        {R"({"faults": [{"call": "GetVolumeInformation", "error": 21}]})",
         "faults.0.call: unknown call \"GetVolumeInformation\""},
        {R"({"faults": [{"call": "SetErrorMode", "error": 21}]})", "faults.0.call: SetErrorMode never fails"},
        {R"({"faults": [{"nth": 0, "error": 21}]})", "faults.0.nth: calls are counted from 1"},
        {R"({"faults": [{"nth": 2}]})", "faults.0: needs \"error\", \"remove_medium\" or \"remove_drive\""},
        {R"({"faults": [{"remove_medium": true}]})", "faults.0: \"remove_medium\" needs \"drive\""},
        {R"({"faults": [{"remove_drive": true}]})", "faults.0: \"remove_drive\" needs \"drive\""},
        {R"({"faults": [{"drive": "E", "remove_medium": true, "error": 21}]})",
         "faults.0: a fault either fails the call, removes the medium or removes the drive"},
        {R"({"faults": [{"drive": "E", "remove_medium": true, "remove_drive": true}]})",
         "faults.0: a fault either fails the call, removes the medium or removes the drive"},
        {R"({"drives": {"E": {"device": {"scsi": {"medium": "none"}}}}})",
         "drives.E.device.scsi.medium: expected \"present\" or \"absent\""},
        {R"({"drives": {"E": {"device": {"scsi": {"fail": {"TEST_UNIT_READY": "ERROR_NOT_READY"}}}}}})",
         "drives.E.device.scsi.fail.TEST_UNIT_READY: a drive without a disc, or not ready yet, does not fail "
         "pass-through"},
        {R"({"faults": [{"drive": "e", "error": 21}]})", "faults.0.drive: expected A to Z"},
        {R"({"registry": {"HKEY_LOCAL_MACHINE\\X": {}}})",
         "registry.HKEY_LOCAL_MACHINE\\X: only HKEY_CURRENT_USER keys are simulated"},
        {R"({"registry": {"HKEY_CURRENT_USERS\\X": {}}})",
         "registry.HKEY_CURRENT_USERS\\X: only HKEY_CURRENT_USER keys are simulated"},
        {R"({"registry": {"HKEY_CURRENT_USER\\X": {"create_error": "nope"}}})",
         "registry.HKEY_CURRENT_USER\\X.create_error: unknown name \"nope\""},
        {R"({"registry": {"HKEY_CURRENT_USER\\X": {"values": {"V": {"data": 1}}}}})",
         "registry.HKEY_CURRENT_USER\\X.values.V: needs \"type\""},
        {R"({"registry": {"HKEY_CURRENT_USER\\X": {"values": {"V": {"type": "REG_DWORD", "data": 1, "hex": "00"}}}}})",
         "registry.HKEY_CURRENT_USER\\X.values.V: needs exactly one of \"data\" and \"hex\""},
        {R"({"registry": {"HKEY_CURRENT_USER\\X": {"values": {"V": {"type": "REG_BINARY", "data": "00"}}}}})",
         "registry.HKEY_CURRENT_USER\\X.values.V: give \"hex\" for this type"},
        {R"({"registry": {"HKEY_CURRENT_USER\\X": {"values": {"V": {"type": "REG_DWORD", "data": "1"}}}}})",
         "registry.HKEY_CURRENT_USER\\X.values.V.data: expected a whole number"},
        {R"({"registry": {"HKEY_CURRENT_USER\\X": {"values": {"V": {"type": "REG_BINARY", "hex": "123"}}}}})",
         "registry.HKEY_CURRENT_USER\\X.values.V.hex: odd number of hexadecimal digits"},
        {R"({"registry": {"HKEY_CURRENT_USER\\X": {"values": {"V": {"type": "REG_BINARY", "hex": "zz"}}}}})",
         "registry.HKEY_CURRENT_USER\\X.values.V.hex: expected hexadecimal bytes"},
        {R"({"version": 5})", "version: expected an object"},
        {R"({"version": {"service_pack": "SP2"}})", "version: unknown field \"service_pack\""},
        {R"({"version": {"major": -1}})", "version.major: expected a whole number from 0"},
        {R"({"version": {"minor": 1.5}})", "version.minor: expected a whole number from 0"},
        {R"({"version": {"build": 4294967296}})", "version.build: number too large"},
        {R"({"version": {"platform_id": "VER_PLATFORM_WIN32_NT"}})", "version.platform_id: expected a whole number"},
        {R"({"files": []})", "files: expected an object"},
        {R"({"files": {"AUTOEXEC.BAT": {}}})", "files.AUTOEXEC.BAT: a file is named by a full path like C:\\x"},
        {R"({"files": {"C:AUTOEXEC.BAT": {}}})", "files.C:AUTOEXEC.BAT: a file is named by a full path"},
        {R"({"files": {"C:\\A": "text"}})", "files.C:\\A: expected an object"},
        {R"({"files": {"C:\\A": {"txt": ""}}})", "files.C:\\A: unknown field \"txt\""},
        {R"({"files": {"C:\\A": {"text": 1}}})", "files.C:\\A.text: expected a string"},
        {R"({"files": {"C:\\A": {"open_error": "ERROR_NOPE"}}})",
         "files.C:\\A.open_error: unknown name \"ERROR_NOPE\""},
        {R"({"files": {"C:\\A": {"write_error": 0}}})", "files.C:\\A.write_error: an error code must not be 0"},
        {R"({"folders": "C:\\x"})", "folders: expected a list of paths"},
        {R"({"folders": ["work"]})", "folders: a folder is named by a full path like C:\\x"},
        {R"({"drives": {"Q": {"define_error": 0}}})", "drives.Q.define_error: an error code must not be 0"},
        {R"({"shell": []})", "shell: expected an object"},
        {R"({"shell": {"browser": []}})", "shell: unknown field \"browser\""},
        {R"({"shell": {"folder_browser": ["C:\\", 5]}})", "shell.folder_browser: expected a string"},
        {R"({"shell": {"folder_browser": true}})", "shell.folder_browser: expected a string"},
    };
    for (const auto& c : cases) {
        try {
            twtest::MachineFromText(c.json);
            ADD_FAILURE() << "accepted: " << c.json;
        } catch (const MachineFormatError& e) {
            const std::string message = e.what();
            EXPECT_EQ(message.rfind(std::string("test.json: ") + c.message, 0), 0u)
                << c.json << "\n  gave: " << message;
        }
    }
}

TEST(MachineLoader, FromFileNamesTheFile) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path();
    const std::string missing = (dir / "tarnwell-no-such-machine.json").string();
    try {
        Machine::FromFile(missing);
        ADD_FAILURE() << "read a missing file";
    } catch (const MachineFormatError& e) {
        EXPECT_EQ(std::string(e.what()), missing + ": cannot read the machine file");
    }
    const std::string bad = (dir / "tarnwell-machine-test.json").string();
    std::ofstream(bad) << R"({"drives": {"C": {"space": {"total": 1, "free": 2}}}})";
    try {
        Machine::FromFile(bad);
        ADD_FAILURE() << "accepted free > total";
    } catch (const MachineFormatError& e) {
        EXPECT_EQ(std::string(e.what()), bad + ": drives.C.space: free space exceeds the total");
    }
    std::filesystem::remove(bad);
}

TEST(ExampleMachines, MinimalHasOnlyC) {
    auto m = twtest::ExampleMachine("minimal.json");
    EXPECT_EQ(m->kernel().GetLogicalDrives(), 1u << 2);
    EXPECT_EQ(m->kernel().GetDriveTypeA("C:\\"), DRIVE_FIXED);
    EXPECT_TRUE(m->RegistryKeys().empty());
    EXPECT_EQ(twtest::ExampleMachine("workstation.json")->Name(), "workstation");
}

TEST(ExampleMachines, FaultsFailAsDescribed) {
    auto m = twtest::ExampleMachine("faults.json");
    Kernel& k = m->kernel();
    DWORD spc, bps, freeClusters, totalClusters, length = 0;
    ULONGLONG a, b, c;
    EXPECT_FALSE(k.GetVolumeInformationA("D:\\", nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(k.GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(k.GetDiskFreeSpaceExA("C:\\", &a, &b, &c));
    EXPECT_EQ(k.GetLastError(), ERROR_CALL_NOT_IMPLEMENTED);
    EXPECT_TRUE(k.GetDiskFreeSpaceA("C:\\", &spc, &bps, &freeClusters, &totalClusters));
    EXPECT_FALSE(k.GetDiskFreeSpaceA("E:\\", &spc, &bps, &freeClusters, &totalClusters));
    EXPECT_EQ(k.GetLastError(), ERROR_GEN_FAILURE);
    EXPECT_TRUE(k.GetDiskFreeSpaceA("T:\\", &spc, &bps, &freeClusters, &totalClusters));
    EXPECT_EQ(totalClusters, 0xFFFFFFFFu);
    EXPECT_THROW(k.GetDiskFreeSpaceA("V:\\", &spc, &bps, &freeClusters, &totalClusters), SimulatedFault);
    EXPECT_EQ(k.GetDriveTypeA("K:\\"), 7u);
    EXPECT_EQ(k.GetDriveTypeA("U:\\"), DRIVE_UNKNOWN);
    EXPECT_EQ(k.GetDriveTypeA("M:\\"), DRIVE_REMOTE);
    EXPECT_TRUE(k.GetLogicalDrives() & (1u << ('M' - 'A')));
    EXPECT_EQ(m->network().WNetGetConnectionA("M:", nullptr, &length), ERROR_CONNECTION_UNAVAIL);
    EXPECT_EQ(m->network().WNetGetConnectionA("N:", nullptr, &length), ERROR_NO_NETWORK);
    // The policy value is unreadable and the policy can't be written.
    EXPECT_EQ(tw::actions::GetDriveVisibility(m->registry(), 'E'), tw::actions::kNoPolicy);
    const HKEY policy = Open(*m, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer");
    const BYTE zero[4] = {};
    EXPECT_EQ(m->registry().RegSetValueExA(policy, "NoDrives", 0, REG_DWORD, zero, 4), ERROR_ACCESS_DENIED);
    m->registry().RegCloseKey(policy);
    LONG rc = 0;
    EXPECT_EQ(Open(*m, "Software\\Policies\\Microsoft", &rc), 0u);
    EXPECT_EQ(rc, static_cast<LONG>(ERROR_ACCESS_DENIED));
}

TEST(ExampleMachines, LockedPolicyKeyCannotBeOpened) {
    auto m = twtest::ExampleMachine("locked-policy.json");
    LONG rc = 0;
    EXPECT_EQ(Open(*m, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", &rc), 0u);
    EXPECT_EQ(rc, static_cast<LONG>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(tw::actions::GetDriveVisibility(m->registry(), 'C'), tw::actions::kNoPolicy);
    EXPECT_EQ(m->OpenKeyCount(), 0);
}

TEST(SimDosDeviceLoop, LettersDefinedOnEachOtherStandOnNothing) {
    auto m = tw::sim::Machine::FromJsonText(R"({"drives": {"C": {}}})", "test.json");
    auto& k = m->kernel();
    ASSERT_TRUE(k.DefineDosDeviceA(0, "X:", "Y:\\"));
    ASSERT_TRUE(k.DefineDosDeviceA(0, "Y:", "X:\\"));
    EXPECT_EQ(k.GetDriveTypeA("X:\\"), tw::platform::DRIVE_NO_ROOT_DIR);
    EXPECT_FALSE(k.GetVolumeInformationA("Y:\\", nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0));
}

TEST(SimFolders, AttributesOfFoldersFilesRootsAndNothing) {
    auto m = twtest::MachineFromText(R"({"folders": ["C:\\data\\photos\\"], "files": {"C:\\data\\a.txt": {"text": ""}},
        "drives": {"C": {}, "E": {"present": false}}})");
    const struct {
        const char* path;
        DWORD attributes;
        DWORD error;
    } cases[] = {
        {"c:\\DATA\\photos", FILE_ATTRIBUTE_DIRECTORY, ERROR_SUCCESS},
        {"C:\\data\\", FILE_ATTRIBUTE_DIRECTORY, ERROR_SUCCESS},  // a parent of a folder
        {"C:\\", FILE_ATTRIBUTE_DIRECTORY, ERROR_SUCCESS},
        {"C:\\data\\a.txt", FILE_ATTRIBUTE_ARCHIVE, ERROR_SUCCESS},
        {"C:\\data\\b.txt", INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND},
        {"C:\\none\\b", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
        {"E:\\", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
        {"", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(m->kernel().GetFileAttributesA(c.path), c.attributes) << c.path;
        EXPECT_EQ(m->kernel().GetLastError(), c.error) << c.path;
    }
    // A folder does not open as a file.
    EXPECT_EQ(m->kernel().CreateFileA("C:\\data", GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(m->kernel().GetLastError(), ERROR_ACCESS_DENIED);
}

TEST(SimMessages, SystemTextsEndWithALineBreak) {
    Machine m;
    constexpr DWORD kFlags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    char text[64] = {};
    EXPECT_EQ(m.kernel().FormatMessageA(kFlags, nullptr, ERROR_ACCESS_DENIED, 0, text, sizeof text, nullptr), 19u);
    EXPECT_STREQ(text, "Access is denied.\r\n");
    const struct {
        DWORD flags;
        DWORD id;
        DWORD size;
        DWORD error;
    } failures[] = {
        {FORMAT_MESSAGE_IGNORE_INSERTS, ERROR_ACCESS_DENIED, sizeof text, ERROR_INVALID_PARAMETER},
        {kFlags | FORMAT_MESSAGE_ALLOCATE_BUFFER, ERROR_ACCESS_DENIED, sizeof text, ERROR_INVALID_PARAMETER},
        {kFlags, 0xDEAD, sizeof text, ERROR_MR_MID_NOT_FOUND},
        {kFlags, ERROR_ACCESS_DENIED, 19, ERROR_INSUFFICIENT_BUFFER},  // no room for the zero
    };
    for (const auto& f : failures) {
        EXPECT_EQ(m.kernel().FormatMessageA(f.flags, nullptr, f.id, 0, text, f.size, nullptr), 0u);
        EXPECT_EQ(m.kernel().GetLastError(), f.error) << f.id;
    }
}

TEST(SimDosDevice, ARefusedDefinitionChangesNothing) {
    auto m = twtest::MachineFromText(R"({"drives": {"Q": {"present": false, "define_error": "ERROR_ACCESS_DENIED"}}})");
    EXPECT_EQ(m->kernel().DefineDosDeviceA(0, "Q:", "C:\\work"), FALSE);
    EXPECT_EQ(m->kernel().GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(m->kernel().GetLogicalDrives(), 0u);
}

TEST(SimFaults, PlannedFaultsFailTheNthMatchingCallOrTakeTheMediumOut) {
    const std::string drive = R"("E": {"type": "DRIVE_CDROM", "volume": {"label": "DISC"},
                                      "space": {"total": 100, "free": 0}})";
    struct Case {
        const char* faults;
        std::vector<DWORD> volumeErrors;  // of three volume queries of E:, then of C:
        DWORD spaceError;                 // of the free-space query after them
    };
    const Case cases[] = {
        {R"([])", {0, 0, 0, 0}, 0},
        {R"([{"call": "GetVolumeInformationA", "drive": "E", "nth": 2, "error": "ERROR_NOT_READY"}])",
         {0, ERROR_NOT_READY, 0, 0},
         0},
        {R"([{"nth": 3, "error": 31}])", {0, 0, ERROR_GEN_FAILURE, 0}, 0},
        {R"([{"call": "GetVolumeInformationA", "drive": "E", "nth": 2, "remove_medium": true}])",
         {0, ERROR_NOT_READY, ERROR_NOT_READY, 0},
         ERROR_NOT_READY},
        {R"([{"call": "GetDiskFreeSpaceExA", "error": 5}, {"call": "GetVolumeInformationA", "error": 6}])",
         {ERROR_INVALID_HANDLE, 0, 0, 0},
         ERROR_ACCESS_DENIED},
    };
    for (const Case& c : cases) {
        auto m = twtest::MachineFromText(std::string(R"({"drives": {"C": {"volume": {}}, )") + drive +
                                         R"(}, "faults": )" + c.faults + "}");
        std::vector<DWORD> errors;
        for (const char* root : {"E:\\", "E:\\", "E:\\", "C:\\"}) {
            const BOOL ok = m->kernel().GetVolumeInformationA(root, nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0);
            errors.push_back(ok ? 0 : m->kernel().GetLastError());
        }
        EXPECT_EQ(errors, c.volumeErrors) << c.faults;
        ULONGLONG a = 0, b = 0, f = 0;
        const BOOL ok = m->kernel().GetDiskFreeSpaceExA("E:\\", &a, &b, &f);
        EXPECT_EQ(ok ? 0 : m->kernel().GetLastError(), c.spaceError) << c.faults;
        EXPECT_EQ(m->FallibleCalls(), 5);
    }
}

TEST(SimFaults, AFaultMayNameAnyCountedCallAndTheMachineSaysWhichCallsFaultsActedOn) {
    auto m = twtest::MachineFromText(R"({"faults": [{"call": "ExecQuery", "error": 5},
                                                   {"call": "GetLocaleInfoA", "nth": 2, "error": 5}]})");
    std::vector<WmiObject> objects;
    m->wmi().ExecQuery("SELECT * FROM Win32_DiskDrive", objects);
    char text[8];
    EXPECT_GT(m->locale().GetLocaleInfoA(0, LOCALE_SDECIMAL, text, sizeof text), 0);
    EXPECT_EQ(m->locale().GetLocaleInfoA(0, LOCALE_SDECIMAL, text, sizeof text), 0);
    EXPECT_EQ(m->FaultedCalls(), (std::vector<SimCall>{SimCall::ExecQuery, SimCall::GetLocaleInfoA}));
}
