// Rights asked for when they are needed: whether the program runs elevated,
// the File menu's restart with an administrator's rights, and what the user
// sees when the prompt is declined or the start fails.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/elevation.h"
#include "app/tform1.h"
#include "test_support.h"

namespace {

using tw::MainCommand;

std::string Machine(const std::string& version, const std::string& administrator, const std::string& shell = "") {
    return R"({"drives": {"C": {"type": "DRIVE_FIXED"}}, "version": {"major": )" + version +
           R"(, "minor": 0, "build": 1, "platform_id": 2}, "token": {"administrator": )" + administrator + "}" + shell +
           "}";
}

class Elevation : public ::testing::Test {
protected:
    void Open(const std::string& machine, std::vector<std::string> args = {}) {
        machine_ = twtest::MachineFromText(machine);
        app_.args = std::move(args);
        form_ = std::make_unique<tw::TForm1>(*machine_, view_, dialogs_, app_);
        form_->FormCreate();
    }
    bool Offered() const { return form_->Get(MainCommand::FileRestartElevated).visible; }

    std::unique_ptr<tw::sim::Machine> machine_;
    tw::Application app_;
    twtest::RecordingView view_;
    twtest::RecordingDialogs dialogs_;
    std::unique_ptr<tw::TForm1> form_;
};

TEST_F(Elevation, TheRestartIsOfferedOnlyWhereRightsAreMissing) {
    const struct {
        const char* version;
        const char* administrator;
        bool offered;
    } cases[] = {
        {"10", "true", false},          // elevated
        {"10", "\"deny_only\"", true},  // an administrator under UAC, not elevated
        {"6", "false", true},           // an ordinary account
        {"5", "false", false},          // no elevation before Vista
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.version) + " " + c.administrator);
        Open(Machine(c.version, c.administrator));
        EXPECT_EQ(Offered(), c.offered);
    }
}

TEST_F(Elevation, RestartStartsTheSameProgramWithRunasAndCloses) {
    Open(Machine("10", "\"deny_only\""), {"/norefresh", "C:\\Tom & Jerry\\", "say \"hi\""});
    form_->Click(MainCommand::FileRestartElevated);
    ASSERT_EQ(machine_->ShellRequests().size(), 1u);
    const auto& r = machine_->ShellRequests().front();
    EXPECT_EQ(r.call, tw::sim::SimCall::ShellExecuteExA);
    EXPECT_EQ(r.verb, "runas");
    EXPECT_EQ(r.file, "C:\\Tarnwell\\tarnwell.exe");
    EXPECT_EQ(r.parameters, R"(/norefresh "C:\Tom & Jerry\\" "say \"hi\"")");
    EXPECT_EQ(view_.closed, 1);
    EXPECT_TRUE(dialogs_.boxes.empty());
}

TEST_F(Elevation, ADeclinedPromptChangesNothingAndAFailureSaysWhy) {
    const std::string declined = R"(, "shell": {"refuse": [{"call": "ShellExecuteExA", "error": "ERROR_CANCELLED"}]})";
    Open(Machine("10", "false", declined));
    form_->Click(MainCommand::FileRestartElevated);
    EXPECT_EQ(view_.closed, 0);
    EXPECT_TRUE(dialogs_.boxes.empty());

    const std::string refused =
        R"(, "shell": {"refuse": [{"call": "ShellExecuteExA", "error": "ERROR_FILE_NOT_FOUND"}]})";
    Open(Machine("10", "false", refused));
    form_->Click(MainCommand::FileRestartElevated);
    EXPECT_EQ(view_.closed, 0);
    ASSERT_EQ(dialogs_.boxes.size(), 1u);
    EXPECT_EQ(dialogs_.boxes[0].text, "Could not restart as administrator: The system cannot find the file specified.");
}

TEST_F(Elevation, WindowsThatNeedRightsSaySoAndRestartAsTheFileMenuDoes) {
    Open(Machine("10", "\"deny_only\""), {"/x"});
    tw::FormLogic* windows[] = {&form_->Smart(), &form_->DiskInfo(), &form_->OpticalInfo(), &form_->CheckDisk()};
    for (tw::FormLogic* window : windows) {
        SCOPED_TRACE(window->ClassName());
        const tw::Component& line = window->Get(tw::RightsControl::Line);
        EXPECT_TRUE(line.visible);
        EXPECT_EQ(line.text.rfind("Administrator rights are needed to ", 0), 0u) << line.text;
        EXPECT_TRUE(window->Get(tw::RightsControl::Restart).visible);
        EXPECT_TRUE(window->Get(tw::RightsControl::Restart).shield);
    }
    EXPECT_EQ(form_->Smart().Get(tw::RightsControl::Line).text,
              "Administrator rights are needed to read this disk's health");
    form_->Smart().Click(tw::RightsControl::Restart);
    ASSERT_EQ(machine_->ShellRequests().size(), 1u);
    EXPECT_EQ(machine_->ShellRequests()[0].verb, "runas");
    EXPECT_EQ(machine_->ShellRequests()[0].file, "C:\\Tarnwell\\tarnwell.exe");
    EXPECT_EQ(machine_->ShellRequests()[0].parameters, "/x");
    EXPECT_EQ(view_.closed, 1);

    // Elevated, or before Vista: nothing to ask for.
    for (const char* version : {"10", "5"}) {
        Open(Machine(version, "true"));
        for (tw::FormLogic* window :
             {static_cast<tw::FormLogic*>(&form_->Smart()), static_cast<tw::FormLogic*>(&form_->CheckDisk())}) {
            EXPECT_FALSE(window->Get(tw::RightsControl::Line).visible) << version;
            EXPECT_FALSE(window->Get(tw::RightsControl::Restart).visible) << version;
        }
    }
}

TEST(CommandLine, WordsSplitBackAsTheSystemSplitsThem) {
    EXPECT_EQ(tw::actions::CommandLineOf({}), "");
    EXPECT_EQ(tw::actions::CommandLineOf({"a", "", "b c"}), R"(a "" "b c")");
    EXPECT_EQ(tw::actions::CommandLineOf({"x\\\\y", "q\\\"z"}), R"(x\\y "q\\\"z")");
}

}  // namespace
