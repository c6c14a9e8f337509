#include "gui/win32/anchored_layout.h"

#include <algorithm>

namespace tw::gui {

namespace {

int At(LONG pixels, UINT from, UINT to) { return MulDiv(pixels, static_cast<int>(to), static_cast<int>(from)); }

}  // namespace

void AnchoredLayout::Capture(HWND window, UINT dpi, std::span<const ControlAnchor> anchors) {
    dpi_ = dpi;
    RECT client{};
    GetClientRect(window, &client);
    client_ = {client.right, client.bottom};
    RECT outer{};
    GetWindowRect(window, &outer);
    window_ = {outer.right - outer.left, outer.bottom - outer.top};
    placed_.clear();
    for (HWND control = GetWindow(window, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        unsigned edges = 0;
        for (const ControlAnchor& a : anchors) {
            if (GetDlgItem(window, a.control) == control) edges = a.edges;
        }
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        // A combo box's height is that of its open list, which its window
        // does not show while it is closed.
        char className[16] = {};
        RECT dropped{};
        if (GetClassNameA(control, className, sizeof className) && lstrcmpiA(className, "ComboBox") == 0 &&
            SendMessageA(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped))) {
            r.bottom = r.top + (dropped.bottom - dropped.top);
        }
        placed_.push_back({control, edges, r});
    }
}

void AnchoredLayout::Apply(HWND window, UINT dpi) const {
    if (placed_.empty()) return;
    RECT client{};
    GetClientRect(window, &client);
    // Never smaller than the smallest layout, whatever the window is.
    const int dx = std::max(0, static_cast<int>(client.right) - At(client_.cx, dpi_, dpi));
    const int dy = std::max(0, static_cast<int>(client.bottom) - At(client_.cy, dpi_, dpi));
    HDWP moves = BeginDeferWindowPos(static_cast<int>(placed_.size()));
    for (const Placed& p : placed_) {
        RECT r{At(p.rect.left, dpi_, dpi), At(p.rect.top, dpi_, dpi), At(p.rect.right, dpi_, dpi),
               At(p.rect.bottom, dpi_, dpi)};
        if (p.edges & kAnchorMoveRight) r.left += dx, r.right += dx;
        if (p.edges & kAnchorMoveDown) r.top += dy, r.bottom += dy;
        if (p.edges & kAnchorGrowWide) r.right += dx;
        if (p.edges & kAnchorGrowTall) r.bottom += dy;
        const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (moves) {
            moves = DeferWindowPos(moves, p.control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
        } else {
            SetWindowPos(p.control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
        }
    }
    if (moves) EndDeferWindowPos(moves);
    InvalidateRect(window, nullptr, TRUE);
}

void AnchoredLayout::LimitTracking(UINT dpi, MINMAXINFO& limits) const {
    if (placed_.empty()) return;
    limits.ptMinTrackSize.x = At(window_.cx, dpi_, dpi);
    limits.ptMinTrackSize.y = At(window_.cy, dpi_, dpi);
}

}  // namespace tw::gui
