#include "gui/win32/command_line.h"

#include "gui/win32/win_headers.h"

namespace tw::gui {

std::vector<std::string> CommandLineArguments() {
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv) return args;
    for (int i = 1; i < count; ++i) {
        const int size = WideCharToMultiByte(CP_ACP, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(size > 0 ? static_cast<size_t>(size) : 1u, '\0');
        if (size > 0) WideCharToMultiByte(CP_ACP, 0, argv[i], -1, arg.data(), size, nullptr, nullptr);
        arg.resize(arg.find('\0'));
        args.push_back(std::move(arg));
    }
    LocalFree(argv);
    return args;
}

}  // namespace tw::gui
