// Shell services: the folder browser.
#pragma once
#include "platform/win_types.h"

namespace tw::platform {

// An item identifier list the shell allocates; 0 is none.
using PIDLIST_ABSOLUTE = std::uintptr_t;

constexpr UINT BIF_RETURNONLYFSDIRS = 0x0001;

struct BROWSEINFOA {
    HWND hwndOwner = 0;
    PIDLIST_ABSOLUTE pidlRoot = 0;   // 0: the desktop
    char* pszDisplayName = nullptr;  // MAX_PATH bytes
    const char* lpszTitle = nullptr;
    UINT ulFlags = 0;
};

class Shell {
public:
    virtual ~Shell() = default;

    // The folder the user picked, or 0 when the browser was cancelled.
    virtual PIDLIST_ABSOLUTE SHBrowseForFolderA(BROWSEINFOA* bi) = 0;
    // Copies the file-system path of `pidl` (MAX_PATH bytes).
    virtual BOOL SHGetPathFromIDListA(PIDLIST_ABSOLUTE pidl, char* path) = 0;
    virtual void CoTaskMemFree(PIDLIST_ABSOLUTE pidl) = 0;
};

}  // namespace tw::platform
