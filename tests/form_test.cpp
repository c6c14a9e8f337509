// The main window's behaviour: start-up sizes, when the list refreshes, the
// selection and scroll carried across a refresh, the option toggles and their
// check-box mirrors, and what the window does with its private messages.
#include <gtest/gtest.h>

#include <set>
#include <string_view>

#include "app/tform1.h"
#include "test_support.h"

namespace {

class Form : public ::testing::Test {
protected:
    void Open(const std::string& machine = "workstation.json", std::vector<std::string> args = {}) {
        machine_ = twtest::ExampleMachine(machine);
        app_.args = std::move(args);
        form_ = std::make_unique<tw::TForm1>(*machine_, view_, dialogs_, app_);
        form_->FormCreate();
    }

    std::string Captions() const {
        std::string s;
        for (const auto& r : form_->Rows()) s += r.caption;
        return s;
    }
    int Refreshes() const { return machine_->CallCount(tw::sim::SimCall::GetLogicalDrives); }

    std::unique_ptr<tw::sim::Machine> machine_;
    tw::Application app_;
    twtest::RecordingView view_;
    twtest::RecordingDialogs dialogs_;
    std::unique_ptr<tw::TForm1> form_;
};

TEST_F(Form, WindowWidthFollowsTheScreen) {
    for (auto [screen, width] : {std::pair{1280, 1250}, {1251, 1250}, {1250, 800}, {1024, 800}}) {
        view_ = {};
        view_.screenWidth = screen;
        Open();
        EXPECT_EQ(view_.windowWidths.back(), width) << screen;
        EXPECT_EQ(view_.toolBarWidth, 698);
    }
    EXPECT_TRUE(form_->SkipAB());
    EXPECT_TRUE(view_.listBold);
}

TEST_F(Form, ActivationRefreshesEveryTime) {
    Open();
    EXPECT_TRUE(form_->Rows().empty());
    form_->ApplicationEvents1Activate();
    EXPECT_EQ(Captions(), "C: D: E: F: G: H: R: S: ");
    form_->ApplicationEvents1Activate();
    EXPECT_EQ(Refreshes(), 2);
    EXPECT_FALSE(app_.refreshBusy);
}

TEST_F(Form, NoRefreshArgumentStopsActivationRefreshesOnly) {
    for (const char* arg : {"/norefresh", "/NOREFRESH", "/NoReFresh"}) {
        Open("workstation.json", {arg});
        form_->ApplicationEvents1Activate();
        EXPECT_TRUE(form_->Rows().empty()) << arg;
        form_->Timer1Timer();
        EXPECT_EQ(form_->Rows().size(), 8u) << arg;
    }
    Open("workstation.json", {"/norefresh-not"});
    form_->ApplicationEvents1Activate();
    EXPECT_EQ(Refreshes(), 1);
}

TEST_F(Form, TimerSkipsATickWhileARefreshRuns) {
    Open();
    int nestedTicks = 0;
    view_.onLock = [&] {
        ++nestedTicks;
        form_->Timer1Timer();  // a tick delivered while the list is being rebuilt
    };
    form_->Timer1Timer();
    EXPECT_EQ(nestedTicks, 1);
    EXPECT_EQ(Refreshes(), 1);
    view_.onLock = nullptr;
    app_.refreshBusy = true;
    form_->Timer1Timer();
    EXPECT_EQ(Refreshes(), 1);
    app_.refreshBusy = false;
    form_->Timer1Timer();
    EXPECT_EQ(Refreshes(), 2);
}

// The drive-ready wait pumps messages: what the user starts there waits for
// the running refresh and runs once after it, so every drive has one row
// and the filter the user set holds.
TEST_F(Form, ARefreshAskedForDuringARefreshRunsOnceAfterIt) {
    struct Case {
        const char* source;
        std::function<void(tw::TForm1&)> ask;
        const char* rows;
    };
    const Case cases[] = {
        {"activation", [](tw::TForm1& f) { f.ApplicationEvents1Activate(); }, "C: E: F: "},
        {"F5", [](tw::TForm1& f) { f.Click("Refresh2"); }, "C: E: F: "},
        {"a filter box", [](tw::TForm1& f) { f.SetChecked("CheckBox1", false); }, "E: "},
    };
    for (const Case& c : cases) {
        Open("dvd-workstation.json");
        bool asked = false;
        view_.onPump = [&] {
            if (asked) return;
            asked = true;
            c.ask(*form_);
            EXPECT_TRUE(app_.refreshBusy) << c.source << ": the running refresh keeps its flag";
        };
        form_->Click("Refresh1");
        view_.onPump = nullptr;
        EXPECT_TRUE(asked) << c.source;
        EXPECT_EQ(Captions(), c.rows) << c.source;
        EXPECT_EQ(Refreshes(), 2) << c.source;
        EXPECT_FALSE(app_.refreshBusy) << c.source;
        EXPECT_TRUE(dialogs_.errors.empty()) << c.source;
    }
}

TEST_F(Form, RefreshShowsTheBusyLabelAndCleansUp) {
    Open();
    bool busyDuring = false, labelDuring = false;
    view_.onLock = [&] {
        busyDuring = app_.refreshBusy;
        labelDuring = view_.busyLabel;
    };
    form_->Click("Refresh1");
    EXPECT_TRUE(busyDuring);
    EXPECT_TRUE(labelDuring);
    EXPECT_FALSE(app_.refreshBusy);
    EXPECT_FALSE(view_.busyLabel);
    EXPECT_FALSE(view_.locked);
    EXPECT_EQ(view_.updateDepth, 0);
    EXPECT_EQ(view_.messagePumps, 1);
}

TEST_F(Form, ARefreshThatRaisesStillCleansUpAndShowsTheError) {
    machine_ = twtest::MachineFromText(R"({"drives": {
        "C": {"volume": {"label": "Sys"}, "space": {"total": 10, "free": 1}},
        "D": {"raises": {"GetVolumeInformationA": "The device is not ready"}}}})");
    form_ = std::make_unique<tw::TForm1>(*machine_, view_, dialogs_, app_);
    form_->FormCreate();
    form_->Click("Refresh1");
    ASSERT_EQ(dialogs_.errors, std::vector<std::string>{"The device is not ready"});
    EXPECT_FALSE(app_.refreshBusy);
    EXPECT_FALSE(view_.busyLabel);
    EXPECT_FALSE(view_.locked);
    EXPECT_EQ(view_.updateDepth, 0);
    EXPECT_EQ(machine_->CurrentErrorMode(), 0u);
    EXPECT_EQ(machine_->OpenKeyCount(), 0);
    EXPECT_EQ(view_.messagePumps, 1);
    // The timer is not held off by the failed refresh.
    form_->Timer1Timer();
    EXPECT_EQ(machine_->CallCount(tw::sim::SimCall::GetLogicalDrives), 2);
}

TEST_F(Form, SelectionFollowsThePositionAcrossARefresh) {
    Open();
    form_->Click("Refresh1");
    EXPECT_EQ(form_->Selected(), 0);  // nothing selected counts as row 0
    form_->Select(2);
    view_.scrollPos = 140;
    // Dropping the optical drive moves another drive into row 2.
    form_->Click("CheckBox2");
    EXPECT_EQ(form_->Selected(), 2);
    EXPECT_EQ(form_->Rows()[2].caption, "F: ");
    EXPECT_EQ(view_.scrollPos, 140);
    // Beyond the end of a shorter list the last row is selected.
    form_->Select(6);
    form_->Click("CheckBox1");
    EXPECT_EQ(Captions(), "E: G: H: R: ");
    EXPECT_EQ(form_->Selected(), 3);
}

TEST_F(Form, FilterBoxesRefreshAtOnceExceptDisconnected) {
    Open();
    form_->Click("Refresh1");
    form_->SetChecked("CheckBox4", false);
    EXPECT_EQ(Refreshes(), 2);
    EXPECT_EQ(Captions(), "C: D: E: F: H: R: S: ");
    form_->SetChecked("CheckBox8", false);
    EXPECT_EQ(Refreshes(), 2);
    EXPECT_EQ(Captions(), "C: D: E: F: H: R: S: ");
    form_->Timer1Timer();
    EXPECT_EQ(Captions(), "C: D: E: F: R: S: ");
    // Setting a box to the state it has is no click.
    form_->SetChecked("CheckBox4", false);
    EXPECT_EQ(Refreshes(), 3);
}

TEST_F(Form, AutoRefreshToggleAndItsCheckBoxStayInStep) {
    Open();
    EXPECT_TRUE(view_.timerEnabled);
    form_->Click("AutoRefresh1");
    EXPECT_FALSE(form_->Get("AutoRefresh1").checked);
    EXPECT_FALSE(form_->Get("CheckBox6").checked);
    EXPECT_FALSE(view_.timerEnabled);
    form_->Timer1Timer();
    EXPECT_EQ(Refreshes(), 0);
    form_->Click("CheckBox6");
    EXPECT_TRUE(form_->Get("AutoRefresh1").checked);
    EXPECT_TRUE(view_.timerEnabled);
    form_->Timer1Timer();
    EXPECT_EQ(Refreshes(), 1);
}

TEST_F(Form, StayOnTopBoldAndSkipAB) {
    Open();
    form_->Click("Stayontop2");
    EXPECT_TRUE(view_.stayOnTop);
    EXPECT_TRUE(form_->Get("CheckBox7").checked);
    form_->Click("CheckBox7");
    EXPECT_FALSE(view_.stayOnTop);
    EXPECT_FALSE(form_->Get("Stayontop2").checked);
    form_->Click("Bold1");
    EXPECT_FALSE(view_.listBold);
    EXPECT_FALSE(form_->Get("Bold1").checked);
    form_->Click("SkipAandBdrives1");
    EXPECT_FALSE(form_->SkipAB());
    EXPECT_TRUE(form_->Rows().empty());  // takes effect at the next refresh
    form_->Click("Refresh2");
    EXPECT_EQ(form_->Rows().front().caption, "A: ");
}

TEST_F(Form, TheToolbarMenusTogglesShowTheViewMenusMarks) {
    Open();
    const struct {
        const char* entry;
        const char* toggle;
    } pairs[] = {{"StayonTop3", "Stayontop2"},
                 {"AutoRefresh2", "AutoRefresh1"},
                 {"Bold2", "Bold1"},
                 {"SkipAandBdrives2", "SkipAandBdrives1"}};
    for (const auto& p : pairs) {
        SCOPED_TRACE(p.entry);
        for (int click = 0; click < 2; ++click) {
            EXPECT_EQ(form_->ShowsMark(form_->Get(p.entry)), form_->Get(p.toggle).checked);
            form_->Click(p.entry);
        }
    }
    EXPECT_TRUE(form_->ShowsMark(form_->Get("AutoRefresh2")));  // on at start, clicked twice
}

TEST_F(Form, WindowCommands) {
    Open();
    form_->Click("Minimize1");
    form_->Click("Minimize2");
    EXPECT_EQ(view_.minimized, 2);
    form_->Click("Hide1");
    EXPECT_FALSE(view_.visible);
    form_->Click("Restore1");
    EXPECT_TRUE(view_.visible);
    for (const char* exit : {"Exit1", "Exit2", "ToolButton12"}) form_->Click(exit);
    EXPECT_EQ(view_.closed, 3);
}

TEST_F(Form, ForwardersBehaveLikeTheirTarget) {
    Open();
    form_->Click("ToolButton1");
    form_->Click("Refresh2");
    EXPECT_EQ(Refreshes(), 2);
    EXPECT_THROW(form_->Click("NoSuchButton"), tw::UnknownComponent);
}

TEST_F(Form, TrayRightClickPopsTheTrayMenu) {
    Open();
    EXPECT_FALSE(form_->WndProc(tw::kTrayCallbackMessage, 0, tw::kTrayRightButtonDown).has_value());
    EXPECT_EQ(view_.trayMenus, 1);
    form_->WndProc(tw::kTrayCallbackMessage, 0, 513);  // left button: nothing
    form_->WndProc(0x0400, 0, tw::kTrayRightButtonDown);
    EXPECT_EQ(view_.trayMenus, 1);
    for (unsigned message : {0xAFFDu, 0xAFFEu, 0xAFFFu}) {
        EXPECT_EQ(form_->WndProc(message, 0, 0), std::optional<std::intptr_t>(0));
    }
}

TEST_F(Form, CommandSurfaceHasEveryListMenuEntryInOrder) {
    Open();
    std::vector<std::string> visible;
    for (const auto& name : twtest::NamesOf(*form_)) {
        const tw::Component& c = *form_->Find(name);
        if (c.parent == tw::KeyOf(tw::MainMenu::ListPopup) && c.visible) visible.push_back(c.caption);
    }
    const std::vector<std::string> expected{"Refresh",
                                            "Explorer",
                                            "Load Media",
                                            "Eject Media",
                                            "Lock CD Door",
                                            "Unlock CD Door",
                                            "Hide Selected Drive",
                                            "Unhide Selected Drive",
                                            "Map Network Drive",
                                            "Disconnect Network Drive",
                                            "Search Drives",
                                            "Create Substitute Drive",
                                            "Remove Substitute Drive",
                                            "Properties",
                                            "About",
                                            "Minimize",
                                            "Exit"};
    EXPECT_EQ(visible, expected);
    EXPECT_EQ(form_->Get("ToolButton3").hint, "Open / Eject Highlighted CD/DVD/Zip drive.");
}

}  // namespace

namespace {

// The typed identifiers and the window's declarations must not drift apart:
// every identifier names a declared component of the right kind, and every
// declared component has an identifier.
TEST_F(Form, EveryComponentHasExactlyOneTypedIdentifier) {
    Open();
    std::set<std::string> named;
    auto expectDeclared = [&](std::string_view name, bool checkBox) {
        const tw::Component* c = form_->Find(std::string(name));
        ASSERT_NE(c, nullptr) << name;
        EXPECT_EQ(c->kind == tw::ComponentKind::CheckBox, checkBox) << name;
        EXPECT_TRUE(named.insert(std::string(name)).second) << name << " has two identifiers";
    };
    for (const auto& e : tw::kMainCommands) expectDeclared(e.name, false);
    for (const auto& e : tw::kMainOptions) {
        expectDeclared(e.name, e.name.substr(0, 8) == "CheckBox");
    }
    EXPECT_EQ(named.size(), form_->ComponentCount());
    for (const std::string& name : twtest::NamesOf(*form_)) {
        const tw::ComponentKey parent = form_->Find(name)->parent;
        bool known = false;
        for (const auto& e : tw::kMainMenus) known = known || parent == tw::KeyOf(e.id);
        EXPECT_TRUE(known) << name << " sits in an unknown menu";
    }
}

}  // namespace
