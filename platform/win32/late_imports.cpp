// The shell, COM, its automation and the common dialogs, bound at their first
// call. The program imports them from no library: each function's import
// slot (the pointer the compiler calls through for a dllimport function) is
// defined here and first points at a stand-in that loads the library from the
// system folder by full path, points the slot at the real function and calls
// it. A library in the import table would be loaded, with everything it
// imports in turn, before the program's first line runs; these are needed
// only once the user asks for something.
//
// Two threads binding the same function at once write the same address; the
// write of an aligned pointer is whole on every processor Windows runs on.
#include <type_traits>

#include "platform/win32/system_library.h"
#include "platform/win32/windows_headers.h"
// After <windows.h>, which they need.
#include <commdlg.h>
#include <objbase.h>
#include <oleauto.h>
#include <shellapi.h>
#include <shlobj.h>

namespace {

// The export `name` of the system library `library`. The libraries are part
// of every Windows the program runs on, so a miss means a damaged system: the
// program says so and ends rather than call nothing.
tw::platform::win32::AnyFunction Bound(const char* library, const char* name) {
    if (void* module = tw::platform::win32::LoadSystemLibrary(library)) {
        if (FARPROC found = GetProcAddress(static_cast<HMODULE>(module), name)) {
            return reinterpret_cast<tw::platform::win32::AnyFunction>(found);
        }
    }
    FatalAppExitA(0, "A part of Windows this program needs is missing (shell32, ole32, oleaut32 or comdlg32).");
    return nullptr;
}

}  // namespace

// The slot's linker name: "__imp__Name@8" for a 32-bit stdcall function (the
// size of its arguments), "__imp_Name" on x86-64.
#ifdef _WIN64
#define TW_SLOT_NAME(name, bytes) "__imp_" #name
#else
#define TW_SLOT_NAME(name, bytes) "__imp__" #name "@" #bytes
#endif

// One function: its stand-in, checked against the system header's
// declaration, and its slot.
#define TW_LATE(library, bytes, Result, name, params, args)                                  \
    extern "C" Result WINAPI tw_late_##name params;                                          \
    static_assert(std::is_same_v<decltype(&tw_late_##name), decltype(&::name)>);             \
    extern "C" decltype(&tw_late_##name) tw_slot_##name asm(TW_SLOT_NAME(name, bytes));      \
    decltype(&tw_late_##name) tw_slot_##name = &tw_late_##name;                              \
    extern "C" Result WINAPI tw_late_##name params {                                         \
        tw_slot_##name = reinterpret_cast<decltype(&tw_late_##name)>(Bound(library, #name)); \
        return tw_slot_##name args;                                                          \
    }

// shell32
TW_LATE("shell32.dll", 8, LPWSTR*, CommandLineToArgvW, (LPCWSTR line, int* count), (line, count))
TW_LATE("shell32.dll", 4, PIDLIST_ABSOLUTE, SHBrowseForFolderA, (LPBROWSEINFOA info), (info))
TW_LATE("shell32.dll", 8, BOOL, SHGetPathFromIDListA, (PCIDLIST_ABSOLUTE list, LPSTR path), (list, path))
TW_LATE("shell32.dll", 12, HRESULT, SHGetStockIconInfo, (SHSTOCKICONID id, UINT flags, SHSTOCKICONINFO* info),
        (id, flags, info))
TW_LATE("shell32.dll", 24, HINSTANCE, ShellExecuteA,
        (HWND window, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show),
        (window, operation, file, parameters, directory, show))
TW_LATE("shell32.dll", 4, BOOL, ShellExecuteExA, (SHELLEXECUTEINFOA * info), (info))
TW_LATE("shell32.dll", 8, BOOL, Shell_NotifyIconA, (DWORD message, PNOTIFYICONDATAA data), (message, data))

// ole32
TW_LATE("ole32.dll", 8, HRESULT, CLSIDFromProgID, (LPCOLESTR progId, LPCLSID clsid), (progId, clsid))
TW_LATE("ole32.dll", 20, HRESULT, CoCreateInstance,
        (REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object),
        (clsid, outer, context, iid, object))
TW_LATE("ole32.dll", 4, HRESULT, CoInitialize, (LPVOID reserved), (reserved))
TW_LATE("ole32.dll", 8, HRESULT, CoInitializeEx, (LPVOID reserved, DWORD model), (reserved, model))
TW_LATE("ole32.dll", 36, HRESULT, CoInitializeSecurity,
        (PSECURITY_DESCRIPTOR descriptor, LONG count, SOLE_AUTHENTICATION_SERVICE* services, void* reserved1,
         DWORD authentication, DWORD impersonation, void* list, DWORD capabilities, void* reserved3),
        (descriptor, count, services, reserved1, authentication, impersonation, list, capabilities, reserved3))
TW_LATE("ole32.dll", 32, HRESULT, CoSetProxyBlanket,
        (IUnknown * proxy, DWORD service, DWORD authorization, OLECHAR* principal, DWORD authentication,
         DWORD impersonation, RPC_AUTH_IDENTITY_HANDLE identity, DWORD capabilities),
        (proxy, service, authorization, principal, authentication, impersonation, identity, capabilities))
TW_LATE("ole32.dll", 4, void, CoTaskMemFree, (LPVOID memory), (memory))
TW_LATE("ole32.dll", 0, void, CoUninitialize, (), ())
TW_LATE("ole32.dll", 8, HRESULT, GetErrorInfo, (ULONG reserved, IErrorInfo** info), (reserved, info))

// oleaut32
TW_LATE("oleaut32.dll", 4, BSTR, SysAllocString, (const OLECHAR* text), (text))
TW_LATE("oleaut32.dll", 4, void, SysFreeString, (BSTR text), (text))
TW_LATE("oleaut32.dll", 4, UINT, SysStringLen, (BSTR text), (text))
TW_LATE("oleaut32.dll", 16, HRESULT, VariantChangeType, (VARIANTARG * to, VARIANTARG* from, USHORT flags, VARTYPE type),
        (to, from, flags, type))
TW_LATE("oleaut32.dll", 4, HRESULT, VariantClear, (VARIANTARG * value), (value))
TW_LATE("oleaut32.dll", 4, void, VariantInit, (VARIANTARG * value), (value))

// comdlg32
TW_LATE("comdlg32.dll", 0, DWORD, CommDlgExtendedError, (), ())
TW_LATE("comdlg32.dll", 4, BOOL, GetSaveFileNameA, (LPOPENFILENAMEA info), (info))
