// Hiding and revealing drive letters: the policy value written, the texts the
// commands show, and the registry keys closed on every path.
#include <gtest/gtest.h>

#include "actions/drive_hiding.h"
#include "app/tform1.h"
#include "platform/app_error.h"
#include "test_support.h"

namespace {

using tw::actions::PolicyChange;
constexpr const char* kKey = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr const char* kKeyInJson =
    R"(HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer)";

std::unique_ptr<tw::sim::Machine> WithPolicy(const std::string& values, const std::string& extra = "") {
    return twtest::MachineFromText(R"({"drives": {"C": {"volume": {"label": "Sys"}, "space": {"total": 10, "free": 5}},
        "D": {"volume": {"label": "Data"}, "space": {"total": 10, "free": 5}}},
        "registry": {")" + std::string(kKeyInJson) +
                                   R"(": {"values": {)" + values + "}" + extra + "}}}");
}

std::optional<std::uint32_t> NoDrives(const tw::sim::Machine& m) {
    auto v = m.RegistryValue(kKey, "NoDrives");
    if (!v) return std::nullopt;
    EXPECT_EQ(v->type, tw::platform::REG_DWORD);
    EXPECT_EQ(v->data.size(), 4u);
    return v->data[0] | v->data[1] << 8 | v->data[2] << 16 | static_cast<std::uint32_t>(v->data[3]) << 24;
}

std::string Dword(std::uint32_t v) { return R"("NoDrives": {"type": "REG_DWORD", "data": )" + std::to_string(v) + "}"; }

TEST(Hiding, ReadModifyWriteKeepsOtherBits) {
    struct Case {
        const char* values;  // the policy before
        char letter;
        bool hide;
        PolicyChange change;
        std::optional<std::uint32_t> after;
    };
    const std::string none = "";
    const Case cases[] = {
        {"", 'C', true, PolicyChange::Written, 0x4},
        {"4", 'D', true, PolicyChange::Written, 0xC},
        {"12", 'D', true, PolicyChange::Written, 0xC},  // written again though already set
        {"2147483649", 'B', true, PolicyChange::Written, 0x80000003},
        {"12", 'd', true, PolicyChange::Written, 0xC},
        {"12", 'D', false, PolicyChange::Written, 0x4},
        {"4", 'D', false, PolicyChange::Unchanged, 0x4},
        {"4", 'C', false, PolicyChange::Written, 0x0},  // the value stays, as 0
        {"", 'C', false, PolicyChange::Unchanged, std::nullopt},
        {"4", '1', true, PolicyChange::NotALetter, 0x4},
        {"4", '[', false, PolicyChange::NotALetter, 0x4},
    };
    for (const Case& c : cases) {
        auto m = WithPolicy(*c.values ? Dword(std::stoul(c.values)) : none);
        const size_t writesBefore = m->RegistryWrites().size();
        auto change = c.hide ? tw::actions::HideDrive(m->registry(), c.letter)
                             : tw::actions::UnhideDrive(m->registry(), c.letter);
        EXPECT_EQ(change, c.change) << c.values << ' ' << c.letter;
        EXPECT_EQ(NoDrives(*m), c.after) << c.values << ' ' << c.letter;
        EXPECT_EQ(m->RegistryWrites().size() - writesBefore, c.change == PolicyChange::Written ? 1u : 0u);
        EXPECT_EQ(m->OpenKeyCount(), 0);
    }
}

TEST(Hiding, CreatesTheKeyWhenMissing) {
    auto m = twtest::MachineFromText(R"({"drives": {"C": {}}})");
    EXPECT_EQ(tw::actions::HideDrive(m->registry(), 'C'), PolicyChange::Written);
    EXPECT_EQ(NoDrives(*m), 0x4u);
    EXPECT_EQ(m->OpenKeyCount(), 0);
}

TEST(Hiding, UnreadableOrUnwritablePolicyRaisesTheRegistryTexts) {
    struct Case {
        std::string values;
        std::string extra;
        const char* text;
    };
    const Case cases[] = {
        {R"("NoDrives": {"type": "REG_SZ", "data": "a"})", "", "Invalid data type for 'NoDrives'"},
        {R"("NoDrives": {"type": "REG_BINARY", "hex": "0100000000000000"})", "", "Failed to get data for 'NoDrives'"},
        {Dword(4), R"(, "set_error": "ERROR_ACCESS_DENIED")", "Failed to set data for 'NoDrives'"},
    };
    for (const Case& c : cases) {
        for (bool hide : {true, false}) {
            auto m = WithPolicy(c.values, c.extra);
            try {
                hide ? tw::actions::HideDrive(m->registry(), 'C') : tw::actions::UnhideDrive(m->registry(), 'C');
                ADD_FAILURE() << "no error for " << c.text;
            } catch (const tw::AppError& e) {
                EXPECT_EQ(std::string(e.what()), c.text);
            }
            EXPECT_TRUE(m->RegistryWrites().empty());
            EXPECT_EQ(m->OpenKeyCount(), 0) << c.text;
        }
    }
}

class HidingCommands : public ::testing::Test {
protected:
    void Open(std::unique_ptr<tw::sim::Machine> m) {
        machine_ = std::move(m);
        form_ = std::make_unique<tw::TForm1>(*machine_, view_, dialogs_, app_);
        form_->FormCreate();
        form_->Click("Refresh1");
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> t;
        for (const auto& b : dialogs_.boxes) t.push_back(b.text);
        return t;
    }

    std::unique_ptr<tw::sim::Machine> machine_;
    tw::Application app_;
    twtest::RecordingView view_;
    twtest::RecordingDialogs dialogs_;
    std::unique_ptr<tw::TForm1> form_;
};

TEST_F(HidingCommands, NothingSelectedWarns) {
    Open(WithPolicy(""));
    form_->Select(-1);
    for (const char* name : {"HideDrive1", "UnhideDrive1", "ToolButton5", "Hide2", "Reveal1"}) {
        dialogs_.boxes.clear();
        form_->Click(name);
        ASSERT_EQ(dialogs_.boxes.size(), 1u) << name;
        EXPECT_EQ(dialogs_.boxes[0].text, "You have not highlighted a drive!");
        EXPECT_EQ(dialogs_.boxes[0].kind, tw::BoxKind::Warning);
    }
    EXPECT_TRUE(machine_->RegistryWrites().empty());
}

TEST_F(HidingCommands, HideAsksFirstAndOnlyYesHides) {
    Open(WithPolicy(""));
    form_->Select(1);
    dialogs_.answers = {tw::ModalResult::No};
    form_->Click("ToolButton5");
    EXPECT_EQ(Texts(), std::vector<std::string>{"Are you Sure you want to hide drive D:"});
    EXPECT_FALSE(NoDrives(*machine_));
    dialogs_.answers = {tw::ModalResult::Yes};
    form_->Click("Hide2");
    ASSERT_EQ(dialogs_.boxes.size(), 3u);
    EXPECT_EQ(dialogs_.boxes[2].text,
              "Drive D: has now been hidden. You must restart windows for change to take effect. Note: Drive will "
              "still be visible in Tarnwell.");
    EXPECT_EQ(dialogs_.boxes[2].kind, tw::BoxKind::Information);
    EXPECT_EQ(NoDrives(*machine_), 0x8u);
    // The list shows the change at the next refresh, not before.
    EXPECT_EQ(form_->Rows()[1].cells[tw::inventory::kVisibility], "Visible");
    form_->Click("Refresh1");
    EXPECT_EQ(form_->Rows()[1].cells[tw::inventory::kVisibility], "Hidden");
}

TEST_F(HidingCommands, UnhideShowsItsTextEvenWithNothingToClear) {
    Open(WithPolicy(""));
    form_->Click("Reveal1");
    EXPECT_EQ(Texts(), std::vector<std::string>{
                           "Drive C: has now been Unhidden. You must restart windows for change to take effect."});
    EXPECT_TRUE(machine_->RegistryWrites().empty());
}

TEST_F(HidingCommands, UnhideFromTheDropDownRefreshesTheList) {
    Open(WithPolicy(Dword(0xC)));
    form_->Select(1);
    EXPECT_EQ(form_->Rows()[1].cells[tw::inventory::kVisibility], "Hidden");
    form_->Click("Unhide2");
    EXPECT_EQ(NoDrives(*machine_), 0x4u);
    EXPECT_EQ(form_->Rows()[1].cells[tw::inventory::kVisibility], "Visible");
    EXPECT_EQ(form_->Rows()[0].cells[tw::inventory::kVisibility], "Hidden");
}

TEST_F(HidingCommands, RegistryErrorsAreShownAndEndTheCommand) {
    Open(WithPolicy(R"("NoDrives": {"type": "REG_SZ", "data": "x"})"));
    dialogs_.answers = {tw::ModalResult::Yes};
    form_->Click("HideDrive1");
    EXPECT_EQ(dialogs_.errors, std::vector<std::string>{"Invalid data type for 'NoDrives'"});
    EXPECT_EQ(Texts(), std::vector<std::string>{"Are you Sure you want to hide drive C:"});
    const int refreshes = machine_->CallCount(tw::sim::SimCall::GetLogicalDrives);
    form_->Click("Unhide2");  // the error ends it before the refresh
    EXPECT_EQ(dialogs_.errors.size(), 2u);
    EXPECT_EQ(machine_->CallCount(tw::sim::SimCall::GetLogicalDrives), refreshes);
    EXPECT_EQ(machine_->OpenKeyCount(), 0);
}

TEST_F(HidingCommands, AKeyThatCannotBeOpenedIsNoSuccess) {
    Open(WithPolicy(Dword(0), R"(, "create_error": "ERROR_ACCESS_DENIED")"));
    dialogs_.answers = {tw::ModalResult::Yes};
    form_->Click("HideDrive1");
    form_->Click("UnhideDrive1");
    EXPECT_EQ(Texts(), std::vector<std::string>{"Are you Sure you want to hide drive C:"});
    ASSERT_EQ(dialogs_.errors.size(), 2u);
    EXPECT_NE(dialogs_.errors[0].find("could not be opened"), std::string::npos) << dialogs_.errors[0];
    EXPECT_TRUE(machine_->RegistryWrites().empty());
}

}  // namespace
