#include "platform/system_error_text.h"

#include <array>

namespace tw::platform {

std::string SystemErrorText(Kernel& kernel, DWORD error) {
    std::array<char, 1024> text{};
    const DWORD length = kernel.FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                               error, 0, text.data(), static_cast<DWORD>(text.size()), nullptr);
    std::string message(text.data(), length < text.size() ? length : 0);
    while (!message.empty()) {
        const char last = message.back();
        if (last != ' ' && last != '\r' && last != '\n' && last != '.') break;
        message.pop_back();
    }
    return message;
}

}  // namespace tw::platform
