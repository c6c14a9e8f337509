// The program's secondary windows: each its own window class named after the
// form, created hidden and owned by the main window. Closing one hides it.
#pragma once
#include <string>

#include "gui/win32/parked_window.h"
#include "gui/win32/window_class.h"

namespace tw::gui {

class FormWindow : public Window {
public:
    FormWindow(std::string className, std::string caption)
        : className_(std::move(className)), caption_(std::move(caption)) {}

    void CreateHidden(HWND owner, HICON icon, int width96, int height96, UINT dpi);
    // Makes the window a top-level one and its controls, once: at its first
    // showing, so that the windows made at start-up cost little before the
    // list is on screen.
    void Fill();
    // Shows the window modally over its owner until it hides itself.
    void ShowModal();
    void EndModal() { modal_ = false; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Lets a window build its controls (and take the size that holds them).
    virtual void CreateControls(UINT) {}

private:
    std::string className_;
    std::string caption_;
    ParkedWindow parked_;
    bool modal_ = false;
    bool filled_ = false;
};

}  // namespace tw::gui
