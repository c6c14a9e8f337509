#include "gui/win32/tray_icon.h"

#include "app/tform1.h"

namespace tw::gui {

void TrayIcon::Add(HWND owner, HICON icon, const char* tip) {
    data_ = NOTIFYICONDATAA{};
    data_.cbSize = sizeof data_;
    data_.hWnd = owner;
    data_.uID = 1;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = tw::kTrayCallbackMessage;
    data_.hIcon = icon;
    lstrcpynA(data_.szTip, tip, static_cast<int>(sizeof data_.szTip));
    added_ = Shell_NotifyIconA(NIM_ADD, &data_) != FALSE;
}

void TrayIcon::Readd() {
    if (data_.hWnd) added_ = Shell_NotifyIconA(NIM_ADD, &data_) != FALSE;
}

void TrayIcon::Remove() {
    if (data_.hWnd) Shell_NotifyIconA(NIM_DELETE, &data_);
    added_ = false;
    data_.hWnd = nullptr;
}

}  // namespace tw::gui
