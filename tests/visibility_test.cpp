// The hidden-drive policy read from the simulated registry, the registry
// accessor's errors, and substitute-drive folders.
#include <gtest/gtest.h>

#include "actions/drive_visibility.h"
#include "actions/registry_accessor.h"
#include "actions/substitution.h"
#include "platform/app_error.h"
#include "test_support.h"

using namespace tw::actions;
using namespace tw::platform;

namespace {

const char* const kPolicyPath = "HKEY_CURRENT_USER\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\POLICIES\\EXPLORER";

// A machine whose policy key holds `values` (JSON), with extra key fields.
std::unique_ptr<tw::sim::Machine> PolicyMachine(const std::string& values, const std::string& keyFields = "") {
    return twtest::MachineFromText(
        R"({"registry": {"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer": {)" +
        keyFields + (keyFields.empty() ? "" : ", ") + R"("values": {)" + values + "}}}}");
}

}  // namespace

TEST(Visibility, ReadsTheNoDrivesPolicy) {
    const std::string dword16 = R"("NoDrives": {"type": "REG_DWORD", "data": 16})";
    const struct {
        const char* name;
        std::string values;
        std::string keyFields;
        char letter;
        int visibility;
    } cases[] = {
        {"bit set", dword16, "", 'E', kHidden},
        {"lower-case letter", dword16, "", 'e', kHidden},
        {"other bit", dword16, "", 'D', kVisible},
        {"no bits", R"("NoDrives": {"type": "REG_DWORD", "data": 0})", "", 'E', kVisible},
        {"every bit, not a letter", R"("NoDrives": {"type": "REG_DWORD", "data": 4294967295})", "", '@', kVisible},
        {"no value", "", "", 'E', kNoPolicy},
        {"value name in other case", R"("nodrives": {"type": "REG_DWORD", "data": 16})", "", 'E', kHidden},
        {"text value", R"("NoDrives": {"type": "REG_SZ", "data": "a"})", "", 'E', kNoPolicy},
        {"long text value", R"("NoDrives": {"type": "REG_SZ", "data": "16 and more"})", "", 'E', kNoPolicy},
        {"four binary bytes", R"("NoDrives": {"type": "REG_BINARY", "hex": "10000000"})", "", 'E', kNoPolicy},
        {"over-long binary", R"("NoDrives": {"type": "REG_BINARY", "hex": "1000000000"})", "", 'E', kNoPolicy},
        {"key can't be created", dword16, R"("create_error": "ERROR_ACCESS_DENIED")", 'E', kNoPolicy},
        {"key can't be written", dword16, R"("set_error": "ERROR_ACCESS_DENIED")", 'E', kHidden},
    };
    for (const auto& c : cases) {
        auto m = PolicyMachine(c.values, c.keyFields);
        EXPECT_EQ(GetDriveVisibility(m->registry(), c.letter), c.visibility) << c.name;
        EXPECT_EQ(m->OpenKeyCount(), 0) << c.name;
        EXPECT_TRUE(m->RegistryWrites().empty()) << c.name;
    }
}

TEST(Visibility, ParentKeyThatCannotBeCreated) {
    auto m = twtest::MachineFromText(
        R"({"registry": {"HKEY_CURRENT_USER\\Software\\Microsoft": {"create_error": "ERROR_ACCESS_DENIED"}}})");
    EXPECT_EQ(GetDriveVisibility(m->registry(), 'C'), kNoPolicy);
    EXPECT_EQ(m->OpenKeyCount(), 0);
    EXPECT_FALSE(m->RegistryKeys().count(kPolicyPath));
}

TEST(Visibility, AskingCreatesAMissingPolicyKey) {
    tw::sim::Machine m;
    EXPECT_EQ(GetDriveVisibility(m.registry(), 'C'), kNoPolicy);
    EXPECT_TRUE(m.RegistryKeys().count(kPolicyPath));
    EXPECT_EQ(m.CallCount(tw::sim::SimCall::RegCreateKeyExA), 1);
    EXPECT_EQ(m.CallCount(tw::sim::SimCall::RegCloseKey), 1);
    EXPECT_EQ(m.OpenKeyCount(), 0);
}

TEST(RegistryAccessor, ErrorTexts) {
    const auto messageOf = [](const std::function<void()>& f) -> std::string {
        try {
            f();
        } catch (const tw::AppError& e) {
            return e.what();
        }
        return "no error";
    };
    const struct {
        const char* name;
        std::string values;
        std::string keyFields;
        const char* readMessage;
    } cases[] = {
        {"missing value", "", "", "Failed to get data for 'NoDrives'"},
        {"short text", R"("NoDrives": {"type": "REG_SZ", "data": "abc"})", "", "Invalid data type for 'NoDrives'"},
        {"long text", R"("NoDrives": {"type": "REG_SZ", "data": "abcd"})", "", "Failed to get data for 'NoDrives'"},
        {"four binary bytes", R"("NoDrives": {"type": "REG_BINARY", "hex": "00000000"})", "",
         "Invalid data type for 'NoDrives'"},
    };
    for (const auto& c : cases) {
        auto m = PolicyMachine(c.values, c.keyFields);
        {
            RegistryAccessor reg(m->registry(), HKEY_CURRENT_USER);
            ASSERT_TRUE(reg.OpenKey(kPolicyKey)) << c.name;
            EXPECT_EQ(messageOf([&] { reg.ReadInteger(kNoDrives); }), c.readMessage) << c.name;
        }
        EXPECT_EQ(m->OpenKeyCount(), 0) << c.name;
    }

    auto m = PolicyMachine("", R"("set_error": "ERROR_ACCESS_DENIED")");
    RegistryAccessor reg(m->registry(), HKEY_CURRENT_USER);
    EXPECT_EQ(messageOf([&] { reg.WriteInteger(kNoDrives, 1); }), "Failed to set data for 'NoDrives'");
    EXPECT_EQ(messageOf([&] { reg.ReadInteger(kNoDrives); }), "Failed to get data for 'NoDrives'");
    ASSERT_TRUE(reg.OpenKey(kPolicyKey));
    EXPECT_EQ(messageOf([&] { reg.WriteInteger(kNoDrives, 1); }), "Failed to set data for 'NoDrives'");
    EXPECT_FALSE(m->RegistryValue(kPolicyPath, kNoDrives));
}

TEST(RegistryAccessor, WritesReadsAndClosesItsKey) {
    auto m = twtest::MachineFromText("{}");
    {
        RegistryAccessor reg(m->registry(), HKEY_CURRENT_USER);
        // With or without the leading backslash the path is taken from the root.
        ASSERT_TRUE(reg.OpenKey("Software\\Tarnwell"));
        ASSERT_TRUE(reg.OpenKey("\\Software\\Tarnwell"));
        EXPECT_EQ(m->OpenKeyCount(), 1);  // opening again closed the first key
        EXPECT_FALSE(reg.ValueExists("Mask"));
        reg.WriteInteger("Mask", 0x12345678);
        EXPECT_TRUE(reg.ValueExists("mask"));
        EXPECT_EQ(reg.ReadInteger("Mask"), 0x12345678u);
    }
    EXPECT_EQ(m->OpenKeyCount(), 0);
    const auto stored = m->RegistryValue("HKEY_CURRENT_USER\\Software\\Tarnwell", "Mask");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, REG_DWORD);
    EXPECT_EQ(stored->data, (std::vector<BYTE>{0x78, 0x56, 0x34, 0x12}));
}

TEST(Substitution, FolderBehindASubstitutedLetter) {
    tw::sim::Machine m;
    const auto add = [&](char letter, const std::string& device) {
        tw::sim::SimDrive& d = m.Drives()[letter];
        d.letter = letter;
        d.dosDevice = device;
    };
    // Targets longer than a path are read whole.
    const std::string longest = "C:\\" + std::string(2000, 'x');
    add('C', "\\Device\\HarddiskVolume2");
    add('S', "\\??\\C:\\work");
    add('T', "\\??\\" + longest);
    add('L', "\\??\\" + longest + "x");
    EXPECT_EQ(QuerySubstitution(m.kernel(), 'S'), "C:\\work");
    EXPECT_EQ(QuerySubstitution(m.kernel(), 's'), "C:\\work");
    EXPECT_EQ(QuerySubstitution(m.kernel(), 'C'), "");
    EXPECT_EQ(QuerySubstitution(m.kernel(), 'Q'), "");
    EXPECT_EQ(QuerySubstitution(m.kernel(), 'T'), longest);
    EXPECT_EQ(QuerySubstitution(m.kernel(), 'L'), longest + "x");
}
