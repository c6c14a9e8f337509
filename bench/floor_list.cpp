// The floor for a list refresh: the same fourteen cells tarnwell-cli prints
// for every letter, made with the fewest system calls, and nothing else (no
// window logic, no rows kept, no colours). It times REPEATS walks, prints the
// median walk in microseconds on the first line, then the cells of the last
// walk as tab-separated lines under the column captions.
//   tarnwell-floor-list [REPEATS]
#include <windows.h>
// After <windows.h>, which they need.
#include <winioctl.h>
#include <winnetwk.h>

#include <float.h>
#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPassThroughDirect = 0x0004D014;  // IOCTL_SCSI_PASS_THROUGH_DIRECT
constexpr DWORD kQueryProperty = 0x002D1400;      // IOCTL_STORAGE_QUERY_PROPERTY

std::string Text(long double value, int precision, const std::string& decimal) {
    char buffer[400];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    std::string s = ec == std::errc() ? std::string(buffer, end) : std::string("NAN");
    if (auto dot = s.find('.'); dot != std::string::npos) s.replace(dot, 1, decimal);
    return s;
}

std::string Size(long double bytes, const std::string& decimal) {
    const long double mb = bytes / 1024 / 1024;
    return bytes > 1073741824.0L ? Text(mb / 1024, 2, decimal) + " GB" : Text(mb, 2, decimal) + " MB";
}

std::string Grouped(std::uint64_t value, const std::string& thousand) {
    char buffer[24];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    (void)ec;
    const std::string digits(buffer, end);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += thousand;
        out += digits[i];
    }
    return out;
}

std::string Locale(LCTYPE type, const char* fallback) {
    char buffer[16] = {};
    return GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer) > 1 ? std::string(buffer) : fallback;
}

std::string VolumePath(char letter) { return std::string("\\\\.\\") + letter + ":"; }

// Vendor, product and revision from a standard INQUIRY.
std::string Identity(char letter) {
    HANDLE h = CreateFileA(VolumePath(letter).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::array<BYTE, 80> request{};
    std::array<BYTE, 100> data{};
    request[0] = 44;    // Length
    request[6] = 6;     // CdbLength
    request[7] = 24;    // SenseInfoLength
    request[8] = 1;     // DataIn
    request[12] = 100;  // DataTransferLength
    request[16] = 2;    // TimeOutValue
    const auto pointer = reinterpret_cast<std::uintptr_t>(data.data());
    for (int i = 0; i < 4; ++i) request[20 + i] = static_cast<BYTE>(pointer >> (8 * i));
    request[24] = 48;  // SenseInfoOffset
    request[28] = 0x12;
    request[32] = 100;
    DWORD returned = 0;
    std::string text;
    if (DeviceIoControl(h, kPassThroughDirect, request.data(), 80, request.data(), 80, &returned, nullptr)) {
        for (size_t i = 8; i < data.size() && data[i]; ++i) text += static_cast<char>(data[i]);
    }
    CloseHandle(h);
    return text;
}

bool External(char letter) {
    HANDLE h = CreateFileA(VolumePath(letter).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    std::array<BYTE, 12> query{};
    std::array<BYTE, 548> reply{};
    reply[4] = 548 & 0xFF;
    reply[5] = 548 >> 8;
    DWORD returned = 0;
    const bool done = DeviceIoControl(h, kQueryProperty, query.data(), 12, reply.data(), 548, &returned, nullptr);
    CloseHandle(h);
    const DWORD bus = reply[28] | reply[29] << 8 | reply[30] << 16 | static_cast<DWORD>(reply[31]) << 24;
    return done && (bus == 4 || bus == 7 || reply[10] != 0);
}

using Row = std::array<std::string, 14>;

std::vector<Row> Walk() {
    const std::string decimal = Locale(LOCALE_SDECIMAL, ".");
    const std::string thousand = Locale(LOCALE_STHOUSAND, ",");
    DWORD hidden = 0;
    bool policy = false;
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", 0,
                        nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        DWORD size = sizeof hidden, type = 0;
        policy = RegQueryValueExA(key, "NoDrives", nullptr, &type, reinterpret_cast<BYTE*>(&hidden), &size) ==
                     ERROR_SUCCESS &&
                 type == REG_DWORD;
        RegCloseKey(key);
    }
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    const DWORD mask = GetLogicalDrives();
    std::vector<Row> rows;
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        const char local[3] = {letter, ':', 0};
        char remote[260] = {};
        DWORD length = sizeof remote;
        const DWORD connection = WNetGetConnectionA(local, remote, &length);
        const bool disconnected = connection == ERROR_CONNECTION_UNAVAIL;
        if (!(mask & (1u << (letter - 'A'))) && !disconnected) continue;
        Row row;
        row[0] = std::string(1, letter) + ": ";
        const char root[4] = {letter, ':', '\\', 0};
        char label[81] = {}, fileSystem[21] = {};
        DWORD serial = 0, maxComponent = 0, flags = 0;
        const bool volume = GetVolumeInformationA(root, label, sizeof label, &serial, &maxComponent, &flags, fileSystem,
                                                  sizeof fileSystem);
        if (volume) row[1] = label;
        const UINT type = GetDriveTypeA(root);
        switch (type) {
            case DRIVE_UNKNOWN: row[2] = "Unknown"; break;
            case DRIVE_NO_ROOT_DIR:
                row[2] = disconnected ? "Network" : "No Root Dir";
                row[3] = disconnected ? "Disconnected" : "";
                break;
            case DRIVE_REMOVABLE: row[2] = "Removable Disk", row[3] = "        "; break;
            case DRIVE_FIXED: {
                row[2] = "Local Disk";
                char target[1024] = {};
                if (QueryDosDeviceA(local, target, sizeof target) && std::string(target).rfind("\\??\\", 0) == 0) {
                    row[2] = "Subst";
                    row[3] = target + 4;
                } else if (External(letter)) {
                    row[3] = "External Drive";
                }
                break;
            }
            case DRIVE_REMOTE:
                row[2] = "Network Disk";
                row[3] = disconnected ? "Disconnected" : connection == NO_ERROR ? remote : "";
                break;
            case DRIVE_CDROM: row[2] = "CD / DVD Drive"; break;
            case DRIVE_RAMDISK: row[2] = "RAM Disk"; break;
            default: row[2] = "Error reading drive", row[3] = std::to_string(type); break;
        }
        ULARGE_INTEGER toCaller{}, total{}, totalFree{};
        bool notMounted = false;
        long double percent = 0;
        if (!disconnected) notMounted = !GetDiskFreeSpaceExA(root, &toCaller, &total, &totalFree);
        if (notMounted) {
            row[1] = "Not mounted";
        } else {
            const auto all = static_cast<long double>(total.QuadPart);
            const auto free = static_cast<long double>(toCaller.QuadPart);
            row[4] = Size(all, decimal);
            row[5] = Size(all - free, decimal);
            row[6] = Size(free, decimal);
            row[7] = Grouped(toCaller.QuadPart, thousand);
            if (volume) row[8] = fileSystem;
            if (total.QuadPart) percent = static_cast<long double>(toCaller.QuadPart) / total.QuadPart * 100;
        }
        if (volume && !notMounted) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            for (int shift = 28; shift >= 0; shift -= 4) {
                row[9] += kHex[(serial >> shift) & 0xF];
                if (shift == 16) row[9] += " - ";
            }
        }
        row[10] = Text(percent, 1, decimal);
        row[10] = std::string(row[10].size() < 8 ? 8 - row[10].size() : 0, ' ') + row[10] + "%";
        row[11] = policy && (hidden & (1u << (letter - 'A'))) ? "Hidden" : "Visible";
        const std::string identity = notMounted ? std::string(8, ' ') : Identity(letter);
        row[12] = identity.substr(0, 8);
        row[13] = identity.size() > 8 ? identity.substr(8, 16) : "";
        rows.push_back(row);
    }
    SetErrorMode(previousMode);
    return rows;
}

}  // namespace

int main(int argc, char** argv) {
    _control87(_PC_64, _MCW_PC);  // extended precision, as the program's sizes are computed
    int repeats = 5;
    if (argc > 1) std::from_chars(argv[1], argv[1] + std::string(argv[1]).size(), repeats);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    std::vector<long long> times;
    std::vector<Row> rows;
    for (int i = 0; i < std::max(repeats, 1); ++i) {
        QueryPerformanceCounter(&start);
        rows = Walk();
        QueryPerformanceCounter(&end);
        times.push_back((end.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart);
    }
    std::sort(times.begin(), times.end());
    std::cout << "refresh us " << times[times.size() / 2] << '\n'
              << "Drive\tLabel\tType\tAdditional Info\tSize\tUsed\tAvailable\tBytes Free\tFormat\tVolume "
                 "Serial\t% Free\tVisibility\tVendor\tProduct Id\n";
    for (const Row& row : rows) {
        for (size_t i = 0; i < row.size(); ++i) std::cout << (i ? "\t" : "") << row[i];
        std::cout << '\n';
    }
    return 0;
}
