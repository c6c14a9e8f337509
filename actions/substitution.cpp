#include "actions/substitution.h"

#include <vector>

#include "platform/drive_names.h"

namespace tw::actions {

using namespace tw::platform;

std::optional<std::string> QueryDevice(Kernel& kernel, char letter) {
    const std::string device = DriveName(letter);
    // A substitution of a long folder does not fit MAX_PATH: the buffer grows
    // until the target fits, up to the longest name the system keeps.
    constexpr DWORD kLongest = 65536;
    for (DWORD size = 256; size <= kLongest; size *= 2) {
        std::vector<char> target(size, 0);
        if (kernel.QueryDosDeviceA(device.c_str(), target.data(), size) != 0) {
            target.back() = 0;
            return std::string(target.data());
        }
        if (kernel.GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
    }
    return std::nullopt;
}

std::string QuerySubstitution(Kernel& kernel, char letter) {
    const std::string mapping = QueryDevice(kernel, letter).value_or("");
    if (mapping.rfind("\\??\\", 0) != 0) return {};
    return mapping.substr(4);
}

bool LetterInUse(Kernel& kernel, char letter) {
    if (kernel.GetLogicalDrives() & DriveBit(letter)) return true;
    return QueryDevice(kernel, letter).has_value();
}

bool FolderExists(Kernel& kernel, const std::string& path) {
    const DWORD attributes = kernel.GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateSubstitution(Kernel& kernel, char letter, const std::string& path) {
    return kernel.DefineDosDeviceA(0, DriveName(letter).c_str(), path.c_str()) != FALSE;
}

bool RemoveSubstitution(Kernel& kernel, char letter) {
    const std::string target = QuerySubstitution(kernel, letter);
    if (target.empty()) return false;
    return kernel.DefineDosDeviceA(DDD_REMOVE_DEFINITION, DriveName(letter).c_str(), target.c_str()) != FALSE;
}

}  // namespace tw::actions
