// The one message pump of the GUI thread. Every message goes first to the
// keyboard interface of a shown modeless dialog (Tab, Escape, mnemonics),
// then to the main window's accelerators, then to its window procedure. The
// main loop runs it, and so do the waits that keep the windows alive while a
// handler waits for a device.
#pragma once
#include "gui/win32/win_headers.h"

namespace tw::gui {

class MainWindow;
class MessageDialogs;

class MessagePump {
public:
    // Either may be null (a window tested alone).
    MessagePump(MainWindow* view, const MessageDialogs* dialogs) : view_(view), dialogs_(dialogs) {}

    void Dispatch(MSG& msg) const;
    // The messages waiting now; a WM_QUIT is posted again for the main loop.
    void ProcessPending() const;
    // Until WM_QUIT; its exit code.
    int Run() const;

private:
    MainWindow* view_;
    const MessageDialogs* dialogs_;
};

}  // namespace tw::gui
