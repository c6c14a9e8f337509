// The shell's folder browser. Our BROWSEINFOA carries the fields the program
// sets; the system's record is filled from it field by field.
#include "platform/win32/win32_platform.h"

// Our names, taken before the system headers make some of them macros.
namespace tw::platform::win32 {
using OurPidl = tw::platform::PIDLIST_ABSOLUTE;
using OurBrowseInfo = tw::platform::BROWSEINFOA;
constexpr UINT kOurReturnOnlyFsDirs = tw::platform::BIF_RETURNONLYFSDIRS;
}  // namespace tw::platform::win32

#include "platform/win32/windows_headers.h"
// After <windows.h>, which they need.
#include <objbase.h>
#include <shlobj.h>

static_assert(tw::platform::win32::kOurReturnOnlyFsDirs == BIF_RETURNONLYFSDIRS);

namespace tw::platform::win32 {

OurPidl Win32Shell::SHBrowseForFolderA(OurBrowseInfo* bi) {
    if (bi == nullptr) return 0;
    ::BROWSEINFOA native{};
    native.hwndOwner = reinterpret_cast<::HWND>(bi->hwndOwner);
    native.pidlRoot = reinterpret_cast<::PCIDLIST_ABSOLUTE>(bi->pidlRoot);
    native.pszDisplayName = bi->pszDisplayName;
    native.lpszTitle = bi->lpszTitle;
    native.ulFlags = bi->ulFlags;
    // The browser needs COM on this thread; a second initialisation is harmless.
    const HRESULT com = ::CoInitialize(nullptr);
    const auto picked = reinterpret_cast<OurPidl>(::SHBrowseForFolderA(&native));
    if (SUCCEEDED(com)) ::CoUninitialize();
    return picked;
}

BOOL Win32Shell::SHGetPathFromIDListA(OurPidl pidl, char* path) {
    return ::SHGetPathFromIDListA(reinterpret_cast<::PCIDLIST_ABSOLUTE>(pidl), path);
}

void Win32Shell::CoTaskMemFree(OurPidl pidl) { ::CoTaskMemFree(reinterpret_cast<void*>(pidl)); }

}  // namespace tw::platform::win32
