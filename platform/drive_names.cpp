#include "platform/drive_names.h"

namespace tw::platform {

std::optional<char> ParseDriveLetter(std::string_view text) {
    if (text.empty() || text.size() > 3) return std::nullopt;
    if (text.size() >= 2 && text[1] != ':') return std::nullopt;
    if (text.size() == 3 && text[2] != '\\') return std::nullopt;
    return LeadingDriveLetter(text);
}

std::optional<char> LeadingDriveLetter(std::string_view caption) {
    const char letter = caption.empty() ? 0 : AsDriveLetter(caption[0]);
    if (letter == 0) return std::nullopt;
    return letter;
}

std::string DriveName(char letter) { return {letter, ':'}; }

std::string RootPath(char letter) { return {letter, ':', '\\'}; }

std::string VolumeDevicePath(char letter) { return "\\\\.\\" + DriveName(letter); }

std::string PhysicalDrivePath(std::int64_t number) { return "\\\\.\\PhysicalDrive" + Decimal(number); }

}  // namespace tw::platform
