// A top-level window of our own class: the C++ object travels through
// CREATESTRUCT::lpCreateParams into GWLP_USERDATA, and every message after
// that reaches the object's HandleMessage.
#pragma once
#include "gui/win32/win_headers.h"

namespace tw::gui {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }

protected:
    // Registers the class once per process; later calls are no-ops.
    static void RegisterClassOnce(const char* className, HICON icon, HICON smallIcon);
    // Creates the window; WM_NCCREATE already reaches HandleMessage.
    HWND Create(const char* className, const char* caption, DWORD style, DWORD exStyle, HWND owner, HMENU menu, int x,
                int y, int width, int height);
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

}  // namespace tw::gui
