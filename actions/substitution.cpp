#include "actions/substitution.h"

#include <array>

namespace tw::actions {

using namespace tw::platform;

std::string QuerySubstitution(Kernel& kernel, char letter) {
    const char device[3] = {letter, ':', 0};
    std::array<char, 256> target{};
    if (kernel.QueryDosDeviceA(device, target.data(), static_cast<DWORD>(target.size())) == 0) return {};
    target.back() = 0;
    const std::string mapping(target.data());
    if (mapping.rfind("\\??\\", 0) != 0) return {};
    return mapping.substr(4);
}

bool CreateSubstitution(Kernel& kernel, char letter, const std::string& path) {
    const char device[3] = {letter, ':', 0};
    return kernel.DefineDosDeviceA(0, device, path.c_str()) != FALSE;
}

bool RemoveSubstitution(Kernel& kernel, char letter) {
    const std::string target = QuerySubstitution(kernel, letter);
    if (target.empty()) return false;
    const char device[3] = {letter, ':', 0};
    return kernel.DefineDosDeviceA(DDD_REMOVE_DEFINITION, device, target.c_str()) != FALSE;
}

}  // namespace tw::actions
