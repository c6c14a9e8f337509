// The platform calls the simulated machine answers. Each has one name, the
// one a machine file's faults and refusals and a test's call counts use; the
// table below is the only place it is spelt, and the compiler checks that it
// lists every call in order.
#pragma once
#include <cstddef>
#include <iterator>
#include <optional>
#include <string_view>

namespace tw::sim {

enum class SimCall {
    // Kernel
    GetLogicalDrives,
    GetLogicalDriveStringsA,
    GetDriveTypeA,
    GetVolumeInformationA,
    GetDiskFreeSpaceExA,
    GetDiskFreeSpaceA,
    SetErrorMode,
    QueryDosDeviceA,
    DefineDosDeviceA,
    GetVersionExA,
    GetSystemDirectoryA,
    GetWindowsDirectoryA,
    GetModuleFileNameA,
    FormatMessageA,
    GetFileAttributesA,
    CreateFileA,
    ReadFile,
    WriteFile,
    SetFilePointer,
    CloseHandle,
    DeleteFileA,
    FindFirstVolumeA,
    FindNextVolumeA,
    FindVolumeClose,
    GetVolumePathNamesForVolumeNameA,
    // Registry
    RegCreateKeyExA,
    RegQueryValueExA,
    RegSetValueExA,
    RegCloseKey,
    RegOpenKeyExA,
    RegDeleteValueA,
    // Network
    WNetGetConnectionA,
    WNetConnectionDialog,
    WNetDisconnectDialog,
    // Locale
    GetLocaleInfoA,
    // Shell
    SHBrowseForFolderA,
    SHGetPathFromIDListA,
    CoTaskMemFree,
    ShellExecuteA,
    ShellExecuteExA,
    WinExec,
    CreateAutomationObject,
    GetIDsOfNames,
    InvokeMethod,
    Release,
    // Device
    DeviceIoControl,
    Sleep,
    // Security
    OpenThreadToken,
    OpenProcessToken,
    GetTokenInformation,
    AllocateAndInitializeSid,
    EqualSid,
    FreeSid,
    // Multimedia
    mciSendStringA,
    mciSendCommandA,
    // Modules
    LoadLibraryExA,
    GetProcAddress,
    FreeLibrary,
    Chkdsk,
    // Management service
    ExecQuery,
    // Desktop
    GetSaveFileNameA,
    OpenClipboard,
    EmptyClipboard,
    SetClipboardData,
    CloseClipboard,
    GlobalAlloc,
    kCount  // not a call: how many there are
};

inline constexpr std::size_t kSimCallCount = static_cast<std::size_t>(SimCall::kCount);

// A call that reports no failure is counted but never fails: no fault
// watches it.
inline constexpr bool kNeverFails = true;

struct SimCallEntry {
    SimCall call;
    std::string_view name;
    bool neverFails = false;
};

inline constexpr SimCallEntry kSimCalls[] = {
    {SimCall::GetLogicalDrives, "GetLogicalDrives"},
    {SimCall::GetLogicalDriveStringsA, "GetLogicalDriveStringsA"},
    {SimCall::GetDriveTypeA, "GetDriveTypeA"},
    {SimCall::GetVolumeInformationA, "GetVolumeInformationA"},
    {SimCall::GetDiskFreeSpaceExA, "GetDiskFreeSpaceExA"},
    {SimCall::GetDiskFreeSpaceA, "GetDiskFreeSpaceA"},
    {SimCall::SetErrorMode, "SetErrorMode", kNeverFails},
    {SimCall::QueryDosDeviceA, "QueryDosDeviceA"},
    {SimCall::DefineDosDeviceA, "DefineDosDeviceA"},
    {SimCall::GetVersionExA, "GetVersionExA"},
    {SimCall::GetSystemDirectoryA, "GetSystemDirectoryA"},
    {SimCall::GetWindowsDirectoryA, "GetWindowsDirectoryA"},
    {SimCall::GetModuleFileNameA, "GetModuleFileNameA"},
    {SimCall::FormatMessageA, "FormatMessageA"},
    {SimCall::GetFileAttributesA, "GetFileAttributesA"},
    {SimCall::CreateFileA, "CreateFileA"},
    {SimCall::ReadFile, "ReadFile"},
    {SimCall::WriteFile, "WriteFile"},
    {SimCall::SetFilePointer, "SetFilePointer"},
    {SimCall::CloseHandle, "CloseHandle", kNeverFails},
    {SimCall::DeleteFileA, "DeleteFileA"},
    {SimCall::FindFirstVolumeA, "FindFirstVolumeA"},
    {SimCall::FindNextVolumeA, "FindNextVolumeA"},
    {SimCall::FindVolumeClose, "FindVolumeClose"},
    {SimCall::GetVolumePathNamesForVolumeNameA, "GetVolumePathNamesForVolumeNameA"},
    {SimCall::RegCreateKeyExA, "RegCreateKeyExA"},
    {SimCall::RegQueryValueExA, "RegQueryValueExA"},
    {SimCall::RegSetValueExA, "RegSetValueExA"},
    {SimCall::RegCloseKey, "RegCloseKey", kNeverFails},
    {SimCall::RegOpenKeyExA, "RegOpenKeyExA"},
    {SimCall::RegDeleteValueA, "RegDeleteValueA"},
    {SimCall::WNetGetConnectionA, "WNetGetConnectionA"},
    {SimCall::WNetConnectionDialog, "WNetConnectionDialog"},
    {SimCall::WNetDisconnectDialog, "WNetDisconnectDialog"},
    {SimCall::GetLocaleInfoA, "GetLocaleInfoA"},
    {SimCall::SHBrowseForFolderA, "SHBrowseForFolderA"},
    {SimCall::SHGetPathFromIDListA, "SHGetPathFromIDListA"},
    {SimCall::CoTaskMemFree, "CoTaskMemFree", kNeverFails},
    {SimCall::ShellExecuteA, "ShellExecuteA"},
    {SimCall::ShellExecuteExA, "ShellExecuteExA"},
    {SimCall::WinExec, "WinExec"},
    {SimCall::CreateAutomationObject, "CreateAutomationObject"},
    {SimCall::GetIDsOfNames, "GetIDsOfNames"},
    {SimCall::InvokeMethod, "InvokeMethod"},
    {SimCall::Release, "Release"},
    {SimCall::DeviceIoControl, "DeviceIoControl"},
    {SimCall::Sleep, "Sleep", kNeverFails},
    {SimCall::OpenThreadToken, "OpenThreadToken"},
    {SimCall::OpenProcessToken, "OpenProcessToken"},
    {SimCall::GetTokenInformation, "GetTokenInformation"},
    {SimCall::AllocateAndInitializeSid, "AllocateAndInitializeSid"},
    {SimCall::EqualSid, "EqualSid", kNeverFails},
    {SimCall::FreeSid, "FreeSid", kNeverFails},
    {SimCall::mciSendStringA, "mciSendStringA"},
    {SimCall::mciSendCommandA, "mciSendCommandA"},
    {SimCall::LoadLibraryExA, "LoadLibraryExA"},
    {SimCall::GetProcAddress, "GetProcAddress"},
    {SimCall::FreeLibrary, "FreeLibrary"},
    {SimCall::Chkdsk, "Chkdsk"},
    {SimCall::ExecQuery, "ExecQuery"},
    {SimCall::GetSaveFileNameA, "GetSaveFileNameA"},
    {SimCall::OpenClipboard, "OpenClipboard"},
    {SimCall::EmptyClipboard, "EmptyClipboard"},
    {SimCall::SetClipboardData, "SetClipboardData"},
    {SimCall::CloseClipboard, "CloseClipboard"},
    {SimCall::GlobalAlloc, "GlobalAlloc"},
};

constexpr bool ListsEveryCallInOrder() {
    if (std::size(kSimCalls) != kSimCallCount) return false;
    for (std::size_t i = 0; i < kSimCallCount; ++i) {
        if (static_cast<std::size_t>(kSimCalls[i].call) != i) return false;
    }
    return true;
}
static_assert(ListsEveryCallInOrder());

constexpr std::string_view CallName(SimCall call) { return kSimCalls[static_cast<std::size_t>(call)].name; }
constexpr bool NeverFails(SimCall call) { return kSimCalls[static_cast<std::size_t>(call)].neverFails; }

// The call of that exact name, none for a name the machine does not answer.
constexpr std::optional<SimCall> FindCall(std::string_view name) {
    for (const SimCallEntry& entry : kSimCalls) {
        if (entry.name == name) return entry.call;
    }
    return std::nullopt;
}

}  // namespace tw::sim
