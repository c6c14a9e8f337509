#include "actions/substitution.h"

#include <array>

namespace tw::actions {

std::string QuerySubstitution(platform::Kernel& kernel, char letter) {
    const char device[3] = {letter, ':', 0};
    std::array<char, 256> target{};
    if (kernel.QueryDosDeviceA(device, target.data(), static_cast<platform::DWORD>(target.size())) == 0) {
        return {};
    }
    target.back() = 0;
    const std::string mapping(target.data());
    if (mapping.rfind("\\??\\", 0) != 0) return {};
    return mapping.substr(4);
}

}  // namespace tw::actions
