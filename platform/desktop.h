// The desktop services of the user's session: the common Save dialog and the
// clipboard, with the global memory blocks the clipboard takes.
#pragma once
#include <cstddef>

#include "platform/win_types.h"

namespace tw::platform {

// Flags of the Save dialog.
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_EXPLORER = 0x00080000;
// CommDlgExtendedError: the buffer is too small for the chosen name.
constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;

// The fields of OPENFILENAMEA that the program sets and reads.
struct OPENFILENAMEA {
    HWND hwndOwner = 0;
    const char* lpstrFilter = nullptr;  // pairs of zero-ended texts, ended by an empty one
    DWORD nFilterIndex = 0;             // 1-based; the user's choice on return
    char* lpstrFile = nullptr;          // the initial name in, the chosen path out
    DWORD nMaxFile = 0;
    const char* lpstrTitle = nullptr;
    DWORD Flags = 0;
    const char* lpstrDefExt = nullptr;  // appended when the user types no extension
};

// Clipboard formats and global memory flags.
constexpr UINT CF_TEXT = 1;
constexpr UINT GMEM_MOVEABLE = 0x0002;

class Desktop {
public:
    virtual ~Desktop() = default;

    // The Save dialog: TRUE with the chosen path in lpstrFile, FALSE when the
    // user cancels (CommDlgExtendedError then gives 0) or the dialog fails.
    virtual BOOL GetSaveFileNameA(OPENFILENAMEA* ofn) = 0;
    virtual DWORD CommDlgExtendedError() = 0;

    virtual BOOL OpenClipboard(HWND owner) = 0;
    virtual BOOL EmptyClipboard() = 0;
    // The clipboard owns `memory` once this succeeds.
    virtual HANDLE SetClipboardData(UINT format, HANDLE memory) = 0;
    virtual BOOL CloseClipboard() = 0;
    virtual HANDLE GlobalAlloc(UINT flags, std::size_t bytes) = 0;
    virtual void* GlobalLock(HANDLE memory) = 0;
    virtual BOOL GlobalUnlock(HANDLE memory) = 0;
    virtual HANDLE GlobalFree(HANDLE memory) = 0;
    virtual DWORD GetLastError() = 0;
};

}  // namespace tw::platform
