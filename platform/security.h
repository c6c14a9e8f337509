// Security services: the calling thread's or process's access token, its
// group list, and well-known SIDs. Tokens are handles of the device/kernel
// handle space; SIDs are opaque addresses that only these calls read.
#pragma once
#include <cstddef>

#include "platform/win_types.h"

namespace tw::platform {

using PSID = void*;

constexpr DWORD TOKEN_QUERY = 0x0008;
constexpr DWORD ERROR_NO_TOKEN = 1008;

// GetTokenInformation classes. TokenElevation (Vista and later) answers a
// TOKEN_ELEVATION: one DWORD, nonzero when the token is elevated.
constexpr DWORD TokenGroups = 2;
constexpr DWORD TokenElevation = 20;
constexpr std::size_t kTokenElevationSize = 4;

struct SID_IDENTIFIER_AUTHORITY {
    BYTE Value[6] = {};
};
inline constexpr SID_IDENTIFIER_AUTHORITY SECURITY_NT_AUTHORITY = {{0, 0, 0, 0, 0, 5}};
constexpr DWORD SECURITY_BUILTIN_DOMAIN_RID = 0x20;
constexpr DWORD DOMAIN_ALIAS_RID_ADMINS = 0x220;

class Security {
public:
    virtual ~Security() = default;

    // Pseudo-handles of the calling thread and process.
    virtual HANDLE GetCurrentThread() = 0;
    virtual HANDLE GetCurrentProcess() = 0;
    virtual BOOL OpenThreadToken(HANDLE thread, DWORD desiredAccess, BOOL openAsSelf, HANDLE* token) = 0;
    virtual BOOL OpenProcessToken(HANDLE process, DWORD desiredAccess, HANDLE* token) = 0;
    // Fills `information` with the class's record as Windows lays it out for
    // this build (TOKEN_GROUPS: a DWORD count, then {PSID, DWORD attributes}
    // entries at pointer alignment, the SIDs after them inside the buffer).
    // A buffer too small fails with ERROR_INSUFFICIENT_BUFFER and sets
    // *returnLength to the size needed.
    virtual BOOL GetTokenInformation(HANDLE token, DWORD informationClass, void* information, DWORD informationLength,
                                     DWORD* returnLength) = 0;
    virtual BOOL AllocateAndInitializeSid(const SID_IDENTIFIER_AUTHORITY* authority, BYTE subAuthorityCount,
                                          DWORD subAuthority0, DWORD subAuthority1, DWORD subAuthority2,
                                          DWORD subAuthority3, DWORD subAuthority4, DWORD subAuthority5,
                                          DWORD subAuthority6, DWORD subAuthority7, PSID* sid) = 0;
    virtual BOOL EqualSid(PSID sid1, PSID sid2) = 0;
    virtual void* FreeSid(PSID sid) = 0;  // null on success
    virtual BOOL CloseHandle(HANDLE object) = 0;

    virtual DWORD GetLastError() = 0;
};

}  // namespace tw::platform
