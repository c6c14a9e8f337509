// The common Save dialog (comdlg32) and the clipboard. Our OPENFILENAMEA
// carries the fields the program sets; the system's record is filled from it
// field by field and the user's choice copied back.
#include "platform/win32/win32_platform.h"

// Our names, taken before the system headers make some of them macros.
namespace tw::platform::win32 {
using OurOpenFileName = tw::platform::OPENFILENAMEA;
constexpr DWORD kOurOverwritePrompt = tw::platform::OFN_OVERWRITEPROMPT;
constexpr DWORD kOurHideReadOnly = tw::platform::OFN_HIDEREADONLY;
constexpr DWORD kOurNoChangeDir = tw::platform::OFN_NOCHANGEDIR;
constexpr DWORD kOurPathMustExist = tw::platform::OFN_PATHMUSTEXIST;
constexpr DWORD kOurExplorer = tw::platform::OFN_EXPLORER;
constexpr DWORD kOurBufferTooSmall = tw::platform::FNERR_BUFFERTOOSMALL;
constexpr UINT kOurText = tw::platform::CF_TEXT;
constexpr UINT kOurMoveable = tw::platform::GMEM_MOVEABLE;
constexpr DWORD kOurClipboardNotOpen = tw::platform::ERROR_CLIPBOARD_NOT_OPEN;
}  // namespace tw::platform::win32

#include "platform/win32/windows_headers.h"
// After <windows.h>, which they need.
#include <cderr.h>
#include <commdlg.h>

static_assert(tw::platform::win32::kOurOverwritePrompt == OFN_OVERWRITEPROMPT);
static_assert(tw::platform::win32::kOurHideReadOnly == OFN_HIDEREADONLY);
static_assert(tw::platform::win32::kOurNoChangeDir == OFN_NOCHANGEDIR);
static_assert(tw::platform::win32::kOurPathMustExist == OFN_PATHMUSTEXIST);
static_assert(tw::platform::win32::kOurExplorer == OFN_EXPLORER);
static_assert(tw::platform::win32::kOurBufferTooSmall == FNERR_BUFFERTOOSMALL);
static_assert(tw::platform::win32::kOurText == CF_TEXT);
static_assert(tw::platform::win32::kOurMoveable == GMEM_MOVEABLE);
static_assert(tw::platform::win32::kOurClipboardNotOpen == ERROR_CLIPBOARD_NOT_OPEN);

namespace tw::platform::win32 {

BOOL Win32Desktop::GetSaveFileNameA(OurOpenFileName* ofn) {
    if (ofn == nullptr) return FALSE;
    ::OPENFILENAMEA native{};
    native.lStructSize = sizeof native;
    native.hwndOwner = reinterpret_cast<::HWND>(ofn->hwndOwner);
    native.lpstrFilter = ofn->lpstrFilter;
    native.nFilterIndex = ofn->nFilterIndex;
    native.lpstrFile = ofn->lpstrFile;
    native.nMaxFile = ofn->nMaxFile;
    native.lpstrTitle = ofn->lpstrTitle;
    native.Flags = ofn->Flags;
    native.lpstrDefExt = ofn->lpstrDefExt;
    const BOOL chosen = ::GetSaveFileNameA(&native);
    ofn->nFilterIndex = native.nFilterIndex;
    return chosen;
}

DWORD Win32Desktop::CommDlgExtendedError() { return ::CommDlgExtendedError(); }

BOOL Win32Desktop::OpenClipboard(HWND owner) { return ::OpenClipboard(reinterpret_cast<::HWND>(owner)); }

BOOL Win32Desktop::EmptyClipboard() { return ::EmptyClipboard(); }

HANDLE Win32Desktop::SetClipboardData(UINT format, HANDLE memory) {
    return reinterpret_cast<HANDLE>(::SetClipboardData(format, reinterpret_cast<::HANDLE>(memory)));
}

BOOL Win32Desktop::CloseClipboard() { return ::CloseClipboard(); }

HANDLE Win32Desktop::GlobalAlloc(UINT flags, std::size_t bytes) {
    return reinterpret_cast<HANDLE>(::GlobalAlloc(flags, bytes));
}

void* Win32Desktop::GlobalLock(HANDLE memory) { return ::GlobalLock(reinterpret_cast<::HGLOBAL>(memory)); }

BOOL Win32Desktop::GlobalUnlock(HANDLE memory) {
    // FALSE also when the block is now unlocked; the caller asks GetLastError.
    return ::GlobalUnlock(reinterpret_cast<::HGLOBAL>(memory));
}

HANDLE Win32Desktop::GlobalFree(HANDLE memory) {
    return reinterpret_cast<HANDLE>(::GlobalFree(reinterpret_cast<::HGLOBAL>(memory)));
}

DWORD Win32Desktop::GetLastError() { return ::GetLastError(); }

}  // namespace tw::platform::win32
