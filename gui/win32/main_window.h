// TForm1's window: menu bar, toolbar, option panel, busy label, the drive
// list and the site address above and below it, all built from the form's
// components. It implements the view the
// logic drives and hands every user action back to the logic by name.
#pragma once
#include <memory>
#include <string>

#include "app/main_view.h"
#include "app/tform1.h"
#include "gui/win32/command_menus.h"
#include "gui/win32/drive_list_view.h"
#include "gui/win32/option_panel.h"
#include "gui/win32/tool_bar.h"
#include "gui/win32/tray_icon.h"
#include "gui/win32/window_class.h"

namespace tw::gui {

class MessagePump;

class MainWindow final : public Window, public MainView {
public:
    MainWindow(HICON icon, HICON smallIcon) : icon_(icon), smallIcon_(smallIcon) {}
    ~MainWindow() override;

    // Creates the window, still hidden, with its controls; false on failure.
    bool Create(TForm1& form);
    void Show(int showCommand);
    // Translates and dispatches one message of the thread's queue, through
    // the main window's accelerators.
    void Dispatch(MSG& msg);
    // The pump that ProcessMessages runs.
    void SetPump(const MessagePump* pump) { pump_ = pump; }

    // MainView.
    int ScreenWidth() override;
    void SetToolBarWidth(int pixels) override;
    void SetWindowWidth(int pixels) override;
    void ShowBusyLabel(bool visible) override;
    int GetHorzScrollPos() override;
    void ScrollHorz(int pixels) override;
    void BeginUpdate() override;
    void EndUpdate() override;
    void LockWindowUpdate(bool lock) override;
    void RowsChanged() override;
    void OptionsChanged() override;
    void ProcessMessages() override;
    void SetTimerEnabled(bool enabled) override;
    void SetDeviceChangeTimer(bool running) override;
    void SetStayOnTop(bool onTop) override;
    void SetListBold(bool bold) override;
    void Minimize() override;
    void HideWindow() override;
    void RestoreWindow() override;
    void CloseWindow() override;
    void PopupTrayMenu() override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    const MessagePump* pump_ = nullptr;
    // Runs a component's click, then shows the marks as they now are.
    void Route(ComponentSlot slot);
    // Places the children; a hidden window's wait for its showing, and a
    // placement for the same size, DPI and font leaves them where they are.
    void Layout();
    void PlaceChildren();
    void ShowShields();
    void ApplyDpi(UINT dpi);
    bool OnCommand(WPARAM wParam, LPARAM lParam);
    HWND List() const { return list_ ? list_->hwnd() : nullptr; }

    HICON icon_;
    HICON smallIcon_;
    TForm1* form_ = nullptr;
    std::unique_ptr<CommandMap> commands_;
    std::unique_ptr<ToolBar> toolBar_;
    std::unique_ptr<OptionPanel> options_;
    std::unique_ptr<DriveListView> list_;
    HWND busyLabel_ = nullptr;
    // Label2 and Label3: the site address at the top right and the bottom.
    HWND siteTop_ = nullptr;
    HWND siteBottom_ = nullptr;
    bool IsSiteLabel(HWND control) const { return control && (control == siteTop_ || control == siteBottom_); }
    HMENU menuBar_ = nullptr;
    HBITMAP shield_ = nullptr;  // the shield beside entries that ask for rights
    bool shieldsShown_ = false;
    // What the children were last placed for.
    struct Placement {
        LONG width = -1;
        LONG height = -1;
        UINT dpi = 0;
        int toolBarWidth = 0;
        HFONT font = nullptr;
        bool operator==(const Placement&) const = default;
    };
    Placement placed_;
    HACCEL accelerators_ = nullptr;
    HFONT font_ = nullptr;
    TrayIcon tray_;
    UINT dpi_ = 96;
    int toolBarWidth_ = 698;  // at 96 dpi
    UINT taskbarCreated_ = 0;
};

}  // namespace tw::gui
