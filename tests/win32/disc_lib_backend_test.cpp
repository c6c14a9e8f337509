// TISODiscLib against the system's own token and device calls (Wine on the
// development machines). The services are thin pass-throughs that count
// what was opened, so the test sees every token and SID given back; the
// answers are compared with what the system says directly.
//
// The project headers come first: once <windows.h> is in, names such as
// TOKEN_QUERY or TRUE are its macros.
#include "optical/iso_disc_lib.h"
#include "platform/win32/win32_platform.h"

namespace {
// Our invalid handle, named before <windows.h> turns the name into a macro.
constexpr tw::platform::HANDLE kInvalidHandle = tw::platform::INVALID_HANDLE_VALUE;
}  // namespace

#include <gtest/gtest.h>

#include "platform/win32/windows_headers.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

namespace tp = tw::platform;

::HANDLE Native(tp::HANDLE h) { return reinterpret_cast<::HANDLE>(h); }
tp::HANDLE Ours(::HANDLE h) { return reinterpret_cast<tp::HANDLE>(h); }

struct SystemTokens : tp::Security {
    tp::HANDLE GetCurrentThread() override { return Ours(::GetCurrentThread()); }
    tp::HANDLE GetCurrentProcess() override { return Ours(::GetCurrentProcess()); }
    tp::BOOL OpenThreadToken(tp::HANDLE thread, tp::DWORD access, tp::BOOL openAsSelf, tp::HANDLE* token) override {
        ::HANDLE h = nullptr;
        const BOOL ok = ::OpenThreadToken(Native(thread), access, openAsSelf, &h);
        if (ok) Opened(Ours(h), token);
        return ok;
    }
    tp::BOOL OpenProcessToken(tp::HANDLE process, tp::DWORD access, tp::HANDLE* token) override {
        ::HANDLE h = nullptr;
        const BOOL ok = ::OpenProcessToken(Native(process), access, &h);
        if (ok) Opened(Ours(h), token);
        return ok;
    }
    tp::BOOL GetTokenInformation(tp::HANDLE token, tp::DWORD informationClass, void* information, tp::DWORD length,
                                 tp::DWORD* returnLength) override {
        ::DWORD needed = 0;
        const BOOL ok = ::GetTokenInformation(Native(token), static_cast<TOKEN_INFORMATION_CLASS>(informationClass),
                                              information, length, &needed);
        *returnLength = needed;
        return ok;
    }
    tp::BOOL AllocateAndInitializeSid(const tp::SID_IDENTIFIER_AUTHORITY* authority, tp::BYTE count, tp::DWORD s0,
                                      tp::DWORD s1, tp::DWORD s2, tp::DWORD s3, tp::DWORD s4, tp::DWORD s5,
                                      tp::DWORD s6, tp::DWORD s7, tp::PSID* sid) override {
        ::SID_IDENTIFIER_AUTHORITY native{};
        std::copy(authority->Value, authority->Value + 6, native.Value);
        ::PSID made = nullptr;
        const BOOL ok = ::AllocateAndInitializeSid(&native, count, s0, s1, s2, s3, s4, s5, s6, s7, &made);
        if (ok) sids.insert(made);
        *sid = made;
        return ok;
    }
    tp::BOOL EqualSid(tp::PSID a, tp::PSID b) override { return ::EqualSid(a, b); }
    void* FreeSid(tp::PSID sid) override {
        sids.erase(sid);
        return ::FreeSid(sid);
    }
    tp::BOOL CloseHandle(tp::HANDLE object) override {
        const BOOL ok = ::CloseHandle(Native(object));
        if (ok) tokens.erase(object);
        return ok;
    }
    tp::DWORD GetLastError() override { return ::GetLastError(); }

    void Opened(tp::HANDLE h, tp::HANDLE* token) {
        *token = h;
        tokens.insert(h);
        everOpened.push_back(h);
    }

    std::set<tp::HANDLE> tokens;
    std::vector<tp::HANDLE> everOpened;
    std::set<tp::PSID> sids;
};

struct SystemDevices : tp::Device {
    tp::HANDLE CreateFileA(const char* name, tp::DWORD access, tp::DWORD share, void* security, tp::DWORD disposition,
                           tp::DWORD flags, tp::HANDLE templateFile) override {
        const tp::HANDLE h = Ours(::CreateFileA(name, access, share, static_cast<SECURITY_ATTRIBUTES*>(security),
                                                disposition, flags, Native(templateFile)));
        if (h != Ours(INVALID_HANDLE_VALUE)) handles.insert(h);
        return h;
    }
    tp::BOOL DeviceIoControl(tp::HANDLE device, tp::DWORD code, const void* in, tp::DWORD inSize, void* out,
                             tp::DWORD outSize, tp::DWORD* returned, void* overlapped) override {
        ::DWORD n = 0;
        const BOOL ok = ::DeviceIoControl(Native(device), code, const_cast<void*>(in), inSize, out, outSize, &n,
                                          static_cast<OVERLAPPED*>(overlapped));
        if (returned) *returned = n;
        return ok;
    }
    tp::BOOL CloseHandle(tp::HANDLE object) override {
        const BOOL ok = ::CloseHandle(Native(object));
        if (ok) handles.erase(object);
        return ok;
    }
    void Sleep(tp::DWORD milliseconds) override { ::Sleep(milliseconds); }
    tp::DWORD GetLastError() override { return ::GetLastError(); }
    void SetLastError(tp::DWORD code) override { ::SetLastError(code); }

    std::set<tp::HANDLE> handles;
};

struct NoPump : tw::optical::MessagePump {
    void ProcessMessages() override { ++passes; }
    int passes = 0;
};

// What the system itself says about the Administrators alias in the
// process's token: listed at all, and listed as an enabled group.
struct DirectMembership {
    bool listed = false;
    bool enabled = false;
};
DirectMembership AskTheSystem() {
    DirectMembership answer;
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID admins = nullptr;
    if (!::AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                    &admins)) {
        return answer;
    }
    BOOL member = FALSE;
    if (::CheckTokenMembership(nullptr, admins, &member)) answer.enabled = member != FALSE;
    ::HANDLE token = nullptr;
    if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) {
        ::DWORD needed = 0;
        ::GetTokenInformation(token, TokenGroups, nullptr, 0, &needed);
        std::vector<std::uintptr_t> buffer(needed / sizeof(std::uintptr_t) + 1);
        if (::GetTokenInformation(token, TokenGroups, buffer.data(), needed, &needed)) {
            const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
            for (::DWORD i = 0; i < groups->GroupCount; ++i) {
                if (::EqualSid(groups->Groups[i].Sid, admins)) answer.listed = true;
            }
        }
        ::CloseHandle(token);
    }
    ::FreeSid(admins);
    return answer;
}

TEST(DiscLibBackend, IsAdministratorAgreesWithTheSystemAndGivesEverythingBack) {
    tw::platform::win32::Win32Kernel kernel;
    SystemDevices devices;
    SystemTokens tokens;
    NoPump pump;
    tw::optical::TISODiscLib lib(kernel, devices, tokens, pump);

    const bool ours = lib.IsAdministrator();
    const DirectMembership system = AskTheSystem();
    ::testing::Test::RecordProperty("administrator", ours ? "yes" : "no");
    std::printf("IsAdministrator under this system: %s (listed %d, enabled %d)\n", ours ? "yes" : "no", system.listed,
                system.enabled);
    EXPECT_EQ(ours, system.listed);
    if (system.enabled) {
        EXPECT_TRUE(ours);
    }

    // One token per question, the constructor's and ours (this thread
    // impersonates no one, so the process's), each really closed: the
    // system no longer knows it.
    ASSERT_EQ(tokens.everOpened.size(), 2u);
    EXPECT_TRUE(tokens.tokens.empty());
    EXPECT_TRUE(tokens.sids.empty());
    for (tp::HANDLE token : tokens.everOpened) {
        EXPECT_FALSE(::CloseHandle(Native(token)));
    }

    // The gate follows the answer on any NT release this runs on.
    EXPECT_GE(lib.GetWindowsVersion(), 3);
    EXPECT_EQ(lib.PassThroughAllowed(), ours);
}

TEST(DiscLibBackend, ADriveTheSystemWillNotQueryGivesNoTextAndIsClosed) {
    tw::platform::win32::Win32Kernel kernel;
    SystemDevices devices;
    SystemTokens tokens;
    NoPump pump;
    tw::optical::TISODiscLib lib(kernel, devices, tokens, pump);

    // C: is no CD drive: OpenCDDrive refuses it without opening anything.
    EXPECT_EQ(lib.OpenCDDrive('C'), kInvalidHandle);
    EXPECT_TRUE(devices.handles.empty());

    // Opened as a drive regardless, the query either gets no answer from
    // the system's pass-through and leaves the text alone, or makes a text.
    const tp::HANDLE h = lib.OpenDrive('C');
    std::string text = "unchanged";
    lib.GetDriveCapabilities(h, text);
    EXPECT_TRUE(text == "unchanged" || text.find("\r\nDevice Buffer: ") != std::string::npos) << text;
    if (h != kInvalidHandle) {
        EXPECT_TRUE(lib.CloseDrive(h));
    }
    std::printf("capability query of C: here: %s, %d message pump passes\n", text == "unchanged" ? "no text" : "a text",
                pump.passes);
    EXPECT_TRUE(devices.handles.empty());
}

}  // namespace
