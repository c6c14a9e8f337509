// Shell services: the folder browser, opening files and folders with a verb,
// starting programs by name, and late-bound automation objects.
#pragma once
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/com_result.h"
#include "platform/win_types.h"

namespace tw::platform {

// An item identifier list the shell allocates; 0 is none.
using PIDLIST_ABSOLUTE = std::uintptr_t;
// What ShellExecuteA and WinExec return: above 32 on success, otherwise an
// SE_ERR_ code (0: out of memory or resources).
using HINSTANCE = std::uintptr_t;
using DISPID = std::int32_t;
// An automation object the shell service handed out; 0 is none.
using AutomationObject = std::uintptr_t;

constexpr UINT BIF_RETURNONLYFSDIRS = 0x0001;

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;

// ShellExecuteA and WinExec failures.
constexpr HINSTANCE SE_ERR_FNF = 2;
constexpr HINSTANCE SE_ERR_PNF = 3;
constexpr HINSTANCE SE_ERR_ACCESSDENIED = 5;
constexpr HINSTANCE SE_ERR_OOM = 8;
constexpr HINSTANCE SE_ERR_BAD_FORMAT = 11;
constexpr HINSTANCE SE_ERR_SHARE = 26;
constexpr HINSTANCE SE_ERR_ASSOCINCOMPLETE = 27;
constexpr HINSTANCE SE_ERR_DDETIMEOUT = 28;
constexpr HINSTANCE SE_ERR_DDEFAIL = 29;
constexpr HINSTANCE SE_ERR_DDEBUSY = 30;
constexpr HINSTANCE SE_ERR_NOASSOC = 31;
constexpr HINSTANCE SE_ERR_DLLNOTFOUND = 32;

constexpr DWORD SEE_MASK_INVOKEIDLIST = 0x0000000C;
constexpr DWORD SEE_MASK_NOCLOSEPROCESS = 0x00000040;
constexpr DWORD SEE_MASK_FLAG_NO_UI = 0x00000400;

// Errors the shell's calls are refused with.
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr DWORD ERROR_BAD_FORMAT = 11;
constexpr DWORD ERROR_OUTOFMEMORY = 14;
constexpr DWORD ERROR_NO_ASSOCIATION = 1155;
constexpr DWORD ERROR_DDE_FAIL = 1156;
constexpr DWORD ERROR_DLL_NOT_FOUND = 1157;
constexpr DWORD ERROR_EXTENDED_ERROR = 1208;
constexpr DWORD ERROR_CANCELLED = 1223;

constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003u);
constexpr HRESULT DISP_E_UNKNOWNNAME = static_cast<HRESULT>(0x80020006u);
constexpr HRESULT DISP_E_EXCEPTION = static_cast<HRESULT>(0x80020009u);
constexpr HRESULT CO_E_CLASSSTRING = static_cast<HRESULT>(0x800401F3u);

// The system's code for what a failed ShellExecuteA or WinExec returned.
constexpr DWORD ErrorOfShellResult(HINSTANCE result) {
    switch (result) {
        case 0: return ERROR_OUTOFMEMORY;
        case SE_ERR_SHARE: return ERROR_SHARING_VIOLATION;
        case SE_ERR_ASSOCINCOMPLETE:
        case SE_ERR_NOASSOC: return ERROR_NO_ASSOCIATION;
        case SE_ERR_DDETIMEOUT:
        case SE_ERR_DDEFAIL:
        case SE_ERR_DDEBUSY: return ERROR_DDE_FAIL;
        case SE_ERR_DLLNOTFOUND: return ERROR_DLL_NOT_FOUND;
        default: return static_cast<DWORD>(result);  // 2, 3, 5, 8 and 11 are the system's codes
    }
}

struct BROWSEINFOA {
    HWND hwndOwner = 0;
    PIDLIST_ABSOLUTE pidlRoot = 0;   // 0: the desktop
    char* pszDisplayName = nullptr;  // MAX_PATH bytes
    const char* lpszTitle = nullptr;
    UINT ulFlags = 0;
};

// ---- SHELLEXECUTEINFOA ----

// Where its fields lie for one pointer width. Every field after the first
// two is pointer-sized or pointer-aligned except nShow and dwHotKey.
struct ShellExecuteInfoLayout {
    std::size_t pointerSize;
    std::size_t hwnd, lpVerb, lpFile, lpParameters, lpDirectory, nShow, hInstApp, lpIDList, lpClass, hkeyClass,
        dwHotKey, hIcon, hProcess, size;
};
inline constexpr ShellExecuteInfoLayout kShellExecuteInfo32{4, 8, 12, 16, 20, 24, 28, 32, 36, 40, 44, 48, 52, 56, 60};
inline constexpr ShellExecuteInfoLayout kShellExecuteInfo64{8, 8, 16, 24, 32, 40, 48, 56, 64, 72, 80, 88, 96, 104, 112};
inline constexpr ShellExecuteInfoLayout kShellExecuteInfo =
    sizeof(void*) == 4 ? kShellExecuteInfo32 : kShellExecuteInfo64;
static_assert(kShellExecuteInfo32.size == 60);
static_assert(kShellExecuteInfo32.hProcess + 4 == kShellExecuteInfo32.size);
static_assert(kShellExecuteInfo64.hProcess + 8 == kShellExecuteInfo64.size);
namespace shell_execute_info {
constexpr std::size_t kCbSize = 0;  // DWORD
constexpr std::size_t kFMask = 4;   // DWORD
}  // namespace shell_execute_info

using ShellExecuteRecord = std::array<BYTE, kShellExecuteInfo.size>;

// The request as values; strings are addresses in this process, 0 for none.
// The fields the program leaves unset are zero.
struct ShellExecuteRequest {
    DWORD cbSize = static_cast<DWORD>(kShellExecuteInfo.size);
    DWORD fMask = 0;
    HWND hwnd = 0;
    const char* lpVerb = nullptr;
    const char* lpFile = nullptr;
    const char* lpParameters = nullptr;
    const char* lpDirectory = nullptr;
    int nShow = 0;
    HINSTANCE hInstApp = 0;
    std::uintptr_t lpIDList = 0;
    HANDLE hProcess = 0;
};

// The record in a layout (an address wider than the layout's pointers keeps
// its low bytes), and in this build's.
std::vector<BYTE> EncodeShellExecuteInfo(const ShellExecuteRequest& request, const ShellExecuteInfoLayout& layout);
ShellExecuteRecord EncodeShellExecuteInfo(const ShellExecuteRequest& request);
// The fields of a record of this build; none when cbSize is not its size.
std::optional<ShellExecuteRequest> DecodeShellExecuteInfo(std::span<const BYTE> record);

class Shell {
public:
    virtual ~Shell() = default;

    // The folder the user picked, or 0 when the browser was cancelled.
    virtual PIDLIST_ABSOLUTE SHBrowseForFolderA(BROWSEINFOA* bi) = 0;
    // Copies the file-system path of `pidl` (MAX_PATH bytes).
    virtual BOOL SHGetPathFromIDListA(PIDLIST_ABSOLUTE pidl, char* path) = 0;
    virtual void CoTaskMemFree(PIDLIST_ABSOLUTE pidl) = 0;

    // Opens `file` with `operation` (null or "": the default verb).
    virtual HINSTANCE ShellExecuteA(HWND hwnd, const char* operation, const char* file, const char* parameters,
                                    const char* directory, int showCommand) = 0;
    // TRUE, or FALSE with the reason in GetLastError. The shell writes
    // hInstApp and, with SEE_MASK_NOCLOSEPROCESS, hProcess into the record.
    virtual BOOL ShellExecuteExA(ShellExecuteRecord& info) = 0;
    // Starts a command line; like ShellExecuteA's result.
    virtual UINT WinExec(const char* commandLine, UINT showCommand) = 0;
    // Closes a process handle ShellExecuteExA handed back.
    virtual BOOL CloseHandle(HANDLE object) = 0;
    virtual DWORD GetLastError() = 0;

    // Automation: CLSIDFromProgID and CoCreateInstance asking for IDispatch.
    virtual HRESULT CreateAutomationObject(const char* progId, AutomationObject* object) = 0;
    // IDispatch::GetIDsOfNames for one name.
    virtual HRESULT GetIDsOfNames(AutomationObject object, const char* name, DISPID* id) = 0;
    // IDispatch::Invoke of a method without arguments. A failure's
    // `description` is the object's own words for it (its exception or error
    // information), empty where it gives none.
    virtual HRESULT InvokeMethod(AutomationObject object, DISPID id, std::string& description) = 0;
    // The references left.
    virtual DWORD Release(AutomationObject object) = 0;
};

}  // namespace tw::platform
