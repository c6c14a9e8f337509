// The device, security and multimedia calls of the real backend. Each member
// forwards to the Win32 call of the same name; the last error is the system's.
#include "platform/win32/win32_platform.h"

// Our names, taken before the system headers define theirs.
namespace tw::platform::win32 {
using OurAuthority = tw::platform::SID_IDENTIFIER_AUTHORITY;
using OurOpenParms = tw::platform::MCI_OPEN_PARMSA;
constexpr UINT kOurMciOpen = tw::platform::MCI_OPEN;
constexpr UINT kOurMciClose = tw::platform::MCI_CLOSE;
}  // namespace tw::platform::win32

#include "platform/win32/windows_headers.h"
// After <windows.h>, which it needs.
#include <mmsystem.h>

namespace tw::platform::win32 {

namespace {

template <class Native, class Ours>
Native* AsNative(Ours* p) {
    static_assert(sizeof(Native) == sizeof(Ours) && alignof(Native) == alignof(Ours));
    return reinterpret_cast<Native*>(p);
}

::HANDLE Native(HANDLE h) { return reinterpret_cast<::HANDLE>(h); }

}  // namespace

// ---- Device ----

HANDLE Win32Device::CreateFileA(const char* fileName, DWORD desiredAccess, DWORD shareMode, void* securityAttributes,
                                DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile) {
    return reinterpret_cast<HANDLE>(::CreateFileA(fileName, desiredAccess, shareMode,
                                                  static_cast<LPSECURITY_ATTRIBUTES>(securityAttributes),
                                                  creationDisposition, flagsAndAttributes, Native(templateFile)));
}

BOOL Win32Device::DeviceIoControl(HANDLE device, DWORD ioControlCode, const void* inBuffer, DWORD inBufferSize,
                                  void* outBuffer, DWORD outBufferSize, DWORD* bytesReturned, void* overlapped) {
    // The system does not write the input buffer; its prototype predates const.
    return ::DeviceIoControl(Native(device), ioControlCode, const_cast<void*>(inBuffer), inBufferSize, outBuffer,
                             outBufferSize, AsNative<::DWORD>(bytesReturned), static_cast<LPOVERLAPPED>(overlapped));
}

BOOL Win32Device::CloseHandle(HANDLE object) { return ::CloseHandle(Native(object)); }
void Win32Device::Sleep(DWORD milliseconds) { ::Sleep(milliseconds); }
DWORD Win32Device::GetLastError() { return ::GetLastError(); }
void Win32Device::SetLastError(DWORD errorCode) { ::SetLastError(errorCode); }

// ---- Security ----

HANDLE Win32Security::GetCurrentThread() { return reinterpret_cast<HANDLE>(::GetCurrentThread()); }
HANDLE Win32Security::GetCurrentProcess() { return reinterpret_cast<HANDLE>(::GetCurrentProcess()); }

BOOL Win32Security::OpenThreadToken(HANDLE thread, DWORD desiredAccess, BOOL openAsSelf, HANDLE* token) {
    return ::OpenThreadToken(Native(thread), desiredAccess, openAsSelf, AsNative<::HANDLE>(token));
}

BOOL Win32Security::OpenProcessToken(HANDLE process, DWORD desiredAccess, HANDLE* token) {
    return ::OpenProcessToken(Native(process), desiredAccess, AsNative<::HANDLE>(token));
}

BOOL Win32Security::GetTokenInformation(HANDLE token, DWORD informationClass, void* information,
                                        DWORD informationLength, DWORD* returnLength) {
    return ::GetTokenInformation(Native(token), static_cast<::TOKEN_INFORMATION_CLASS>(informationClass), information,
                                 informationLength, AsNative<::DWORD>(returnLength));
}

BOOL Win32Security::AllocateAndInitializeSid(const OurAuthority* authority, BYTE subAuthorityCount, DWORD s0, DWORD s1,
                                             DWORD s2, DWORD s3, DWORD s4, DWORD s5, DWORD s6, DWORD s7, PSID* sid) {
    ::SID_IDENTIFIER_AUTHORITY native{};
    if (authority != nullptr) {
        for (int i = 0; i < 6; ++i) native.Value[i] = authority->Value[i];
    }
    return ::AllocateAndInitializeSid(authority ? &native : nullptr, subAuthorityCount, s0, s1, s2, s3, s4, s5, s6, s7,
                                      sid);
}

BOOL Win32Security::EqualSid(PSID sid1, PSID sid2) { return ::EqualSid(sid1, sid2); }
void* Win32Security::FreeSid(PSID sid) { return ::FreeSid(sid); }
BOOL Win32Security::CloseHandle(HANDLE object) { return ::CloseHandle(Native(object)); }
DWORD Win32Security::GetLastError() { return ::GetLastError(); }

// ---- Multimedia ----

MCIERROR Win32Multimedia::mciSendStringA(const char* command, char* returnString, UINT returnLength, HWND callback) {
    const auto call = reinterpret_cast<decltype(&::mciSendStringA)>(winmm_.Export("mciSendStringA"));
    if (call == nullptr) return MCIERR_CANNOT_LOAD_DRIVER;
    return call(command, returnString, returnLength, reinterpret_cast<::HWND>(callback));
}

MCIERROR Win32Multimedia::mciSendCommandA(MCIDEVICEID device, UINT message, std::uintptr_t flags, OurOpenParms* parms) {
    const auto send = reinterpret_cast<decltype(&::mciSendCommandA)>(winmm_.Export("mciSendCommandA"));
    if (send == nullptr) return MCIERR_CANNOT_LOAD_DRIVER;
    if (parms == nullptr) return send(device, message, flags, 0);
    // The block the program sends with MCI_OPEN and MCI_CLOSE.
    static_assert(kOurMciOpen == MCI_OPEN && kOurMciClose == MCI_CLOSE);
    ::MCI_OPEN_PARMSA native{};
    native.dwCallback = parms->dwCallback;
    native.wDeviceID = parms->wDeviceID;
    native.lpstrDeviceType = parms->lpstrDeviceType;
    native.lpstrElementName = parms->lpstrElementName;
    native.lpstrAlias = parms->lpstrAlias;
    const MCIERROR result = send(device, message, flags, reinterpret_cast<DWORD_PTR>(&native));
    parms->wDeviceID = native.wDeviceID;
    return result;
}

}  // namespace tw::platform::win32
