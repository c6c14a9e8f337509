#include "gui/win32/main_window.h"

#include <algorithm>
#include <vector>

#include <dbt.h>

#include "gui/win32/about_box.h"
#include "gui/win32/dpi.h"
#include "gui/win32/message_dialogs.h"
#include "gui/win32/message_pump.h"

namespace tw::gui {

namespace {

constexpr UINT kToolBarId = 10;
constexpr UINT kListId = 11;
constexpr UINT kBusyLabelId = 12;
constexpr UINT_PTR kTimerId = 1;
constexpr UINT_PTR kDeviceChangeTimerId = 2;
// Adds the notification-area icon once the shown list has been painted.
constexpr UINT_PTR kTrayTimerId = 3;
// The notification icon loads the shell, which the list does not need: it
// comes a moment after the list is on screen.
constexpr UINT kTrayDelayMs = 1000;
constexpr const char* kClassName = "TForm1";
// Posted as the application becomes active: the activation's refresh runs
// once the system's activation is over, as an application object's own
// activation event does.
constexpr UINT kActivatedMessage = WM_APP + 0x50;

// The private menu-loop messages and the notification-icon callback; the
// logic sees them before the window does.
static_assert(tw::kDeviceArrival == DBT_DEVICEARRIVAL);
static_assert(tw::kDeviceRemoveComplete == DBT_DEVICEREMOVECOMPLETE);
static_assert(tw::kDeviceTypeVolume == DBT_DEVTYP_VOLUME);

bool IsFormMessage(UINT message) {
    return (message >= 0xAFFD && message <= 0xAFFF) || message == tw::kTrayCallbackMessage;
}

// The system's shield, drawn into a bitmap with its transparency, as a menu
// entry shows it; none where the shell has no such icon.
HBITMAP ShieldBitmap(int size) {
    SHSTOCKICONINFO shield{};
    shield.cbSize = sizeof shield;
    if (FAILED(SHGetStockIconInfo(SIID_SHIELD, SHGSI_ICON | SHGSI_SMALLICON, &shield)) || !shield.hIcon) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = dc ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (bitmap) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        DrawIconEx(dc, 0, 0, shield.hIcon, size, size, 0, nullptr, DI_NORMAL);
        SelectObject(dc, old);
    }
    if (dc) DeleteDC(dc);
    DestroyIcon(shield.hIcon);
    return bitmap;
}

}  // namespace

MainWindow::~MainWindow() {
    tray_.Remove();
    if (accelerators_) DestroyAcceleratorTable(accelerators_);
    if (font_) DeleteObject(font_);
    if (shield_) DeleteObject(shield_);
}

bool MainWindow::Create(TForm1& form) {
    form_ = &form;
    commands_ = std::make_unique<CommandMap>(form);
    toolBar_ = std::make_unique<ToolBar>(form, *commands_);
    options_ = std::make_unique<OptionPanel>(form, *commands_);
    list_ = std::make_unique<DriveListView>(
        form.Rows(), DriveListView::Events{
                         [this](int index, std::vector<int> marked) {
                             form_->Select(index);
                             form_->Mark(std::move(marked));
                         },
                         [this] { Route(*form_->SlotOf(KeyOf(MainCommand::Explore))); },
                         [this](POINT at) {
                             if (auto chosen = TrackPopup(hwnd(), *form_, *commands_, KeyOf(MainMenu::ListPopup), at))
                                 Route(*chosen);
                         },
                     });

    RegisterClassOnce(kClassName, icon_, smallIcon_);
    menuBar_ = BuildMenuBar(form, *commands_);
    const UINT startDpi = DpiOf(nullptr);
    Window::Create(kClassName, kProgramName, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, nullptr, menuBar_, CW_USEDEFAULT,
                   CW_USEDEFAULT, Scale(800, startDpi), Scale(480, startDpi));
    if (!hwnd()) return false;
    dpi_ = DpiOf(hwnd());
    font_ = CreateMessageFont(dpi_);

    toolBar_->Create(hwnd(), kToolBarId, font_);
    options_->Create(hwnd());
    busyLabel_ = CreateWindowExA(0, "STATIC", "Refreshing ...", WS_CHILD | SS_LEFT | SS_CENTERIMAGE, 0, 0, 0, 0, hwnd(),
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kBusyLabelId)),
                                 GetModuleHandleA(nullptr), nullptr);
    SendMessageA(busyLabel_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    // Made in the font it is shown in: each change of font lays the list out again.
    list_->SetBold(form.Get(MainOption::Bold).checked);
    list_->Create(hwnd(), kListId, dpi_);
    // The site address: a link-blue label whose click the form handles.
    auto siteLabel = [&](MainCommand id) {
        HWND label = CreateWindowExA(0, "STATIC", form.Get(id).caption.c_str(),
                                     WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_RIGHT | SS_CENTERIMAGE, 0, 0, 0, 0, hwnd(),
                                     reinterpret_cast<HMENU>(static_cast<UINT_PTR>(commands_->IdOf(id))),
                                     GetModuleHandleA(nullptr), nullptr);
        SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        return label;
    };
    siteTop_ = siteLabel(MainCommand::SiteLabelTop);
    siteBottom_ = siteLabel(MainCommand::SiteLabelBottom);
    accelerators_ = BuildAccelerators(form, *commands_);
    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
    Layout();
    return true;
}

void MainWindow::ShowShields() {
    // Entries that ask for an administrator's rights carry the shield. The
    // shell's picture of it is asked for when a menu first opens: loading
    // the shell would hold up the list's first showing.
    if (shieldsShown_ || !form_) return;
    shieldsShown_ = true;
    for (ComponentSlot slot = 0; slot < form_->ComponentCount(); ++slot) {
        if (!form_->At(slot).shield || !form_->At(slot).visible) continue;
        if (!shield_) shield_ = ShieldBitmap(GetSystemMetrics(SM_CXSMICON));
        if (!shield_) return;
        MENUITEMINFOA item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_BITMAP;
        item.hbmpItem = shield_;
        SetMenuItemInfoA(menuBar_, commands_->IdOf(slot), FALSE, &item);
    }
}

void MainWindow::Show(int showCommand) {
    // No painting forced here: the activation's refresh, posted, comes
    // before the paint messages, and the first painting shows its rows.
    ShowWindow(hwnd(), showCommand);
    SetForegroundWindow(hwnd());
    if (List()) SetFocus(List());
    // Timer messages come only once the window has taken its paint
    // messages, so the icon never holds up the list's first painting.
    SetTimer(hwnd(), kTrayTimerId, kTrayDelayMs, nullptr);
}

void MainWindow::Dispatch(MSG& msg) {
    const bool ours = hwnd() && (msg.hwnd == hwnd() || IsChild(hwnd(), msg.hwnd));
    if (ours && accelerators_ && TranslateAcceleratorA(hwnd(), accelerators_, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

void MainWindow::Route(ComponentSlot slot) {
    if (!form_) return;
    form_->ClickAt(slot);
    OptionsChanged();
}

bool MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    const auto slot = commands_ ? commands_->SlotOf(id) : std::nullopt;
    if (!slot) return false;
    // Controls report many things; only a click counts.
    if (lParam != 0 && HIWORD(wParam) != BN_CLICKED) return false;
    Route(*slot);
    return true;
}

void MainWindow::Layout() {
    // Each placement of the list costs its relayout; a hidden window's
    // children are placed once, when it is shown.
    if (hwnd() && !IsWindowVisible(hwnd())) return;
    PlaceChildren();
}

void MainWindow::PlaceChildren() {
    if (!hwnd() || !toolBar_ || !toolBar_->hwnd() || !List()) return;
    RECT client{};
    GetClientRect(hwnd(), &client);
    // The showing sizes the window as it was: the children stay where they are.
    const Placement placement{client.right, client.bottom, dpi_, toolBarWidth_, font_};
    if (placement == placed_) return;
    placed_ = placement;
    const int gap = Scale(4, dpi_);
    const int toolBarHeight = toolBar_->Height();
    MoveWindow(toolBar_->hwnd(), 0, 0, Scale(toolBarWidth_, dpi_), toolBarHeight, TRUE);
    int y = toolBarHeight + gap / 2;
    const int optionsHeight = options_->Layout(gap * 2, y, dpi_, font_);
    const int labelLeft = gap * 2 + options_->Width(dpi_, font_) + gap * 3;
    MoveWindow(busyLabel_, labelLeft, y, std::max(0, static_cast<int>(client.right) - labelLeft - gap), optionsHeight,
               TRUE);
    y += optionsHeight + gap;
    const int toolBarRight = Scale(toolBarWidth_, dpi_) + gap;
    MoveWindow(siteTop_, toolBarRight, 0, std::max(0, static_cast<int>(client.right) - toolBarRight - gap * 2),
               toolBarHeight, TRUE);
    const int siteHeight = Scale(20, dpi_);
    const int listBottom = std::max(y, static_cast<int>(client.bottom) - siteHeight);
    MoveWindow(List(), 0, y, client.right, listBottom - y, TRUE);
    MoveWindow(siteBottom_, gap * 2, listBottom, std::max(0, static_cast<int>(client.right) - gap * 4),
               static_cast<int>(client.bottom) - listBottom, TRUE);
}

void MainWindow::ApplyDpi(UINT dpi) {
    dpi_ = dpi;
    HFONT old = font_;
    font_ = CreateMessageFont(dpi_);
    toolBar_->SetFont(font_);
    SendMessageA(busyLabel_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    for (HWND label : {siteTop_, siteBottom_}) SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    list_->SetDpi(dpi_);
    if (old) DeleteObject(old);
    Layout();
}

// ---- MainView ----

int MainWindow::ScreenWidth() {
    // The logic thinks in 96-dpi pixels, as it sizes the window in them.
    return Unscale(GetSystemMetrics(SM_CXSCREEN), dpi_);
}

void MainWindow::SetToolBarWidth(int pixels) {
    toolBarWidth_ = pixels;
    Layout();
}

void MainWindow::SetWindowWidth(int pixels) {
    RECT rc{};
    GetWindowRect(hwnd(), &rc);
    if (rc.right - rc.left == Scale(pixels, dpi_)) return;
    SetWindowPos(hwnd(), nullptr, 0, 0, Scale(pixels, dpi_), rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::ShowBusyLabel(bool visible) {
    ShowWindow(busyLabel_, visible ? SW_SHOW : SW_HIDE);
    if (visible) UpdateWindow(busyLabel_);
}

int MainWindow::GetHorzScrollPos() { return GetScrollPos(List(), SB_HORZ); }

void MainWindow::ScrollHorz(int pixels) {
    // The position the logic remembered, whatever the list kept meanwhile.
    ListView_Scroll(List(), pixels - GetScrollPos(List(), SB_HORZ), 0);
}

void MainWindow::BeginUpdate() { SendMessageA(List(), WM_SETREDRAW, FALSE, 0); }

void MainWindow::EndUpdate() {
    SendMessageA(List(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(List(), nullptr, TRUE);
}

void MainWindow::LockWindowUpdate(bool lock) { ::LockWindowUpdate(lock ? List() : nullptr); }

void MainWindow::RowsChanged() {
    if (list_ && form_) list_->ShowRows(form_->Selected(), form_->Marked());
}

void MainWindow::OptionsChanged() {
    if (!form_) return;
    if (options_) options_->Sync();
    SyncMenuChecks(menuBar_, *form_, *commands_);
}

void MainWindow::ProcessMessages() {
    if (pump_) {
        pump_->ProcessPending();
    } else {
        MessagePump(this, nullptr).ProcessPending();
    }
}

void MainWindow::SetTimerEnabled(bool enabled) {
    if (enabled) {
        SetTimer(hwnd(), kTimerId, static_cast<UINT>(tw::kTimerInterval), nullptr);
    } else {
        KillTimer(hwnd(), kTimerId);
    }
}

void MainWindow::SetDeviceChangeTimer(bool running) {
    if (running) {
        SetTimer(hwnd(), kDeviceChangeTimerId, static_cast<UINT>(tw::kDeviceChangeDelay), nullptr);
    } else {
        KillTimer(hwnd(), kDeviceChangeTimerId);
    }
}

void MainWindow::SetStayOnTop(bool onTop) {
    SetWindowPos(hwnd(), onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainWindow::SetListBold(bool bold) {
    if (list_) list_->SetBold(bold);
}

void MainWindow::Minimize() { ShowWindow(hwnd(), SW_MINIMIZE); }

void MainWindow::HideWindow() { ShowWindow(hwnd(), SW_HIDE); }

void MainWindow::RestoreWindow() {
    if (!IsWindowVisible(hwnd())) ShowWindow(hwnd(), SW_SHOW);
    if (IsIconic(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
    SetForegroundWindow(hwnd());
}

void MainWindow::CloseWindow() { PostMessageA(hwnd(), WM_CLOSE, 0, 0); }

void MainWindow::PopupTrayMenu() {
    POINT at{};
    GetCursorPos(&at);
    // Without this the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(hwnd());
    auto chosen = TrackPopup(hwnd(), *form_, *commands_, KeyOf(MainMenu::TrayPopup), at);
    PostMessageA(hwnd(), WM_NULL, 0, 0);
    if (chosen) Route(*chosen);
}

// ---- messages ----

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (form_ && IsFormMessage(message)) {
        if (auto answer =
                form_->WndProc(message, static_cast<std::uintptr_t>(wParam), static_cast<std::intptr_t>(lParam))) {
            return static_cast<LRESULT>(*answer);
        }
    }
    if (taskbarCreated_ && message == taskbarCreated_) {
        tray_.Readd();
        return 0;
    }
    switch (message) {
        case WM_COMMAND:
            if (OnCommand(wParam, lParam)) return 0;
            break;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            LRESULT result = 0;
            if (header && toolBar_ && toolBar_->OnNotify(header, result, [this](ComponentSlot slot) { Route(slot); })) {
                return result;
            }
            if (header && list_ && list_->OnNotify(header, result)) return result;
            break;
        }
        case WM_NOTIFYFORMAT:
            if (lParam == NF_QUERY) return NFR_ANSI;
            break;
        case WM_SIZE: Layout(); return 0;
        case WM_DPICHANGED: {
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            ApplyDpi(HIWORD(wParam));
            if (suggested) {
                SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                             suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
            }
            return 0;
        }
        case WM_SHOWWINDOW:
            if (wParam) PlaceChildren();
            break;
        case WM_INITMENUPOPUP: ShowShields(); break;
        case WM_ACTIVATEAPP:
            if (wParam) PostMessageA(hwnd(), kActivatedMessage, 0, 0);
            return 0;
        case kActivatedMessage:
            if (form_) form_->ApplicationEvents1Activate();
            return 0;
        case WM_TIMER:
            if (wParam == kTimerId && form_) {
                form_->Timer1Timer();
                return 0;
            }
            if (wParam == kDeviceChangeTimerId && form_) {
                form_->DeviceChangeTimer();
                return 0;
            }
            if (wParam == kTrayTimerId) {
                KillTimer(hwnd(), kTrayTimerId);
                tray_.Add(hwnd(), smallIcon_, kProgramName);
                return 0;
            }
            break;
        case WM_DEVICECHANGE:
            // Arrivals and removals carry a record whose header names the device type.
            if (form_ && (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE) && lParam != 0) {
                const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
                form_->DeviceChange(static_cast<unsigned>(wParam), static_cast<unsigned>(header->dbch_devicetype));
            }
            return TRUE;
        case WM_CONTEXTMENU:
            // The keyboard's menu key on the list: the pop-up opens at the selected row.
            if (reinterpret_cast<HWND>(wParam) == List() && lParam == -1) {
                POINT at{0, 0};
                RECT row{};
                const int selected = ListView_GetNextItem(List(), -1, LVNI_SELECTED);
                if (selected >= 0 && ListView_GetItemRect(List(), selected, &row, LVIR_LABEL)) {
                    at = POINT{row.left, row.bottom};
                }
                ClientToScreen(List(), &at);
                if (auto chosen = TrackPopup(hwnd(), *form_, *commands_, KeyOf(MainMenu::ListPopup), at))
                    Route(*chosen);
                return 0;
            }
            break;
        case WM_CTLCOLORSTATIC:
            if (IsSiteLabel(reinterpret_cast<HWND>(lParam))) {
                HDC dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, RGB(0, 0, 204));
                SetBkMode(dc, TRANSPARENT);
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
            }
            break;
        case WM_SETCURSOR:
            if (IsSiteLabel(reinterpret_cast<HWND>(wParam))) {
                SetCursor(LoadCursorA(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        case WM_SETFOCUS:
            if (List()) SetFocus(List());
            return 0;
        case WM_CLOSE: DestroyWindow(hwnd()); return 0;
        case WM_DESTROY:
            KillTimer(hwnd(), kTimerId);
            KillTimer(hwnd(), kDeviceChangeTimerId);
            KillTimer(hwnd(), kTrayTimerId);
            tray_.Remove();
            PostQuitMessage(0);
            return 0;
        default: break;
    }
    return Default(message, wParam, lParam);
}

}  // namespace tw::gui
