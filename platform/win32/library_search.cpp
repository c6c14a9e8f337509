// The process's library search, narrowed before anything else runs: the
// system folder only where the system can be told so, and never the current
// folder. Both calls are looked up, as the oldest systems lack them.
#include "platform/real_platform.h"
#include "platform/win32/windows_headers.h"

namespace tw::platform {

void RestrictLibrarySearch() {
    const ::HMODULE kernel32 = ::GetModuleHandleA("kernel32.dll");
    if (kernel32 == nullptr) return;
    using SetDefaultDirectories = ::BOOL(WINAPI*)(::DWORD);
    using SetDirectory = ::BOOL(WINAPI*)(::LPCSTR);
    if (const auto set = reinterpret_cast<SetDefaultDirectories>(
            reinterpret_cast<void (*)()>(::GetProcAddress(kernel32, "SetDefaultDllDirectories")))) {
        set(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    // An empty folder takes the current folder out of the search.
    if (const auto set = reinterpret_cast<SetDirectory>(
            reinterpret_cast<void (*)()>(::GetProcAddress(kernel32, "SetDllDirectoryA")))) {
        set("");
    }
}

}  // namespace tw::platform
