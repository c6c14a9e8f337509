#include "gui/win32/command_line.h"

#include <cstdlib>

namespace tw::gui {

std::vector<std::string> CommandLineArguments() {
    // As the C runtime split the command line before WinMain, by the rules
    // the system's own splitter follows; asking the shell to split it again
    // would load the shell before the list is on screen.
    std::vector<std::string> args;
    for (int i = 1; i < __argc && __argv; ++i) args.emplace_back(__argv[i] ? __argv[i] : "");
    return args;
}

}  // namespace tw::gui
