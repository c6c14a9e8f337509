// Drives the main window's logic from a script, one command a line:
//   activate | tick | select N | select none | click NAME | doubleclick | check NAME on|off
//   answer Yes|No|OK|Cancel | set NAME TEXT | list | # comment
// NAME may be qualified by its window's class: TFrmSubstDialog.CheckBox1.
#pragma once
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "app/tform1.h"
#include "cli/headless.h"
#include "cli/request_printer.h"

namespace tw::cli {

class ScriptRunner {
public:
    ScriptRunner(platform::Platform& platform, std::vector<std::string> programArgs, std::ostream& out);

    // Returns 0 when every line ran; otherwise prints "NAME:LINE: problem" to
    // `err` and returns 1.
    int Run(std::istream& script, const std::string& name, std::ostream& err);

private:
    // Throws std::invalid_argument with the problem of a bad line.
    void Execute(const std::string& line);
    std::vector<FormLogic*> AllForms();
    FormLogic* FormNamed(const std::string& className);

    std::ostream& out_;
    Application app_;
    PrintingPlatform platform_;
    HeadlessView view_;
    HeadlessDialogs dialogs_;
    TForm1 form_;
    FormLogic* focus_ = nullptr;  // the window a "set" last filled
};

}  // namespace tw::cli
