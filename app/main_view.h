// The main window as the form logic sees it. The real window implements it
// with controls; the script runner and tests implement it in memory.
#pragma once

namespace tw {

class MainView {
public:
    virtual ~MainView() = default;

    virtual int ScreenWidth() = 0;
    virtual void SetToolBarWidth(int pixels) = 0;
    virtual void SetWindowWidth(int pixels) = 0;

    // Label5 "Refreshing ...": shown and painted at once, or hidden.
    virtual void ShowBusyLabel(bool visible) = 0;
    virtual int GetHorzScrollPos() = 0;
    virtual void ScrollHorz(int pixels) = 0;
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
    // Locks the list against painting, or unlocks all painting.
    virtual void LockWindowUpdate(bool lock) = 0;
    // Rows, selection or the option marks changed: read them from the form.
    virtual void RowsChanged() = 0;
    virtual void OptionsChanged() = 0;
    // Runs pending window messages once.
    virtual void ProcessMessages() = 0;

    virtual void SetTimerEnabled(bool enabled) = 0;
    // The one-second wait after a device came or went: (re)started, or stopped.
    virtual void SetDeviceChangeTimer(bool running) = 0;
    virtual void SetStayOnTop(bool onTop) = 0;
    virtual void SetListBold(bool bold) = 0;
    virtual void Minimize() = 0;
    virtual void HideWindow() = 0;
    virtual void RestoreWindow() = 0;
    virtual void CloseWindow() = 0;
    // PopupMenu2 at the cursor.
    virtual void PopupTrayMenu() = 0;
};

}  // namespace tw
