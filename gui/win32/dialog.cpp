#include "gui/win32/dialog.h"

#include "gui/win32/modal.h"

#include <string>

namespace tw::gui {

Dialog::~Dialog() {
    if (hwnd_) {
        // No message may reach the object while it dies.
        SetWindowLongPtrA(hwnd_, DWLP_USER, 0);
        DestroyWindow(hwnd_);
    }
}

bool Dialog::CreateHidden(HWND owner) {
    if (hwnd_) return true;
    CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner, &Dialog::Proc,
                       reinterpret_cast<LPARAM>(this));
    return hwnd_ != nullptr;
}

void Dialog::CenterOverOwner() { gui::CenterOverOwner(hwnd_); }

void Dialog::ShowModal() {
    if (!hwnd_ || modal_) return;
    RunModal(hwnd_, &modal_);
}

void Dialog::ShowModeless() {
    if (!hwnd_) return;
    if (!IsWindowVisible(hwnd_)) CenterOverOwner();
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(hwnd_);
}

HFONT Dialog::CreateHeadingFont(int extraPoints) const {
    auto font = reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0));
    LOGFONTA face{};
    if (!font || !GetObjectA(font, sizeof face, &face)) return nullptr;
    HDC dc = GetDC(hwnd_);
    face.lfHeight -= MulDiv(extraPoints, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(hwnd_, dc);
    face.lfWeight = FW_BOLD;
    return CreateFontIndirectA(&face);
}

INT_PTR Dialog::HandleMessage(UINT, WPARAM, LPARAM) { return FALSE; }

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: OnInitDialog(); return TRUE;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (OnCommand(id, HIWORD(wParam))) return TRUE;
            if (id == IDOK || id == IDCANCEL) {
                SendMessageA(hwnd_, WM_CLOSE, 0, 0);
                return TRUE;
            }
            break;
        }
        case WM_CLOSE:
            // Closing hides: the window is made once and lives with the program.
            OnClose();
            if (modal_) {
                EndModal();
            } else {
                ShowWindow(hwnd_, SW_HIDE);
            }
            return TRUE;
        default: break;
    }
    return HandleMessage(message, wParam, lParam);
}

INT_PTR CALLBACK Dialog::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Dialog*>(lParam);
        if (!self) return FALSE;
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    }
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!self) return FALSE;
    INT_PTR result = FALSE;
    try {
        result = self->Dispatch(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the system's dispatch code.
        result = FALSE;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

std::string ControlText(HWND control) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace tw::gui
