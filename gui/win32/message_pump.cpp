#include "gui/win32/message_pump.h"

#include "gui/win32/main_window.h"
#include "gui/win32/message_dialogs.h"

namespace tw::gui {

void MessagePump::Dispatch(MSG& msg) const {
    if (dialogs_ && dialogs_->HandledByDialog(msg)) return;
    if (view_) {
        view_->Dispatch(msg);
        return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

void MessagePump::ProcessPending() const {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // for the main loop to see
            break;
        }
        Dispatch(msg);
    }
}

int MessagePump::Run() const {
    MSG msg{};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) Dispatch(msg);
    return static_cast<int>(msg.wParam);
}

}  // namespace tw::gui
