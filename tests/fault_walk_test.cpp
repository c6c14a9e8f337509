// Every platform call of the start-up refresh and of every command of the
// main window is made to fail in turn, the first call, then the second, and
// so on until the command gets through without one. Whatever fails, nothing
// escapes the window, nothing is left open, and a change that did not happen
// is reported as a failure, never as done.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

#include "app/main_components.h"
#include "app/tform1.h"
#include "test_support.h"

namespace {

using tw::BoxKind;
using tw::ModalResult;

// Commands that end the program are not walked.
constexpr tw::MainCommand kEndsProgram[] = {tw::MainCommand::FileClose, tw::MainCommand::Exit,
                                            tw::MainCommand::TrayExit, tw::MainCommand::ExitButton};

// What a window's edit fields are given when it is shown modally.
const std::pair<const char*, const char*> kFieldAnswers[] = {
    {"TFrmSubstDialog.Edit2", "T"},
    {"TFrmSubstDialog.Edit1", "C:\\work"},
};

// Says yes to every question and fills and confirms every modal window, with
// each of its check boxes ticked (a substitute drive with its start-up line).
struct AgreeingDialogs : twtest::RecordingDialogs {
    ModalResult MessageBox(const std::string& text, BoxKind kind, tw::Buttons buttons) override {
        boxes.push_back({text, kind, buttons});
        return buttons == tw::Buttons::YesNo ? ModalResult::Yes : ModalResult::OK;
    }
    ModalResult ShowModal(tw::FormLogic& form) override {
        shown.push_back(&form);
        for (const std::string& name : form.ComponentNames()) {
            const tw::Component& c = form.Get(name);
            if (c.kind == tw::ComponentKind::CheckBox) form.SetChecked(name, true);
            for (const auto& [field, text] : kFieldAnswers) {
                if (form.ClassName() + "." + name == field) form.SetText(name, text);
            }
        }
        return ModalResult::OK;
    }
};

const tw::sim::Machine& WalkMachine() {
    static const auto machine = tw::sim::Machine::FromFile(std::string(TW_TESTDATA_DIR) + "/fault-walk.json");
    return *machine;
}

// One run of a command with the k-th fallible call failing (0: none).
struct Outcome {
    bool escaped = false;
    int faults = 0;
    std::string leftOpen;
    std::vector<std::string> changes;
    std::vector<std::string> information;  // texts of the information boxes
    bool failureShown = false;
};

bool ShowsFailure(const AgreeingDialogs& d) {
    if (!d.errors.empty()) return true;
    return std::any_of(d.boxes.begin(), d.boxes.end(), [](const auto& b) {
        if (b.kind == BoxKind::Error || b.kind == BoxKind::Warning) return true;
        // The drive commands' own plain failure boxes ("Error", "Eject Failed: 21").
        return b.kind == BoxKind::Plain && (b.text == "Error" || b.text.find("Failed") != std::string::npos ||
                                            b.text.find("could not") != std::string::npos);
    });
}

std::string LeftOpen(const tw::sim::Machine& m) {
    std::string s;
    auto add = [&](int n, const char* what) {
        if (n) s += std::to_string(n) + " " + what + " ";
    };
    add(m.OpenHandleCount(), "handles");
    add(m.OpenKeyCount(), "keys");
    add(m.OpenSidCount(), "SIDs");
    add(m.OpenMciDeviceCount(), "MCI devices");
    return s;
}

// Changes whose outcome the window leaves to what it shows afterwards: a
// tray that closed or not, a substitute drive still in the refreshed list.
bool Unexamined(const std::vector<std::string>& changes) {
    return !changes.empty() && std::all_of(changes.begin(), changes.end(), [](const std::string& c) {
        return c.rfind("load ", 0) == 0 || c.rfind("remove ", 0) == 0;
    });
}

// Starts the window on a fresh machine, selects `row` (-1: none), then runs
// `action` with the k-th fallible call failing.
template <typename Action>
Outcome Run(int row, int k, Action action) {
    auto machine = WalkMachine().Clone();
    tw::Application app;
    twtest::RecordingView view;
    AgreeingDialogs dialogs;
    tw::TForm1 form(*machine, view, dialogs, app);
    Outcome out;
    const auto start = machine->Changes().size();
    if (row >= 0) {
        form.FormCreate();
        form.ApplicationEvents1Activate();
        form.Select(row);
        dialogs.boxes.clear();
        dialogs.errors.clear();
    }
    if (k > 0) {
        tw::sim::FaultRule any;
        any.nth = k;
        machine->AddFault(any);
    }
    try {
        action(form);
    } catch (...) {
        out.escaped = true;
    }
    out.faults = machine->FaultsFired();
    out.leftOpen = LeftOpen(*machine);
    out.changes.assign(machine->Changes().begin() + static_cast<std::ptrdiff_t>(start), machine->Changes().end());
    for (const auto& b : dialogs.boxes) {
        if (b.kind == BoxKind::Information) out.information.push_back(b.text);
    }
    out.failureShown = ShowsFailure(dialogs);
    return out;
}

// Walks k = 1, 2, ... and checks each run against the run without a fault;
// returns the number of runs with a fault.
template <typename Action>
int Walk(const std::string& what, int row, Action action) {
    const Outcome clean = Run(row, 0, action);
    EXPECT_FALSE(clean.escaped) << what;
    EXPECT_EQ(clean.leftOpen, "") << what;
    int k = 1;
    for (;; ++k) {
        const Outcome o = Run(row, k, action);
        if (o.faults == 0) break;
        const std::string at = what + ", call " + std::to_string(k) + " failing";
        EXPECT_FALSE(o.escaped) << at;
        EXPECT_EQ(o.leftOpen, "") << at;
        if (o.changes != clean.changes) {
            EXPECT_TRUE(o.failureShown || Unexamined(clean.changes))
                << at << ": the change did not happen and nothing said so";
            for (const std::string& done : clean.information) {
                EXPECT_EQ(std::count(o.information.begin(), o.information.end(), done), 0)
                    << at << ": \"" << done << "\" though the change did not happen";
            }
        }
        if (k > 5000 || ::testing::Test::HasFailure()) break;
    }
    return k - 1;
}

int RowCount() {
    auto machine = WalkMachine().Clone();
    tw::Application app;
    twtest::RecordingView view;
    AgreeingDialogs dialogs;
    tw::TForm1 form(*machine, view, dialogs, app);
    form.FormCreate();
    form.ApplicationEvents1Activate();
    return static_cast<int>(form.Rows().size());
}

TEST(FaultWalk, StartUpRefreshSurvivesEveryFailingCall) {
    const int points = Walk("start-up", -1, [](tw::TForm1& form) {
        form.FormCreate();
        form.ApplicationEvents1Activate();
    });
    EXPECT_GT(points, 20);
    std::cout << "start-up refresh: " << points << " failing calls walked\n";
}

TEST(FaultWalk, EveryCommandOnEveryDriveSurvivesEveryFailingCall) {
    const int rows = RowCount();
    ASSERT_EQ(rows, 4);
    int points = 0;
    int commands = 0;
    for (const auto& entry : tw::kMainCommands) {
        if (std::find(std::begin(kEndsProgram), std::end(kEndsProgram), entry.id) != std::end(kEndsProgram)) continue;
        ++commands;
        for (int row = 0; row < rows && !HasFailure(); ++row) {
            const std::string name(entry.name);
            points += Walk(name + " on row " + std::to_string(row), row, [&](tw::TForm1& form) { form.Click(name); });
        }
    }
    EXPECT_GT(commands, 50);
    std::cout << commands << " commands on " << rows << " drives: " << points << " failing calls walked\n";
}

}  // namespace
