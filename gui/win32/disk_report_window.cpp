#include "gui/win32/disk_report_window.h"

#include <utility>

#include "app/rights_line.h"
#include "gui/win32/dpi.h"

namespace tw::gui {

DiskReportWindow::DiskReportWindow(const ReportLayout& layout) : FormDialog(layout.templateId), layout_(layout) {}

namespace {

// `base` at `scale`/`of` of its size, `extraPoints` larger at `dpi`, bold
// when asked.
HFONT ScaledFont(HFONT base, int scale, int of, int extraPoints, UINT dpi, bool bold) {
    LOGFONTA face{};
    if (!base || !GetObjectA(base, sizeof face, &face)) return nullptr;
    face.lfHeight = MulDiv(face.lfHeight, scale, of);
    face.lfHeight -= face.lfHeight < 0 ? MulDiv(extraPoints, static_cast<int>(dpi), 72)
                                       : -MulDiv(extraPoints, static_cast<int>(dpi), 72);
    if (bold) face.lfWeight = FW_BOLD;
    return CreateFontIndirectA(&face);
}

}  // namespace

DiskReportWindow::~DiskReportWindow() {
    for (HFONT font : {headingFont_, badgeFont_, scaledFont_}) {
        if (font) DeleteObject(font);
    }
}

void DiskReportWindow::OnInitDialog() {
    dpi_ = DpiOf(hwnd());
    const auto font = reinterpret_cast<HFONT>(SendMessageA(hwnd(), WM_GETFONT, 0, 0));
    headingFont_ = ScaledFont(font, 1, 1, 4, dpi_, true);
    if (headingFont_) {
        SendDlgItemMessageA(hwnd(), layout_.title, WM_SETFONT, reinterpret_cast<WPARAM>(headingFont_), FALSE);
    }
    badgeFont_ = ScaledFont(font, 1, 1, 2, dpi_, true);
    if (layout_.table) ReportTable::Style(Item(layout_.table));
    InitRightsLine(hwnd(), layout_.rights);
    anchors_.Capture(hwnd(), dpi_, layout_.anchors);
}

void DiskReportWindow::ApplyDpi(UINT dpi, const RECT* suggested) {
    if (dpi != dpi_ && dpi != 0) {
        const auto current = reinterpret_cast<HFONT>(SendDlgItemMessageA(hwnd(), layout_.chooser, WM_GETFONT, 0, 0));
        HFONT font = ScaledFont(current, static_cast<int>(dpi), static_cast<int>(dpi_), 0, dpi, false);
        HFONT heading = ScaledFont(font, 1, 1, 4, dpi, true);
        HFONT badge = ScaledFont(font, 1, 1, 2, dpi, true);
        for (HWND c = GetWindow(hwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            HFONT use = GetDlgCtrlID(c) == layout_.title ? heading : font;
            if (use) SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(use), FALSE);
        }
        for (HFONT old : {headingFont_, badgeFont_, scaledFont_}) {
            if (old) DeleteObject(old);
        }
        scaledFont_ = font;
        headingFont_ = heading;
        badgeFont_ = badge;
        dpi_ = dpi;
    }
    if (suggested) {
        SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    anchors_.Apply(hwnd(), dpi_);
}

void DiskReportWindow::Click(ComponentKey component) {
    if (Busy() || !form_) return;
    Route([this, component] { form_->ClickAt(form_->SlotFor(component)); });
}

bool DiskReportWindow::TakeKey(WPARAM key, bool control) {
    if (key == VK_F5 && !control && layout_.refresh) {
        Click(layout_.refreshComponent);
        return true;
    }
    if (key == 'C' && control && layout_.copy) {
        HWND focus = GetFocus();
        char className[16] = {};
        if (focus && GetClassNameA(focus, className, sizeof className) && lstrcmpiA(className, "Edit") == 0) {
            DWORD start = 0, end = 0;
            SendMessageA(focus, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            if (start != end) return false;
        }
        Click(layout_.copyComponent);
        return true;
    }
    return false;
}

bool DiskReportWindow::OnCommand(int id, int notifyCode) {
    if (id == IDOK) return true;  // Enter closes nothing
    if (layout_.rights.button != 0 && id == layout_.rights.button) {
        if (form_ && notifyCode == BN_CLICKED) Route([this] { form_->Click(RightsControl::Restart); });
        return true;
    }
    const std::pair<int, ComponentKey> buttons[] = {{layout_.refresh, layout_.refreshComponent},
                                                    {layout_.copy, layout_.copyComponent},
                                                    {layout_.saveAs, layout_.saveAsComponent}};
    for (const auto& [button, component] : buttons) {
        if (button == 0 || id != button) continue;
        if (notifyCode == BN_CLICKED) Click(component);
        return true;
    }
    if (id != layout_.chooser) return false;
    // Setting the controls notifies too; only the user's choice goes on.
    if (Busy() || !form_ || notifyCode != CBN_SELCHANGE) return true;
    const int index = static_cast<int>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0));
    if (index >= 0) Route([this, index] { form_->ChooseAt(form_->SlotFor(layout_.chooserComponent), index); });
    return true;
}

INT_PTR DiskReportWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kDialogKeyMessage:
            SetWindowLongPtrA(hwnd(), DWLP_MSGRESULT, TakeKey(wParam, lParam != 0) ? 1 : 0);
            return TRUE;
        case WM_SIZE: anchors_.Apply(hwnd(), dpi_); return TRUE;
        case WM_GETMINMAXINFO: anchors_.LimitTracking(dpi_, *reinterpret_cast<MINMAXINFO*>(lParam)); return TRUE;
        case WM_DPICHANGED: ApplyDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam)); return TRUE;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (!item || layout_.badge == 0 || static_cast<int>(wParam) != layout_.badge) break;
            DrawBadge(*item);
            return TRUE;
        }
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (!header || layout_.table == 0 || static_cast<int>(header->idFrom) != layout_.table ||
                header->code != NM_CUSTOMDRAW) {
                break;
            }
            SetWindowLongPtrA(hwnd(), DWLP_MSGRESULT, table_.CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam)));
            return TRUE;
        }
        case WM_CTLCOLORSTATIC: {
            // The status line, and a read-only field the logic colours (a
            // disk running hot).
            if (!form_) break;
            const auto control = reinterpret_cast<HWND>(lParam);
            Tone tone = Tone::Plain;
            if (control == Item(layout_.status)) {
                tone = form_->Get(layout_.statusComponent).tone;
            } else {
                for (const ReportField& field : layout_.fields) {
                    if (control == Item(field.control)) tone = form_->Get(field.component).tone;
                }
                if (tone == Tone::Plain) break;
            }
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, ToneText(tone));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        }
        default: break;
    }
    return FormDialog::HandleMessage(message, wParam, lParam);
}

void DiskReportWindow::DrawBadge(const DRAWITEMSTRUCT& item) const {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    if (!form_) return;
    const Component& verdict = form_->Get(layout_.badgeComponent);
    if (verdict.text.empty()) return;
    HBRUSH fill = CreateSolidBrush(ToneFill(verdict.tone));
    HPEN edge = CreatePen(PS_SOLID, 1, ToneText(verdict.tone));
    HGDIOBJ oldBrush = SelectObject(item.hDC, fill);
    HGDIOBJ oldPen = SelectObject(item.hDC, edge);
    const int round = (item.rcItem.bottom - item.rcItem.top) / 2;
    RoundRect(item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom, round, round);
    SelectObject(item.hDC, oldPen);
    SelectObject(item.hDC, oldBrush);
    DeleteObject(edge);
    DeleteObject(fill);
    HGDIOBJ oldFont = badgeFont_ ? SelectObject(item.hDC, badgeFont_) : nullptr;
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, RGB(0xFF, 0xFF, 0xFF));
    RECT text = item.rcItem;
    DrawTextA(item.hDC, verdict.text.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (oldFont) SelectObject(item.hDC, oldFont);
}

void DiskReportWindow::Sync() {
    if (!form_ || !hwnd()) return;
    SyncChooser();
    for (const ReportField& field : layout_.fields) {
        SetTextIfChanged(Item(field.control), form_->Get(field.component).text);
        if (form_->Get(field.component).tone != Tone::Plain) InvalidateRect(Item(field.control), nullptr, TRUE);
    }
    SetTextIfChanged(Item(layout_.status), form_->Get(layout_.statusComponent).text);
    InvalidateRect(Item(layout_.status), nullptr, TRUE);
    if (layout_.badge) InvalidateRect(Item(layout_.badge), nullptr, TRUE);
    if (layout_.table) table_.Show(Item(layout_.table), form_->Get(layout_.tableComponent));
    // Without a rights line this run, the control above took its place: the
    // layout starts from there.
    if (SyncRightsLine(hwnd(), *form_, layout_.rights)) anchors_.Capture(hwnd(), dpi_, layout_.anchors);
}

void DiskReportWindow::SyncChooser() {
    const Component& chooser = form_->Get(layout_.chooserComponent);
    HWND combo = Item(layout_.chooser);
    SetComboItems(combo, chooser.items, chooserItems_);
    if (SendMessageA(combo, CB_GETCURSEL, 0, 0) != chooser.itemIndex) {
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(chooser.itemIndex), 0);
    }
}

}  // namespace tw::gui
