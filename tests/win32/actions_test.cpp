// The program's commands against the real system (Wine on the development
// machines): hiding letters through the per-user drive policy, substitute
// drives through the device-name service, and the start-up file. Every test
// puts back what it changed: the policy through PolicyGuard, device names and
// files through guards of its own.
//
// Project headers first: <windows.h> (pulled in by win32_test_support.h) turns
// names such as MessageBox into macros.
#include "../test_support.h"
#include "actions/drive_hiding.h"
#include "actions/logon_entry.h"
#include "actions/startup_file.h"
#include "actions/text_output.h"
#include "app/tform1.h"
#include "platform/app_error.h"
#include "win32_test_support.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tw::win32_test {
namespace {

using actions::PolicyChange;
using inventory::DriveRow;
using tw::platform::win32::Win32Kernel;
using tw::platform::win32::Win32Platform;
namespace tp = tw::platform;

// ---- Direct looks at the policy value ----

struct RawValue {
    ::DWORD type = 0;
    std::vector<BYTE> data;
    bool operator==(const RawValue&) const = default;
};

// NoDrives as it is stored, read without the program; nullopt when the key or
// the value is missing.
std::optional<RawValue> ReadRawNoDrives() {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kExplorerPolicyKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    RawValue value;
    ::DWORD size = 0;
    std::optional<RawValue> result;
    if (::RegQueryValueExA(key, actions::kNoDrives, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.data.resize(size);
        if (::RegQueryValueExA(key, actions::kNoDrives, nullptr, &value.type, value.data.data(), &size) ==
            ERROR_SUCCESS) {
            value.data.resize(size);
            result = value;
        }
    }
    ::RegCloseKey(key);
    return result;
}

RawValue Dword(::DWORD v) {
    return {REG_DWORD,
            {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16), static_cast<BYTE>(v >> 24)}};
}

std::string Describe(const std::optional<RawValue>& v) {
    if (!v) return "(no value)";
    std::string text = "type " + std::to_string(v->type) + ":";
    for (BYTE b : v->data) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", static_cast<unsigned>(b));
        text += hex;
    }
    return text;
}

// The policy key's last-write time: moves with every value written to it.
std::optional<ULONGLONG> PolicyKeyWriteTime() {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kExplorerPolicyKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    FILETIME written{};
    const LONG rc = ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, &written);
    ::RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return std::nullopt;
    return (ULONGLONG{written.dwHighDateTime} << 32) | written.dwLowDateTime;
}

// ---- Hiding on the real registry ----

class HidingOnRealRegistry : public ::testing::Test {
protected:
    PolicyGuard guard_;
    Win32Platform platform_;
};

TEST_F(HidingOnRealRegistry, HideAndUnhideWriteTheLetterBitsAsADword) {
    ASSERT_EQ(ReadRawNoDrives(), std::nullopt);
    EXPECT_EQ(actions::HideDrive(platform_.registry(), 'C'), PolicyChange::Written);
    EXPECT_EQ(ReadRawNoDrives(), Dword(0x4)) << Describe(ReadRawNoDrives());
    EXPECT_EQ(actions::HideDrive(platform_.registry(), 'D'), PolicyChange::Written);
    EXPECT_EQ(ReadRawNoDrives(), Dword(0xC)) << Describe(ReadRawNoDrives());
    EXPECT_EQ(actions::UnhideDrive(platform_.registry(), 'D'), PolicyChange::Written);
    EXPECT_EQ(ReadRawNoDrives(), Dword(0x4)) << Describe(ReadRawNoDrives());

    // Unhiding a letter that is not hidden writes nothing: the key's write
    // time stays where the last write left it. (Wine moves it only when the
    // stored data changes, so this catches a write of anything but the same
    // four bytes; the hide of D afterwards shows that a change does move it.)
    const auto before = PolicyKeyWriteTime();
    ASSERT_TRUE(before.has_value());
    ::Sleep(50);
    EXPECT_EQ(actions::UnhideDrive(platform_.registry(), 'D'), PolicyChange::Unchanged);
    EXPECT_EQ(ReadRawNoDrives(), Dword(0x4)) << Describe(ReadRawNoDrives());
    EXPECT_EQ(PolicyKeyWriteTime(), before);
    ::Sleep(50);
    EXPECT_EQ(actions::HideDrive(platform_.registry(), 'D'), PolicyChange::Written);
    EXPECT_EQ(ReadRawNoDrives(), Dword(0xC));
    EXPECT_NE(PolicyKeyWriteTime(), before) << "a change did not move the key's write time";
}

TEST_F(HidingOnRealRegistry, OnlyTheLettersBitChangesTheRestIsKept) {
    struct Case {
        std::optional<::DWORD> initial;  // nullopt: no value
        bool hide;
        char letter;
        PolicyChange result;
        std::optional<::DWORD> after;
    };
    const Case cases[] = {
        {std::nullopt, false, 'D', PolicyChange::Unchanged, std::nullopt},
        {0x0, true, 'Z', PolicyChange::Written, 0x02000000},
        {0x0, false, 'C', PolicyChange::Unchanged, 0x0},
        {0x8, true, 'd', PolicyChange::Written, 0x8},  // already set: written all the same
        {0x80000001, true, 'B', PolicyChange::Written, 0x80000003},
        {0xFC000008, false, 'D', PolicyChange::Written, 0xFC000000},
        {0xFFFFFFFF, false, 'A', PolicyChange::Written, 0xFFFFFFFE},
        {0x4, true, '1', PolicyChange::NotALetter, 0x4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.hide ? "hide " : "unhide ") + c.letter + " on " +
                     (c.initial ? std::to_string(*c.initial) : "no value"));
        PolicyGuard guard;
        if (c.initial) guard.SetNoDrives(REG_DWORD, Dword(*c.initial).data.data(), 4);
        const PolicyChange result = c.hide ? actions::HideDrive(platform_.registry(), c.letter)
                                           : actions::UnhideDrive(platform_.registry(), c.letter);
        EXPECT_EQ(result, c.result);
        const std::optional<RawValue> expected = c.after ? std::optional<RawValue>(Dword(*c.after)) : std::nullopt;
        EXPECT_EQ(ReadRawNoDrives(), expected) << Describe(ReadRawNoDrives());
    }
}

TEST_F(HidingOnRealRegistry, VisibilityIsReadFromTheStoredBits) {
    for (char letter : {'A', 'C', 'D', 'Z'}) {
        EXPECT_EQ(actions::GetDriveVisibility(platform_.registry(), letter), actions::kNoPolicy) << letter;
    }
    ASSERT_EQ(actions::HideDrive(platform_.registry(), 'C'), PolicyChange::Written);
    EXPECT_EQ(actions::GetDriveVisibility(platform_.registry(), 'C'), actions::kHidden);
    EXPECT_EQ(actions::GetDriveVisibility(platform_.registry(), 'c'), actions::kHidden);
    EXPECT_EQ(actions::GetDriveVisibility(platform_.registry(), 'D'), actions::kVisible);
    ASSERT_EQ(actions::UnhideDrive(platform_.registry(), 'C'), PolicyChange::Written);
    // A policy of 0 is still a policy.
    EXPECT_EQ(ReadRawNoDrives(), Dword(0));
    EXPECT_EQ(actions::GetDriveVisibility(platform_.registry(), 'C'), actions::kVisible);
}

TEST_F(HidingOnRealRegistry, AValueThatIsNoDwordFailsBothCommandsAndIsLeftAlone) {
    struct Case {
        const char* what;
        ::DWORD type;
        std::vector<BYTE> data;
        const char* error;
    };
    const std::vector<Case> cases = {
        {"short string", REG_SZ, {'a', 0}, "Invalid data type for 'NoDrives'"},
        {"four binary bytes", REG_BINARY, {0xFF, 0xFF, 0xFF, 0x03}, "Invalid data type for 'NoDrives'"},
        {"eight binary bytes", REG_BINARY, {1, 0, 0, 0, 0, 0, 0, 0}, "Failed to get data for 'NoDrives'"},
        {"long string", REG_SZ, {'a', 'b', 'c', 'd', 'e', 'f', 0}, "Failed to get data for 'NoDrives'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PolicyGuard guard;
        guard.SetNoDrives(c.type, c.data.data(), static_cast<::DWORD>(c.data.size()));
        const std::optional<RawValue> stored = ReadRawNoDrives();
        ASSERT_TRUE(stored.has_value());
        for (bool hide : {true, false}) {
            try {
                hide ? actions::HideDrive(platform_.registry(), 'C') : actions::UnhideDrive(platform_.registry(), 'C');
                ADD_FAILURE() << (hide ? "hide" : "unhide") << " raised nothing";
            } catch (const AppError& e) {
                EXPECT_EQ(std::string(e.what()), c.error) << (hide ? "hide" : "unhide");
            }
            EXPECT_EQ(ReadRawNoDrives(), stored) << Describe(ReadRawNoDrives());
        }
        EXPECT_EQ(actions::GetDriveVisibility(platform_.registry(), 'C'), actions::kNoPolicy);
    }
}

// ---- The hide commands of the main window on the real system ----

class HidingCommandsOnRealRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<TForm1>(platform_, view_, dialogs_, app_);
        form_->FormCreate();
        form_->Click("Refresh1");
        ASSERT_TRUE(dialogs_.errors.empty());
        ASSERT_TRUE(SelectLetter('C'));
    }

    bool SelectLetter(char letter) {
        const auto& rows = form_->Rows();
        for (size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].Letter() == letter) {
                form_->Select(static_cast<int>(i));
                return true;
            }
        }
        return false;
    }

    std::string VisibilityOf(char letter) const {
        const DriveRow* row = FindRow(form_->Rows(), letter);
        return row ? row->cells[inventory::kVisibility] : "(not listed)";
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& box : dialogs_.boxes) texts.push_back(box.text);
        return texts;
    }

    PolicyGuard guard_;  // goes last, after the form
    Win32Platform platform_;
    Application app_;
    twtest::RecordingView view_;
    twtest::RecordingDialogs dialogs_;
    std::unique_ptr<TForm1> form_;
};

TEST_F(HidingCommandsOnRealRegistry, HideAsksAndOnlyYesWritesTheBit) {
    dialogs_.answers = {ModalResult::No};
    form_->Click("HideDrive1");
    EXPECT_EQ(Texts(), std::vector<std::string>{"Are you Sure you want to hide drive C:"});
    EXPECT_EQ(ReadRawNoDrives(), std::nullopt);

    dialogs_.boxes.clear();
    dialogs_.answers = {ModalResult::Yes};
    form_->Click("HideDrive1");
    EXPECT_TRUE(dialogs_.errors.empty());
    ASSERT_EQ(dialogs_.boxes.size(), 2u);
    EXPECT_EQ(dialogs_.boxes[0].kind, BoxKind::Confirmation);
    EXPECT_EQ(dialogs_.boxes[1].text,
              "Drive C: has now been hidden. You must restart windows for change to take effect. Note: Drive will "
              "still be visible in Tarnwell.");
    EXPECT_EQ(dialogs_.boxes[1].kind, BoxKind::Information);
    EXPECT_EQ(ReadRawNoDrives(), Dword(0x4)) << Describe(ReadRawNoDrives());

    // The drive stays in the list; the next refresh shows it as hidden.
    EXPECT_EQ(VisibilityOf('C'), "Visible");
    form_->Click("Refresh1");
    EXPECT_EQ(VisibilityOf('C'), "Hidden");
}

TEST_F(HidingCommandsOnRealRegistry, UnhideFromTheDropDownClearsTheBitAndRefreshes) {
    guard_.SetNoDrives(REG_DWORD, Dword(0x80000004).data.data(), 4);
    form_->Click("Refresh1");
    ASSERT_TRUE(SelectLetter('C'));
    ASSERT_EQ(VisibilityOf('C'), "Hidden");
    const int refreshes = view_.rowsChanged;

    form_->Click("Unhide2");
    EXPECT_TRUE(dialogs_.errors.empty());
    EXPECT_EQ(Texts(), std::vector<std::string>{
                           "Drive C: has now been Unhidden. You must restart windows for change to take effect."});
    EXPECT_EQ(ReadRawNoDrives(), Dword(0x80000000)) << Describe(ReadRawNoDrives());
    EXPECT_GT(view_.rowsChanged, refreshes);
    EXPECT_EQ(VisibilityOf('C'), "Visible");
}

TEST_F(HidingCommandsOnRealRegistry, AStringPolicyIsShownAsAnErrorAndKept) {
    const char text[] = "a";
    guard_.SetNoDrives(REG_SZ, text, sizeof text);
    const std::optional<RawValue> stored = ReadRawNoDrives();
    dialogs_.answers = {ModalResult::Yes};
    form_->Click("HideDrive1");
    form_->Click("Unhide2");
    EXPECT_EQ(dialogs_.errors,
              (std::vector<std::string>{"Invalid data type for 'NoDrives'", "Invalid data type for 'NoDrives'"}));
    EXPECT_EQ(Texts(), std::vector<std::string>{"Are you Sure you want to hide drive C:"});
    EXPECT_EQ(ReadRawNoDrives(), stored);
}

// ---- Substitute drives on the real device-name service ----

// "\??\" followed by the folder: how the service stores a substitution.
std::optional<std::string> DirectMapping(char letter) {
    char target[1024] = {};
    if (::QueryDosDeviceA(DriveName(letter).c_str(), target, sizeof target) == 0) return std::nullopt;
    return std::string(target);
}

bool LetterPresent(char letter) { return (::GetLogicalDrives() >> (letter - 'A')) & 1u; }

// Takes away whatever the test defined for the letter: each target it names,
// exactly, so no other definition of the letter goes with it.
class SubstitutionCleanup {
public:
    SubstitutionCleanup(char letter, std::vector<std::string> targets)
        : letter_(letter), targets_(std::move(targets)) {}
    ~SubstitutionCleanup() {
        if (letter_ == 0) return;
        for (const auto& target : targets_) {
            while (::DefineDosDeviceA(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, DriveName(letter_).c_str(),
                                      target.c_str())) {
            }
        }
    }
    SubstitutionCleanup(const SubstitutionCleanup&) = delete;
    SubstitutionCleanup& operator=(const SubstitutionCleanup&) = delete;

private:
    char letter_;
    std::vector<std::string> targets_;
};

// The real kernel, except that the device-name service may be changed for
// one letter only (the test's own); any other definition or removal is
// recorded and refused, so a wrong call can't touch the prefix's drives.
class LetterFencedKernel final : public tp::Kernel {
public:
    LetterFencedKernel(tp::Kernel& real, char allowed) : real_(real), allowed_(allowed) {}

    std::vector<std::string> refusedDevices;

    tp::BOOL DefineDosDeviceA(tp::DWORD flags, const char* device, const char* target) override {
        if (allowed_ == 0 || device == nullptr || DriveName(allowed_) != device) {
            refusedDevices.push_back(device ? device : "(null)");
            real_.SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        return real_.DefineDosDeviceA(flags, device, target);
    }

    tp::DWORD GetLogicalDrives() override { return real_.GetLogicalDrives(); }
    tp::UINT GetDriveTypeA(const char* root) override { return real_.GetDriveTypeA(root); }
    tp::BOOL GetVolumeInformationA(const char* root, char* label, tp::DWORD labelSize, tp::DWORD* serial,
                                   tp::DWORD* maxComponent, tp::DWORD* flags, char* fileSystem,
                                   tp::DWORD fileSystemSize) override {
        return real_.GetVolumeInformationA(root, label, labelSize, serial, maxComponent, flags, fileSystem,
                                           fileSystemSize);
    }
    tp::BOOL GetDiskFreeSpaceExA(const char* dir, tp::ULONGLONG* freeToCaller, tp::ULONGLONG* total,
                                 tp::ULONGLONG* totalFree) override {
        return real_.GetDiskFreeSpaceExA(dir, freeToCaller, total, totalFree);
    }
    tp::BOOL GetDiskFreeSpaceA(const char* root, tp::DWORD* sectorsPerCluster, tp::DWORD* bytesPerSector,
                               tp::DWORD* freeClusters, tp::DWORD* totalClusters) override {
        return real_.GetDiskFreeSpaceA(root, sectorsPerCluster, bytesPerSector, freeClusters, totalClusters);
    }
    tp::UINT SetErrorMode(tp::UINT mode) override { return real_.SetErrorMode(mode); }
    tp::DWORD GetLogicalDriveStringsA(tp::DWORD length, char* buffer) override {
        return real_.GetLogicalDriveStringsA(length, buffer);
    }
    tp::DWORD QueryDosDeviceA(const char* device, char* target, tp::DWORD max) override {
        return real_.QueryDosDeviceA(device, target, max);
    }
    tp::BOOL GetVersionExA(tp::OSVERSIONINFOA* info) override { return real_.GetVersionExA(info); }
    tp::UINT GetSystemDirectoryA(char* buffer, tp::UINT size) override {
        return real_.GetSystemDirectoryA(buffer, size);
    }
    tp::DWORD GetModuleFileNameA(std::uintptr_t module, char* fileName, tp::DWORD size) override {
        return real_.GetModuleFileNameA(module, fileName, size);
    }
    tp::UINT GetWindowsDirectoryA(char* buffer, tp::UINT size) override {
        return real_.GetWindowsDirectoryA(buffer, size);
    }
    tp::DWORD FormatMessageA(tp::DWORD flags, const void* source, tp::DWORD id, tp::DWORD language, char* buffer,
                             tp::DWORD size, void* arguments) override {
        return real_.FormatMessageA(flags, source, id, language, buffer, size, arguments);
    }
    tp::DWORD GetFileAttributesA(const char* name) override { return real_.GetFileAttributesA(name); }
    tp::HANDLE CreateFileA(const char* name, tp::DWORD access, tp::DWORD share, void* security, tp::DWORD creation,
                           tp::DWORD flags, tp::HANDLE templateFile) override {
        return real_.CreateFileA(name, access, share, security, creation, flags, templateFile);
    }
    tp::BOOL ReadFile(tp::HANDLE file, void* buffer, tp::DWORD size, tp::DWORD* read, void* overlapped) override {
        return real_.ReadFile(file, buffer, size, read, overlapped);
    }
    tp::BOOL WriteFile(tp::HANDLE file, const void* buffer, tp::DWORD size, tp::DWORD* written,
                       void* overlapped) override {
        return real_.WriteFile(file, buffer, size, written, overlapped);
    }
    tp::DWORD SetFilePointer(tp::HANDLE file, tp::LONG distance, tp::LONG* high, tp::DWORD method) override {
        return real_.SetFilePointer(file, distance, high, method);
    }
    tp::BOOL CloseHandle(tp::HANDLE object) override { return real_.CloseHandle(object); }
    tp::BOOL DeleteFileA(const char* name) override { return real_.DeleteFileA(name); }
    tp::BOOL QueryPerformanceCounter(tp::ULONGLONG* count) override { return real_.QueryPerformanceCounter(count); }
    tp::BOOL QueryPerformanceFrequency(tp::ULONGLONG* frequency) override {
        return real_.QueryPerformanceFrequency(frequency);
    }
    tp::DWORD GetLastError() override { return real_.GetLastError(); }
    void SetLastError(tp::DWORD code) override { real_.SetLastError(code); }
    tp::HANDLE FindFirstVolumeA(char* name, tp::DWORD length) override { return real_.FindFirstVolumeA(name, length); }
    tp::BOOL FindNextVolumeA(tp::HANDLE search, char* name, tp::DWORD length) override {
        return real_.FindNextVolumeA(search, name, length);
    }
    tp::BOOL FindVolumeClose(tp::HANDLE search) override { return real_.FindVolumeClose(search); }
    tp::BOOL GetVolumePathNamesForVolumeNameA(const char* volume, char* paths, tp::DWORD length,
                                              tp::DWORD* needed) override {
        return real_.GetVolumePathNamesForVolumeNameA(volume, paths, length, needed);
    }

private:
    tp::Kernel& real_;
    char allowed_;
};

class SubstitutionOnRealSystem : public ::testing::Test {
protected:
    void SetUp() override {
        letter_ = UnusedLetter();
        ASSERT_NE(letter_, 0) << "no free drive letter";
        ASSERT_EQ(DirectMapping(letter_), std::nullopt);
    }

    static inventory::EnumerationOptions AllDrives() {
        inventory::EnumerationOptions options;
        options.skipAB = true;
        options.filters = inventory::KindFilters{};
        return options;
    }

    PolicyGuard policy_;  // listing the drives reads (and creates) the policy key
    Win32Platform platform_;
    char letter_ = 0;
};

TEST_F(SubstitutionOnRealSystem, CreateQueryAndRemoveAsEntered) {
    // The folder goes to the system as entered, a trailing backslash included.
    // A folder longer than the 256 bytes a first query asks for is read whole.
    for (const std::string folder :
         {std::string("C:\\windows"), std::string("C:\\windows\\"), "C:\\" + std::string(250, 'x')}) {
        SCOPED_TRACE(folder);
        SubstitutionCleanup cleanup(letter_, {folder});
        ASSERT_TRUE(actions::CreateSubstitution(platform_.kernel(), letter_, folder)) << ::GetLastError();
        EXPECT_EQ(DirectMapping(letter_), "\\??\\" + folder);
        EXPECT_EQ(actions::QuerySubstitution(platform_.kernel(), letter_), folder);
        EXPECT_TRUE(LetterPresent(letter_));

        EXPECT_TRUE(actions::RemoveSubstitution(platform_.kernel(), letter_)) << ::GetLastError();
        EXPECT_EQ(DirectMapping(letter_), std::nullopt);
        EXPECT_EQ(actions::QuerySubstitution(platform_.kernel(), letter_), "");
        EXPECT_FALSE(LetterPresent(letter_));
        // Once gone there is nothing left to remove.
        EXPECT_FALSE(actions::RemoveSubstitution(platform_.kernel(), letter_));
    }
}

TEST_F(SubstitutionOnRealSystem, RemovingAPlainDriveIsRefusedAndTheDriveStays) {
    const std::optional<std::string> mappingOfC = DirectMapping('C');
    ASSERT_TRUE(LetterPresent('C'));
    // Were C:'s own mapping shaped like a substitution, the removal below
    // would take the drive away; the fence refuses that call in any case.
    EXPECT_FALSE(mappingOfC && mappingOfC->rfind("\\??\\", 0) == 0) << *mappingOfC;
    EXPECT_EQ(actions::QuerySubstitution(platform_.kernel(), 'C'), "");

    LetterFencedKernel fenced(platform_.kernel(), letter_);
    EXPECT_FALSE(actions::RemoveSubstitution(fenced, 'C'));
    EXPECT_TRUE(fenced.refusedDevices.empty()) << "the removal reached the system for " << fenced.refusedDevices[0];
    EXPECT_TRUE(LetterPresent('C'));
    EXPECT_EQ(DirectMapping('C'), mappingOfC);
    EXPECT_NE(::GetFileAttributesA("C:\\windows"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SubstitutionOnRealSystem, TheListShowsTheNewLetterUntilItIsRemoved) {
    const std::string folder = "C:\\windows";
    SubstitutionCleanup cleanup(letter_, {folder});
    ASSERT_TRUE(actions::CreateSubstitution(platform_.kernel(), letter_, folder)) << ::GetLastError();

    std::vector<DriveRow> rows;
    ListDrives(platform_, AllDrives(), rows);
    const DriveRow* row = FindRow(rows, letter_);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->caption, std::string(1, letter_) + ": ");
    // Both systems list the letter. Windows reports a substituted letter as a
    // fixed drive, and the list names it "Subst" with its folder; Wine reports
    // it as having no root directory, and the list shows that kind as such.
    const ::UINT type = ::GetDriveTypeA(RootPath(letter_).c_str());
    if (type == DRIVE_FIXED) {
        EXPECT_EQ(row->cells[inventory::kType], "Subst");
        EXPECT_EQ(row->cells[inventory::kAdditionalInfo], folder);
    } else {
        EXPECT_EQ(type, static_cast<::UINT>(DRIVE_NO_ROOT_DIR));
        EXPECT_EQ(row->cells[inventory::kType], "No Root Dir");
    }

    ASSERT_TRUE(actions::RemoveSubstitution(platform_.kernel(), letter_));
    rows.clear();
    ListDrives(platform_, AllDrives(), rows);
    EXPECT_EQ(FindRow(rows, letter_), nullptr);
}

// ---- The start-up file ----

// A file name in the temporary folder that nothing uses; the file is deleted
// when the guard goes.
class TempFile {
public:
    explicit TempFile(const std::string& folderPart = "") {
        char dir[MAX_PATH + 1] = {};
        ::GetTempPathA(sizeof dir, dir);
        LARGE_INTEGER counter{};
        ::QueryPerformanceCounter(&counter);
        char name[96];
        std::snprintf(name, sizeof name, "tarnwell-%lx-%llx", static_cast<unsigned long>(::GetCurrentProcessId()),
                      static_cast<unsigned long long>(counter.QuadPart));
        folder_ = std::string(dir) + folderPart;
        path_ = folder_ + name + ".bat";
    }
    ~TempFile() { ::DeleteFileA(path_.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& path() const { return path_; }
    const std::string& folder() const { return folder_; }

private:
    std::string folder_;
    std::string path_;
};

std::optional<std::string> ReadWholeFile(const std::string& path) {
    const ::HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string text;
    char buffer[4096];
    ::DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
    ::CloseHandle(file);
    return text;
}

TEST(StartupFileOnRealSystem, LinesAreAppendedWithCrLfAndNeverMerged) {
    TempFile file;
    ASSERT_EQ(::GetFileAttributesA(file.path().c_str()), INVALID_FILE_ATTRIBUTES);
    Win32Platform platform;
    const std::string line = "subst X: \"C:\\windows\\\\\"";
    EXPECT_EQ(actions::AppendStartupLine(platform.kernel(), file.path(), line), 0u);
    // Read with no sharing: the program has closed the file.
    EXPECT_EQ(ReadWholeFile(file.path()), line + "\r\n");
    EXPECT_EQ(actions::AppendStartupLine(platform.kernel(), file.path(), line), 0u);
    EXPECT_EQ(ReadWholeFile(file.path()), line + "\r\n" + line + "\r\n");
    EXPECT_TRUE(::DeleteFileA(file.path().c_str()));
}

TEST(StartupFileOnRealSystem, TheLineGoesOnALineOfItsOwnBeforeTheEndMarks) {
    TempFile file;
    const ::HANDLE created = ::CreateFileA(file.path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(created, INVALID_HANDLE_VALUE);
    ::DWORD written = 0;
    ::WriteFile(created, "@echo off\x1a\x1a", 11, &written, nullptr);
    ::CloseHandle(created);
    Win32Platform platform;
    EXPECT_EQ(actions::AppendStartupLine(platform.kernel(), file.path(), "subst Y: \"C:\\\\\""), 0u);
    EXPECT_EQ(ReadWholeFile(file.path()), "@echo off\r\nsubst Y: \"C:\\\\\"\r\n\x1a\x1a");
    EXPECT_TRUE(::DeleteFileA(file.path().c_str()));
}

TEST(StartupFileOnRealSystem, AFileThatCannotBeOpenedGivesTheSystemsReason) {
    TempFile file("tarnwell-no-such-folder\\");
    ASSERT_EQ(::GetFileAttributesA(file.folder().c_str()), INVALID_FILE_ATTRIBUTES);
    Win32Platform platform;
    EXPECT_EQ(actions::AppendStartupLine(platform.kernel(), file.path(), "subst X: \"C:\\windows\""),
              static_cast<tp::DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(::GetFileAttributesA(file.folder().c_str()), INVALID_FILE_ATTRIBUTES);
    // Held by another program without sharing.
    TempFile held;
    const ::HANDLE other = ::CreateFileA(held.path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(actions::AppendStartupLine(platform.kernel(), held.path(), "subst X: \"C:\\windows\""),
              static_cast<tp::DWORD>(ERROR_SHARING_VIOLATION));
    ::CloseHandle(other);
    EXPECT_TRUE(::DeleteFileA(held.path().c_str()));
}

// ---- The logon entry in the real Run key ----

// Our entry for S: as stored, read without the program; none when missing.
std::optional<RawValue> ReadLogonEntry() {
    RawValue value;
    ::DWORD size = 512;
    value.data.resize(size);
    const std::string name = actions::LogonEntryName('S');
    if (::RegGetValueA(HKEY_CURRENT_USER, actions::kRunKey, name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &value.type,
                       value.data.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.resize(size);
    return value;
}

TEST(LogonEntryOnRealSystem, TheRunKeyHoldsTheSystemsSubstOnTheFolderUntilItIsRemoved) {
    ASSERT_EQ(ReadLogonEntry(), std::nullopt) << "the prefix has an entry for S: already";
    Win32Platform platform;
    struct Cleanup {
        tp::Registry& registry;
        ~Cleanup() { actions::RemoveLogonEntry(registry, 'S'); }
    } cleanup{platform.registry()};
    ASSERT_EQ(actions::AddLogonEntry(platform.kernel(), platform.registry(), 'S', "C:\\Tom & Jerry %PATH% ^x"), 0u);
    char system[MAX_PATH + 1] = {};
    ASSERT_GT(::GetSystemDirectoryA(system, sizeof system), 0u);
    const std::string command = std::string(system) + "\\subst.exe S: \"C:\\Tom & Jerry %PATH% ^x\"";
    const std::optional<RawValue> stored = ReadLogonEntry();
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->type, static_cast<::DWORD>(REG_SZ));
    EXPECT_EQ(std::string(stored->data.begin(), stored->data.end()), command + std::string(1, '\0'));
    std::cout << "Run value \"" << actions::LogonEntryName('S') << "\" (REG_SZ): " << command << std::endl;
    EXPECT_EQ(actions::RemoveLogonEntry(platform.registry(), 'S'), 0u);
    EXPECT_EQ(ReadLogonEntry(), std::nullopt);
    // Nothing left to remove is no failure.
    EXPECT_EQ(actions::RemoveLogonEntry(platform.registry(), 'S'), 0u);
}

// ---- Shell requests ----

TEST(ShellExecuteRecordBackend, ThePropertiesRequestIsTheSystemsRecordByteForByte) {
    tp::ShellExecuteRequest request;
    request.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    request.hwnd = 0x00010ABC;
    request.lpVerb = "properties";
    request.lpFile = "E:";
    const tp::ShellExecuteRecord bytes = tp::EncodeShellExecuteInfo(request);

    ::SHELLEXECUTEINFOA native;
    std::memset(&native, 0, sizeof native);
    native.cbSize = sizeof native;
    native.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    native.hwnd = reinterpret_cast<::HWND>(std::uintptr_t{0x00010ABC});
    native.lpVerb = request.lpVerb;
    native.lpFile = request.lpFile;
    ASSERT_EQ(bytes.size(), sizeof native);
    EXPECT_EQ(std::memcmp(bytes.data(), &native, sizeof native), 0);
    if (sizeof(void*) == 4) EXPECT_EQ(bytes.size(), 60u);
}

TEST(ShellBackend, AProgramThatIsNowhereIsRefusedWithTheSystemsCode) {
    tp::win32::Win32Shell shell;
    const tp::HINSTANCE result =
        shell.ShellExecuteA(0, "open", "C:\\no such folder\\no-such-program.exe", nullptr, nullptr, SW_SHOWNORMAL);
    EXPECT_LE(result, 32u);
    const tp::DWORD error = tp::ErrorOfShellResult(result);
    EXPECT_TRUE(error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) << error;
}

TEST(ShellBackend, AnUnknownProgIdIsRefusedAndNothingIsLeftOpen) {
    tp::win32::Win32Shell shell;
    tp::AutomationObject object = 1;
    EXPECT_TRUE(tp::Failed(shell.CreateAutomationObject("Tarnwell.NoSuchObject", &object)));
    EXPECT_EQ(object, 0u);
}

}  // namespace
}  // namespace tw::win32_test

namespace tw::win32_test {
namespace {

// Text put on the real clipboard reads back as CF_TEXT; a file written whole
// reads back byte for byte, and a folder that is missing is named as such.
TEST(TextOutputOnRealSystem, ClipboardAndFileHoldWhatWasWritten) {
    Win32Platform platform;
    const std::string text = "Drive\tLabel\r\nC: \tSystem\r\n";
    ASSERT_EQ(actions::CopyTextToClipboard(platform.desktop(), 0, text), 0u);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    HANDLE data = ::GetClipboardData(CF_TEXT);
    const char* bytes = data ? static_cast<const char*>(::GlobalLock(data)) : nullptr;
    const std::string read = bytes ? bytes : "";
    if (bytes) ::GlobalUnlock(data);
    ::CloseClipboard();
    EXPECT_EQ(read, text);

    char folder[MAX_PATH] = {};
    ASSERT_GT(::GetTempPathA(sizeof folder, folder), 0u);
    const std::string file = std::string(folder) + "tarnwell-text-output.csv";
    ASSERT_EQ(actions::WriteTextFile(platform.kernel(), file, text), 0u);
    std::string back(text.size() + 8, '\0');
    FILE* f = std::fopen(file.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    back.resize(std::fread(back.data(), 1, back.size(), f));
    std::fclose(f);
    std::remove(file.c_str());
    EXPECT_EQ(back, text);
    EXPECT_EQ(actions::WriteTextFile(platform.kernel(), std::string(folder) + "no-such-folder\\x.csv", text),
              static_cast<tp::DWORD>(ERROR_PATH_NOT_FOUND));
}

}  // namespace
}  // namespace tw::win32_test
