// Controls that follow a resizable window's edges: each keeps its place,
// moves with the right or bottom edge, or grows with them. The places the
// window was made with are its smallest layout, and the window cannot be
// made smaller than that. Places are kept with the DPI they were taken at
// and scaled to the window's DPI now, so every control keeps its proportions
// after the window moves to a monitor of another DPI.
#pragma once
#include <span>
#include <vector>

#include "gui/win32/win_headers.h"

namespace tw::gui {

enum AnchorEdge : unsigned {
    kAnchorMoveRight = 1,  // keeps its distance to the right edge
    kAnchorMoveDown = 2,   // keeps its distance to the bottom edge
    kAnchorGrowWide = 4,   // its right edge follows the window's
    kAnchorGrowTall = 8,   // its bottom edge follows the window's
};

struct ControlAnchor {
    int control;
    unsigned edges;  // AnchorEdge bits
};

class AnchoredLayout {
public:
    // Takes the window's size and every control's place as they are now, at
    // `dpi`; call once the controls exist. Controls not in `anchors` keep
    // their place.
    void Capture(HWND window, UINT dpi, std::span<const ControlAnchor> anchors);
    // Places the controls for the window's client size now, at `dpi` (WM_SIZE).
    void Apply(HWND window, UINT dpi) const;
    // The smallest window at `dpi`: the size it was made with (WM_GETMINMAXINFO).
    void LimitTracking(UINT dpi, MINMAXINFO& limits) const;

private:
    struct Placed {
        HWND control;
        unsigned edges;
        RECT rect;  // in the client area, at dpi_
    };
    std::vector<Placed> placed_;
    SIZE client_{};
    SIZE window_{};
    UINT dpi_ = 96;
};

}  // namespace tw::gui
