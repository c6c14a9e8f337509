// How every layer names drives and disks: a drive letter, its bit in a drive
// mask, the letter a user typed, the paths of a drive ("E:", "E:\", "\\.\E:")
// and of a physical disk, and the decimal text of a number. The builders keep
// the letter as given; only the parsers fold it to upper case.
#pragma once
#include <array>
#include <charconv>
#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/win_types.h"

namespace tw::platform {

// 'A'..'Z' for a letter of either case, 0 for any other character.
constexpr char AsDriveLetter(char c) {
    if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
    return c >= 'A' && c <= 'Z' ? c : 0;
}

constexpr bool IsDriveLetter(char c) { return AsDriveLetter(c) != 0; }

// The letter's bit in GetLogicalDrives' mask and the NoDrives policy (A is
// bit 0), either case; 0 for a character that is no letter.
constexpr DWORD DriveBit(char letter) {
    const char upper = AsDriveLetter(letter);
    return upper ? DWORD{1} << (upper - 'A') : 0;
}

// A drive as the command line takes it: "E", "e", "E:" or "E:\" (upper-case
// on return); nothing else names one.
std::optional<char> ParseDriveLetter(std::string_view text);

// The letter a caption begins with, such as a drive chooser's "e: [DATA]"
// (upper-case on return); none when it begins otherwise or is empty.
std::optional<char> LeadingDriveLetter(std::string_view caption);

// "E:": the drive as DefineDosDevice, WNetGetConnection or the shell take it.
std::string DriveName(char letter);
// "E:\": the drive's root folder.
std::string RootPath(char letter);
// "\\.\E:": the volume device, for CreateFile and device requests.
std::string VolumeDevicePath(char letter);
// "\\.\PhysicalDrive0": a disk of the NT family by its number.
std::string PhysicalDrivePath(std::int64_t number);
// The S.M.A.R.T. driver of the 9x family, which serves every IDE disk.
inline constexpr const char* kSmartVsdPath = "\\\\.\\SMARTVSD";

// The decimal digits of `n`, '-' first when negative; never locale-dependent,
// so both builds print a number alike.
template <std::integral Number>
std::string Decimal(Number n) {
    std::array<char, 24> digits{};  // 20 digits and a sign hold any 64-bit value
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), n).ptr;
    return std::string(digits.data(), end);
}

}  // namespace tw::platform
