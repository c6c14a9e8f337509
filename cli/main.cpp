#include <iostream>

#include "cli/cli.h"
#include "platform/real_platform.h"

int main(int argc, char** argv) {
    tw::platform::RestrictLibrarySearch();
    const tw::platform::ConsoleUtf8 console;
    std::vector<std::string> args(argv + 1, argv + argc);
    return tw::cli::Run(args, std::cin, std::cout, std::cerr);
}
