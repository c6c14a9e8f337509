// The program's command line as the logic takes it: the arguments after the
// program name, in the ANSI code page.
#pragma once
#include <string>
#include <vector>

namespace tw::gui {

std::vector<std::string> CommandLineArguments();

}  // namespace tw::gui
