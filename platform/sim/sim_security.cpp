// The simulated user's access token and SIDs. The group list is laid out as
// Windows lays out TOKEN_GROUPS for this build, with real SID bytes, so the
// caller walks it and compares SIDs exactly as it does on Windows.
#include <cstring>

#include "platform/sim/state.h"

namespace tw::sim {

namespace {

// Pseudo-handles, as GetCurrentThread and GetCurrentProcess return them.
constexpr HANDLE kCurrentProcess = ~HANDLE{0};
constexpr HANDLE kCurrentThread = ~HANDLE{1};

constexpr DWORD SE_GROUP_MANDATORY = 0x1;
constexpr DWORD SE_GROUP_ENABLED_BY_DEFAULT = 0x2;
constexpr DWORD SE_GROUP_ENABLED = 0x4;
constexpr DWORD SE_GROUP_OWNER = 0x8;
constexpr DWORD SE_GROUP_USE_FOR_DENY_ONLY = 0x10;
constexpr DWORD kEnabled = SE_GROUP_MANDATORY | SE_GROUP_ENABLED_BY_DEFAULT | SE_GROUP_ENABLED;
constexpr DWORD ERROR_INVALID_SID = 1337;

std::vector<BYTE> Sid(BYTE authority, std::initializer_list<DWORD> subAuthorities) {
    std::vector<BYTE> sid = {1, static_cast<BYTE>(subAuthorities.size()), 0, 0, 0, 0, 0, authority};
    for (DWORD s : subAuthorities) {
        for (int i = 0; i < 4; ++i) sid.push_back(static_cast<BYTE>(s >> (8 * i)));
    }
    return sid;
}

// The groups of the simulated user: domain groups first, then the well-known
// ones, Administrators among them when the user is one.
std::vector<TokenGroup> Groups(const SimToken& token) {
    std::vector<TokenGroup> groups;
    for (int i = 0; i < token.extraGroups; ++i) {
        groups.push_back({Sid(5, {21, 1004336348, 1177238915, 682003330, static_cast<DWORD>(1100 + i)}), kEnabled});
    }
    groups.push_back({Sid(1, {0}), kEnabled});  // Everyone
    if (token.administrator == SimToken::Admin::kYes) {
        groups.push_back({Sid(5, {32, 544}), kEnabled | SE_GROUP_OWNER});
    } else if (token.administrator == SimToken::Admin::kDenyOnly) {
        groups.push_back({Sid(5, {32, 544}), SE_GROUP_USE_FOR_DENY_ONLY});
    }
    groups.push_back({Sid(5, {32, 545}), kEnabled});  // Users
    groups.push_back({Sid(5, {4}), kEnabled});        // INTERACTIVE
    groups.push_back({Sid(5, {11}), kEnabled});       // Authenticated Users
    groups.push_back({Sid(5, {15}), kEnabled});       // This Organization
    groups.push_back({Sid(2, {0}), kEnabled});        // LOCAL
    return groups;
}

bool ValidSid(PSID sid) {
    const auto* bytes = static_cast<const BYTE*>(sid);
    return bytes != nullptr && bytes[0] == 1 && bytes[1] <= 15;
}

}  // namespace

bool MachineState::IsAdministrator() const { return token.administrator == SimToken::Admin::kYes; }

HANDLE SimSecurity::GetCurrentThread() { return kCurrentThread; }
HANDLE SimSecurity::GetCurrentProcess() { return kCurrentProcess; }

BOOL SimSecurity::OpenThreadToken(HANDLE thread, DWORD desiredAccess, BOOL, HANDLE* token) {
    if (s_.Faulted(SimCall::OpenThreadToken)) return FALSE;
    if (token == nullptr) return s_.Fail(ERROR_NOACCESS);
    if (thread != kCurrentThread || desiredAccess == 0)
        return s_.Fail(thread != kCurrentThread ? ERROR_INVALID_HANDLE : ERROR_ACCESS_DENIED);
    // A thread that does not impersonate has no token of its own.
    if (!s_.token.threadToken) return s_.Fail(ERROR_NO_TOKEN);
    *token = s_.NewHandle();
    s_.openTokens.insert(*token);
    return s_.Succeed();
}

BOOL SimSecurity::OpenProcessToken(HANDLE process, DWORD desiredAccess, HANDLE* token) {
    if (s_.Faulted(SimCall::OpenProcessToken)) return FALSE;
    if (token == nullptr) return s_.Fail(ERROR_NOACCESS);
    if (process != kCurrentProcess) return s_.Fail(ERROR_INVALID_HANDLE);
    if (s_.token.openError != ERROR_SUCCESS || desiredAccess == 0)
        return s_.Fail(desiredAccess == 0 ? ERROR_ACCESS_DENIED : s_.token.openError);
    *token = s_.NewHandle();
    s_.openTokens.insert(*token);
    return s_.Succeed();
}

BOOL SimSecurity::GetTokenInformation(HANDLE token, DWORD informationClass, void* information, DWORD informationLength,
                                      DWORD* returnLength) {
    if (s_.Faulted(SimCall::GetTokenInformation)) return FALSE;
    if (!s_.openTokens.count(token)) return s_.Fail(ERROR_INVALID_HANDLE);
    if (returnLength == nullptr) return s_.Fail(ERROR_NOACCESS);
    if (informationClass == TokenElevation && s_.version.dwMajorVersion >= 6) {
        // Only a token whose Administrators group is enabled runs elevated;
        // a filtered administrator's token holds the group for deny only.
        *returnLength = static_cast<DWORD>(kTokenElevationSize);
        if (information == nullptr || informationLength < kTokenElevationSize)
            return s_.Fail(ERROR_INSUFFICIENT_BUFFER);
        const DWORD elevated = s_.token.administrator == SimToken::Admin::kYes ? 1 : 0;
        std::memcpy(information, &elevated, kTokenElevationSize);
        return s_.Succeed();
    }
    // Systems before Vista know no elevation class.
    if (informationClass != TokenGroups) return s_.Fail(ERROR_INVALID_PARAMETER);
    const std::vector<TokenGroup> groups = Groups(s_.token);
    const std::size_t needed = TokenGroupsSize(groups);
    *returnLength = static_cast<DWORD>(needed);
    // Too small a buffer gets nothing, only the size it would take.
    if (information == nullptr || informationLength < needed) return s_.Fail(ERROR_INSUFFICIENT_BUFFER);
    EncodeTokenGroups(groups, std::span(static_cast<BYTE*>(information), needed));
    return s_.Succeed();
}

BOOL SimSecurity::AllocateAndInitializeSid(const SID_IDENTIFIER_AUTHORITY* authority, BYTE count, DWORD s0, DWORD s1,
                                           DWORD s2, DWORD s3, DWORD s4, DWORD s5, DWORD s6, DWORD s7, PSID* sid) {
    if (s_.Faulted(SimCall::AllocateAndInitializeSid)) return FALSE;
    if (authority == nullptr || sid == nullptr || count > 8) return s_.Fail(ERROR_INVALID_PARAMETER);
    const DWORD subs[8] = {s0, s1, s2, s3, s4, s5, s6, s7};
    std::vector<BYTE> bytes = {1, count};
    bytes.insert(bytes.end(), authority->Value, authority->Value + 6);
    for (BYTE i = 0; i < count; ++i) {
        for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<BYTE>(subs[i] >> (8 * b)));
    }
    // The vector's storage does not move when the map moves the vector.
    std::vector<BYTE> stored = std::move(bytes);
    PSID address = stored.data();
    s_.sids[address] = std::move(stored);
    *sid = address;
    return s_.Succeed();
}

BOOL SimSecurity::EqualSid(PSID sid1, PSID sid2) {
    s_.Enter(SimCall::EqualSid);
    if (!ValidSid(sid1) || !ValidSid(sid2)) return s_.Fail(ERROR_INVALID_SID);
    const auto* a = static_cast<const BYTE*>(sid1);
    const auto* b = static_cast<const BYTE*>(sid2);
    // Two valid SIDs that differ are no error.
    return s_.Succeed(a[1] == b[1] && std::memcmp(a, b, SidLength(a[1])) == 0 ? TRUE : FALSE);
}

void* SimSecurity::FreeSid(PSID sid) {
    s_.Enter(SimCall::FreeSid);
    // Only what AllocateAndInitializeSid handed out can be freed.
    if (s_.sids.erase(sid) == 0) return sid;
    return nullptr;
}

BOOL SimSecurity::CloseHandle(HANDLE object) { return s_.Close(object); }
DWORD SimSecurity::GetLastError() { return s_.lastError; }

}  // namespace tw::sim
