#include "platform/win32/system_library.h"

#include <string>

#include "platform/win32/windows_headers.h"

namespace tw::platform::win32 {

bool SystemTakesSearchFlags() {
    const ::HMODULE kernel32 = ::GetModuleHandleA("kernel32.dll");
    return kernel32 && ::GetProcAddress(kernel32, "SetDefaultDllDirectories");
}

void* LoadSystemLibrary(const char* name) {
    char folder[MAX_PATH + 1] = {};
    const UINT length = ::GetSystemDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) return nullptr;
    std::string path(folder, length);
    if (path.back() != '\\') path += '\\';
    path += name;
    const ::DWORD flags = SystemTakesSearchFlags() ? LOAD_LIBRARY_SEARCH_SYSTEM32 : 0;
    return ::LoadLibraryExA(path.c_str(), nullptr, flags);
}

AnyFunction SystemLibrary::Export(const char* name) {
    if (module_ == nullptr) module_ = LoadSystemLibrary(name_);
    if (module_ == nullptr) return nullptr;
    return reinterpret_cast<AnyFunction>(::GetProcAddress(static_cast<::HMODULE>(module_), name));
}

}  // namespace tw::platform::win32
