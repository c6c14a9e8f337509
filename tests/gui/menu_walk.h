// Walking a menu bar for an entry by caption; runs inside the program's own
// process (see menu_probe.cpp), where its menus can be read.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace gui_test {

// The caption as the user reads it: no "&" marks, no shortcut after a tab.
inline std::string PlainCaption(const char* text) {
    std::string out;
    for (const char* p = text; *p && *p != '\t'; ++p) {
        if (*p != '&') out += *p;
    }
    return out;
}

inline std::optional<UINT> FindMenuCommand(HMENU menu, const std::string& caption) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING | MIIM_ID | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = sizeof text - 1;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        if (info.hSubMenu) {
            if (auto found = FindMenuCommand(info.hSubMenu, caption)) return found;
        } else if (PlainCaption(text) == caption) {
            return info.wID;
        }
    }
    return std::nullopt;
}

// The command id of the n-th entry (from 0) of the menu and its sub-menus,
// in the order they show; none past the last.
inline std::optional<UINT> NthMenuCommand(HMENU menu, UINT& n) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            if (auto found = NthMenuCommand(sub, n)) return found;
            continue;
        }
        if (n-- == 0) return GetMenuItemID(menu, i);
    }
    return std::nullopt;
}

// What the driver asks the probe, in memory it allocated in the program.
struct MenuProbeRequest {
    HWND window;
    UINT id;
    char caption[256];
};

inline constexpr DWORD kProbeFailed = 0xFFFFFFFFu;

}  // namespace gui_test
