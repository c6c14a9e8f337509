// Drives the main window's logic from a script, one command a line:
//   activate | tick | select N | select none | click NAME | doubleclick | check NAME on|off
//   answer Yes|No|OK|Cancel | answer save PATH|cancel | set NAME TEXT | list
//   device arrival|removal | tick device | select all | clipboard | # comment
// NAME may be qualified by its window's class: TFrmSubstDialog.CheckBox1.
#pragma once
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "app/tform1.h"
#include "cli/headless.h"
#include "cli/request_printer.h"
#include "platform/sim/machine.h"

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
    // The simulated machine behind the run, or null on the real system.
    sim::Machine* Machine();
    // "[save] TITLE (NAME) -> PATH|Cancel" for each Save dialog not printed yet.
    void PrintSaveDialogs();

    platform::Platform& machinePlatform_;  // the machine itself, beneath the printing
    size_t saveDialogsShown_ = 0;

    std::ostream& out_;
    Application app_;
    PrintingPlatform platform_;
    HeadlessView view_;
    HeadlessDialogs dialogs_;
    TForm1 form_;
    FormLogic* focus_ = nullptr;  // the window a "set" last filled
};

}  // namespace tw::cli
