// A top-level window of our own class: the C++ object travels through
// CREATESTRUCT::lpCreateParams into GWLP_USERDATA, and every message after
// that reaches the object's HandleMessage.
#pragma once
#include <functional>
#include <string>

#include "gui/win32/win_headers.h"

namespace tw::gui {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }

    // Where an error that reaches a window procedure is shown: the program's
    // default error display. Without one it goes to a plain message box.
    static void SetErrorDisplay(std::function<void(const std::string&)> display);

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
    static void ShowError(const std::string& text);

    HWND hwnd_ = nullptr;
};

}  // namespace tw::gui
