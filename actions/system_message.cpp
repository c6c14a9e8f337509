#include "actions/system_message.h"

#include <array>

#include "platform/drive_names.h"

namespace tw::actions {

using namespace tw::platform;

std::string SystemMessage(Kernel& kernel, DWORD error) {
    std::array<char, 1024> text{};
    const DWORD length = kernel.FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                               error, 0, text.data(), static_cast<DWORD>(text.size()), nullptr);
    std::string message(text.data(), length < text.size() ? length : 0);
    // The system ends its texts with a line break.
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    if (message.empty()) message = "System error " + Decimal(error) + ".";
    return message;
}

}  // namespace tw::actions
