#include "gui/win32/window_class.h"

#include <exception>

namespace tw::gui {

namespace {

std::function<void(const std::string&)>& ErrorDisplay() {
    static std::function<void(const std::string&)> display;
    return display;
}

}  // namespace

void Window::SetErrorDisplay(std::function<void(const std::string&)> display) { ErrorDisplay() = std::move(display); }

void Window::ShowError(const std::string& text) {
    // A box pumps messages; an error in a message it pumps (a repaint) must
    // not stack a box on the box.
    static bool showing = false;
    if (showing) return;
    showing = true;
    try {
        if (ErrorDisplay()) {
            ErrorDisplay()(text);
        } else {
            MessageBoxA(nullptr, text.c_str(), nullptr, MB_ICONERROR | MB_OK);
        }
    } catch (...) {
    }
    showing = false;
}

Window::~Window() {
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

void Window::RegisterClassOnce(const char* className, HICON icon, HICON smallIcon) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (GetClassInfoExA(instance, className, &existing)) return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = &Window::Proc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hIconSm = smallIcon;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    RegisterClassExA(&wc);
}

HWND Window::Create(const char* className, const char* caption, DWORD style, DWORD exStyle, HWND owner, HMENU menu,
                    int x, int y, int width, int height) {
    return CreateWindowExA(exStyle, className, caption, style, x, y, width, height, owner, menu,
                           GetModuleHandleA(nullptr), this);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

LRESULT Window::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* self = create ? static_cast<Window*>(create->lpCreateParams) : nullptr;
        if (self) {
            self->hwnd_ = hwnd;
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    try {
        result = self->HandleMessage(message, wParam, lParam);
    } catch (const std::exception& e) {
        // Nothing may unwind through the system's dispatch code, and no
        // failure may vanish: the error is shown and the message handled as
        // the system would.
        ShowError(e.what());
        result = DefWindowProcA(hwnd, message, wParam, lParam);
    } catch (...) {
        ShowError("An unexpected error occurred.");
        result = DefWindowProcA(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

}  // namespace tw::gui
