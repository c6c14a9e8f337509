// Program-wide state: the command line and the refresh hold-off flag that
// keeps the timer from starting a refresh while one runs.
#pragma once
#include <string>
#include <vector>

namespace tw {

struct Application {
    std::vector<std::string> args;  // without the program name
    bool refreshBusy = false;

    std::string ParamStr1() const { return args.empty() ? std::string() : args.front(); }
};

}  // namespace tw
