// The option panel: one real check box per check-box component. Clicks go to
// the window as WM_COMMAND with the component's id; the boxes never change
// their own mark, Sync sets every mark from the components.
#pragma once
#include <vector>

#include "app/tform1.h"
#include "gui/win32/command_menus.h"
#include "gui/win32/win_headers.h"

namespace tw::gui {

class OptionPanel {
public:
    OptionPanel(const TForm1& form, const CommandMap& commands) : form_(form), commands_(commands) {}

    void Create(HWND parent);
    // Lays the boxes out in a row from (left, top); returns the row's height.
    int Layout(int left, int top, UINT dpi, HFONT font);
    // The width the row takes with the given font.
    int Width(UINT dpi, HFONT font);
    void Sync();

private:
    struct Box {
        HWND hwnd;
        ComponentSlot slot;
        int width = 0;  // with the font and dpi last measured
    };
    // Gives the boxes the font and measures them, once per font and dpi.
    void Measure(UINT dpi, HFONT font);

    const TForm1& form_;
    const CommandMap& commands_;
    std::vector<Box> boxes_;
    HFONT measuredFont_ = nullptr;
    UINT measuredDpi_ = 0;
};

}  // namespace tw::gui
