#include "gui/win32/optical_info/optical_info_window.h"

#include "app/tfrm_optical_info.h"
#include "gui/win32/optical_info/optical_info_ids.h"
#include "gui/win32/picture.h"
#include "gui/win32/resource_ids.h"
#include "gui/win32/rights_line.h"

namespace tw::gui {

namespace {

struct FieldControl {
    OpticalControl id;
    int control;
};

constexpr FieldControl kFields[] = {
    {OpticalControl::Vendor, IDC_OPTICAL_VENDOR},
    {OpticalControl::Product, IDC_OPTICAL_PRODUCT},
    {OpticalControl::Revision, IDC_OPTICAL_REVISION},
    {OpticalControl::VendorSpecific, IDC_OPTICAL_VENDOR_SPEC},
};

constexpr RightsLineControls kRights{IDC_OPTICAL_RIGHTS, IDC_OPTICAL_RESTART, IDC_OPTICAL_CAPABILITIES};

// The largest rectangle of the picture's shape centred in `area`.
RECT FitInto(const RECT& area, int width, int height) {
    const int w = area.right - area.left;
    const int h = area.bottom - area.top;
    int fitW = w;
    int fitH = width > 0 ? MulDiv(w, height, width) : h;
    if (fitH > h) {
        fitH = h;
        fitW = height > 0 ? MulDiv(h, width, height) : w;
    }
    const int left = area.left + (w - fitW) / 2;
    const int top = area.top + (h - fitH) / 2;
    return {left, top, left + fitW, top + fitH};
}

}  // namespace

OpticalInfoWindow::OpticalInfoWindow() : FormDialog(IDD_OPTICAL_INFO), picture_(IDR_OPTICAL_PICTURE) {}

OpticalInfoWindow::~OpticalInfoWindow() {
    if (headingFont_) DeleteObject(headingFont_);
}

void OpticalInfoWindow::OnInitDialog() {
    headingFont_ = CreateHeadingFont(4);
    if (headingFont_) {
        SendDlgItemMessageA(hwnd(), IDC_OPTICAL_TITLE, WM_SETFONT, reinterpret_cast<WPARAM>(headingFont_), FALSE);
    }
    // Two columns that share the list's width; the lines run down the first
    // and go on in the second.
    HWND list = Item(IDC_OPTICAL_CAPABILITIES);
    RECT client{};
    GetClientRect(list, &client);
    SendMessageA(list, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(client.right / 2), 0);
    InitRightsLine(hwnd(), kRights);
}

bool OpticalInfoWindow::OnCommand(int id, int notifyCode) {
    switch (id) {
        case IDOK: return true;  // Enter in the chooser or a field closes nothing
        case IDC_OPTICAL_DRIVE: {
            // While the controls are being set they notify too; only the
            // user's own changes go to the logic.
            if (Busy() || !form_) return true;
            if (notifyCode == CBN_SELCHANGE) {
                const int index = static_cast<int>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0));
                if (index >= 0) Route([this, index] { form_->Choose(OpticalControl::DriveChooser, index); });
            } else if (notifyCode == CBN_EDITCHANGE) {
                const std::string text = ControlText(Item(id));
                Route([this, &text] { form_->TypeText(OpticalControl::DriveChooser, text); });
            }
            return true;
        }
        case IDC_OPTICAL_OPEN_TRAY: Route([this] { form_->Click(OpticalControl::OpenTray); }); return true;
        case IDC_OPTICAL_CLOSE_TRAY: Route([this] { form_->Click(OpticalControl::CloseTray); }); return true;
        case IDC_OPTICAL_ANALYSE: Route([this] { form_->Click(OpticalControl::AnalyseDisk); }); return true;
        case IDC_OPTICAL_RESTART: Route([this] { form_->Click(RightsControl::Restart); }); return true;
        default: return false;
    }
}

INT_PTR OpticalInfoWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (wParam != IDC_OPTICAL_PICTURE || !item) break;
            FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_BTNFACE));
            // Decoded at the window's first paint, not when it is created.
            if (const BgrImage* picture = picture_.Get()) {
                PaintPicture(item->hDC, *picture, FitInto(item->rcItem, picture->width, picture->height));
            }
            return TRUE;
        }
        default: break;
    }
    return FormDialog::HandleMessage(message, wParam, lParam);
}

void OpticalInfoWindow::Sync() {
    if (!form_ || !hwnd()) return;
    SyncChooser();
    for (const FieldControl& field : kFields) SetTextIfChanged(Item(field.control), form_->Get(field.id).text);
    SyncCapabilities();
    SyncRightsLine(hwnd(), *form_, kRights);
}

void OpticalInfoWindow::SyncChooser() {
    const Component& chooser = form_->Get(OpticalControl::DriveChooser);
    HWND combo = Item(IDC_OPTICAL_DRIVE);
    SetComboItems(combo, chooser.items, chooserItems_);
    const int shown = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
    if (chooser.itemIndex >= 0) {
        if (shown != chooser.itemIndex || ControlText(combo) != chooser.text) {
            SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(chooser.itemIndex), 0);
        }
    } else if (ControlText(combo) != chooser.text) {
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        SetWindowTextA(combo, chooser.text.c_str());
    }
}

void OpticalInfoWindow::SyncCapabilities() {
    const Component& capabilities = form_->Get(OpticalControl::Capabilities);
    HWND list = Item(IDC_OPTICAL_CAPABILITIES);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& line : capabilities.items) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

}  // namespace tw::gui
