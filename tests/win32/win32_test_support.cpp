#include "win32_test_support.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace tw::win32_test {

std::vector<char> SystemLetters() {
    const ::DWORD mask = ::GetLogicalDrives();
    std::vector<char> letters;
    for (char c = 'C'; c <= 'Z'; ++c) {
        if (mask & (1u << (c - 'A'))) letters.push_back(c);
    }
    return letters;
}

char UnusedLetter() {
    const ::DWORD mask = ::GetLogicalDrives();
    for (char c = 'Y'; c >= 'D'; --c) {
        if (!(mask & (1u << (c - 'A')))) return c;
    }
    return 0;
}

DirectVolume QueryVolume(char letter) {
    std::array<char, MAX_PATH + 1> label{};
    std::array<char, MAX_PATH + 1> fileSystem{};
    ::DWORD serial = 0, maxComponent = 0, flags = 0;
    DirectVolume v;
    v.ok = ::GetVolumeInformationA(RootPath(letter).c_str(), label.data(), static_cast<::DWORD>(label.size()), &serial,
                                   &maxComponent, &flags, fileSystem.data(),
                                   static_cast<::DWORD>(fileSystem.size())) != FALSE;
    if (v.ok) {
        v.label = label.data();
        v.fileSystem = fileSystem.data();
        v.serial = serial;
    }
    return v;
}

DirectSpace QuerySpace(char letter) {
    ULARGE_INTEGER freeToCaller{}, total{}, totalFree{};
    DirectSpace s;
    s.ok = ::GetDiskFreeSpaceExA(RootPath(letter).c_str(), &freeToCaller, &total, &totalFree) != FALSE;
    if (s.ok) {
        s.freeToCaller = freeToCaller.QuadPart;
        s.total = total.QuadPart;
    }
    return s;
}

std::string LocaleString(::LCTYPE type) {
    std::array<char, 16> buffer{};
    const int n = ::GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer.data(), static_cast<int>(buffer.size()));
    return n > 0 ? std::string(buffer.data()) : std::string();
}

std::string SerialAsListed(::DWORD serial) {
    char text[16];
    std::snprintf(text, sizeof text, "%04X - %04X", static_cast<unsigned>(serial >> 16),
                  static_cast<unsigned>(serial & 0xFFFF));
    return text;
}

std::string KindTextOf(::UINT driveType) {
    switch (driveType) {
        case DRIVE_UNKNOWN: return "Unknown";
        case DRIVE_NO_ROOT_DIR: return "No Root Dir";
        case DRIVE_REMOVABLE: return "Removable Disk";
        case DRIVE_FIXED: return "Local Disk";
        case DRIVE_REMOTE: return "Network Disk";
        case DRIVE_CDROM: return "CD / DVD Drive";
        case DRIVE_RAMDISK: return "RAM Disk";
        default: return "Error reading drive";
    }
}

namespace {

bool AllDigits(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

}  // namespace

std::optional<double> ParseSizeText(const std::string& text, const std::string& decimal) {
    double unit = 0;
    std::string number;
    if (text.size() > 3 && text.compare(text.size() - 3, 3, " GB") == 0) {
        unit = 1024.0 * 1024 * 1024;
    } else if (text.size() > 3 && text.compare(text.size() - 3, 3, " MB") == 0) {
        unit = 1024.0 * 1024;
    } else {
        return std::nullopt;
    }
    number = text.substr(0, text.size() - 3);
    const size_t firstDigit = number.find_first_not_of(' ');
    if (firstDigit == std::string::npos) return std::nullopt;
    number.erase(0, firstDigit);
    // Two decimals after the locale's separator.
    const size_t sep = number.rfind(decimal);
    if (decimal.empty() || sep == std::string::npos) return std::nullopt;
    const std::string whole = number.substr(0, sep);
    const std::string fraction = number.substr(sep + decimal.size());
    if (!AllDigits(whole) || !AllDigits(fraction) || fraction.size() != 2) return std::nullopt;
    return std::strtod((whole + "." + fraction).c_str(), nullptr) * unit;
}

std::optional<std::uint64_t> ParseGrouped(const std::string& text, const std::string& thousand) {
    std::vector<std::string> groups;
    if (thousand.empty()) {
        groups.push_back(text);
    } else {
        size_t start = 0;
        for (size_t at; (at = text.find(thousand, start)) != std::string::npos; start = at + thousand.size()) {
            groups.push_back(text.substr(start, at - start));
        }
        groups.push_back(text.substr(start));
    }
    std::string digits;
    for (size_t i = 0; i < groups.size(); ++i) {
        const std::string& g = groups[i];
        if (!AllDigits(g)) return std::nullopt;
        if (!thousand.empty() && (i == 0 ? g.size() > 3 : g.size() != 3)) return std::nullopt;
        digits += g;
    }
    return std::strtoull(digits.c_str(), nullptr, 10);
}

const inventory::DriveRow* FindRow(const std::vector<inventory::DriveRow>& rows, char letter) {
    for (const auto& row : rows) {
        if (row.Letter() == letter) return &row;
    }
    return nullptr;
}

bool KeyExists(const char* path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

PolicyGuard::PolicyGuard() {
    policiesExisted_ = KeyExists(kPoliciesKey);
    explorerExisted_ = KeyExists(kExplorerPolicyKey);
    if (!explorerExisted_) return;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kExplorerPolicyKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    ::DWORD size = 0;
    if (::RegQueryValueExA(key, actions::kNoDrives, nullptr, &valueType_, nullptr, &size) == ERROR_SUCCESS) {
        valueData_.resize(size);
        if (::RegQueryValueExA(key, actions::kNoDrives, nullptr, &valueType_, valueData_.data(), &size) ==
            ERROR_SUCCESS) {
            valueData_.resize(size);
            valueExisted_ = true;
            ::RegDeleteValueA(key, actions::kNoDrives);
        }
    }
    ::RegCloseKey(key);
}

PolicyGuard::~PolicyGuard() {
    if (explorerExisted_) {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kExplorerPolicyKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
            if (valueExisted_) {
                ::RegSetValueExA(key, actions::kNoDrives, 0, valueType_, valueData_.data(),
                                 static_cast<::DWORD>(valueData_.size()));
            } else {
                ::RegDeleteValueA(key, actions::kNoDrives);
            }
            ::RegCloseKey(key);
        }
        return;
    }
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kExplorerPolicyKey);
    if (!policiesExisted_) ::RegDeleteTreeA(HKEY_CURRENT_USER, kPoliciesKey);
}

void PolicyGuard::SetNoDrives(::DWORD type, const void* data, ::DWORD size) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kExplorerPolicyKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                          nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    ::RegSetValueExA(key, actions::kNoDrives, 0, type, static_cast<const BYTE*>(data), size);
    ::RegCloseKey(key);
}

DosDeviceGuard::DosDeviceGuard(const std::string& target) : target_(target) {
    const char letter = UnusedLetter();
    if (letter == 0) return;
    if (::DefineDosDeviceA(0, DriveName(letter).c_str(), target_.c_str())) letter_ = letter;
}

DosDeviceGuard::~DosDeviceGuard() {
    if (letter_ == 0) return;
    ::DefineDosDeviceA(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, DriveName(letter_).c_str(), target_.c_str());
}

}  // namespace tw::win32_test
