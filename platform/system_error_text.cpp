#include "platform/system_error_text.h"

#include <array>

#include "platform/drive_names.h"

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

std::string ErrorText(Kernel& kernel, DWORD error) {
    std::string text = SystemErrorText(kernel, error);
    return text.empty() ? "error " + Decimal(error) : text;
}

}  // namespace tw::platform
