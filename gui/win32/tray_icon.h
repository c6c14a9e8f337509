// The notification-area icon: its messages come to the main window as
// kTrayCallbackMessage.
#pragma once
#include "gui/win32/win_headers.h"

namespace tw::gui {

class TrayIcon {
public:
    ~TrayIcon() { Remove(); }

    void Add(HWND owner, HICON icon, const char* tip);
    // Puts the icon back after the taskbar restarted.
    void Readd();
    void Remove();

private:
    NOTIFYICONDATAA data_{};
    bool added_ = false;
};

}  // namespace tw::gui
