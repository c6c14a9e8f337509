#include "gui/win32/drive_list_view.h"

#include "gui/win32/dpi.h"
#include "gui/win32/drive_icons.h"
#include "inventory/list_columns.h"
#include "inventory/row_colours.h"

namespace tw::gui {

namespace {

// A column the table leaves at 0 takes the list control's usual default.
constexpr int kDefaultColumnWidth = 50;

COLORREF ToColorRef(inventory::Rgb c) { return RGB(c.r, c.g, c.b); }

void DeleteFont(HFONT& font) {
    if (font) DeleteObject(font);
    font = nullptr;
}

}  // namespace

DriveListView::~DriveListView() {
    DeleteFont(normalFont_);
    DeleteFont(boldFont_);
    if (images_) ImageList_Destroy(images_);
}

void DriveListView::Create(HWND parent, UINT controlId, UINT dpi) {
    dpi_ = dpi;
    hwnd_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT | LVS_SHOWSELALWAYS |
                                LVS_OWNERDATA | LVS_NOSORTHEADER,
                            0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId)),
                            GetModuleHandleA(nullptr), nullptr);
    ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    for (size_t i = 0; i < inventory::kColumns.size(); ++i) {
        const auto& column = inventory::kColumns[i];
        const std::string caption(column.caption);
        LVCOLUMNA lvc{};
        lvc.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
        // The first column always aligns left; the others as the table says.
        lvc.fmt = column.align == inventory::Align::Right && i > 0 ? LVCFMT_RIGHT : LVCFMT_LEFT;
        lvc.cx = ColumnWidth(i);  // each width set later would lay the list out again
        lvc.pszText = const_cast<char*>(caption.c_str());
        lvc.iSubItem = static_cast<int>(i);
        SendMessageA(hwnd_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&lvc));
    }
    CreateFonts();
    ApplyFont();
    CreateImages();
}

void DriveListView::SetDpi(UINT dpi) {
    dpi_ = dpi;
    CreateFonts();
    ApplyFont();
    SizeColumns();
    CreateImages();
}

void DriveListView::CreateImages() {
    HIMAGELIST old = images_;
    images_ = CreateDriveImageList(SystemMetricForDpi(SM_CXSMICON, dpi_));
    ListView_SetImageList(hwnd_, images_, LVSIL_SMALL);
    if (old) ImageList_Destroy(old);
}

void DriveListView::SetBold(bool bold) {
    if (bold == bold_) return;
    bold_ = bold;
    ApplyFont();
}

void DriveListView::CreateFonts() {
    DeleteFont(normalFont_);
    DeleteFont(boldFont_);
    normalFont_ = CreateMessageFont(dpi_, false);
    boldFont_ = CreateMessageFont(dpi_, true);
}

void DriveListView::ApplyFont() {
    if (!hwnd_) return;
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(bold_ ? boldFont_ : normalFont_), TRUE);
}

int DriveListView::ColumnWidth(size_t column) const {
    const int width = inventory::kColumns[column].width ? inventory::kColumns[column].width : kDefaultColumnWidth;
    return Scale(width, dpi_);
}

void DriveListView::SizeColumns() {
    for (size_t i = 0; i < inventory::kColumns.size(); ++i) {
        ListView_SetColumnWidth(hwnd_, static_cast<int>(i), ColumnWidth(i));
    }
}

void DriveListView::ShowRows(int selected, const std::vector<int>& marked) {
    syncing_ = true;
    ListView_SetItemCountEx(hwnd_, static_cast<int>(rows_.size()), LVSICF_NOSCROLL);
    ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (int row : marked) {
        if (row >= 0 && row < static_cast<int>(rows_.size()))
            ListView_SetItemState(hwnd_, row, LVIS_SELECTED, LVIS_SELECTED);
    }
    if (selected >= 0 && selected < static_cast<int>(rows_.size())) {
        ListView_SetItemState(hwnd_, selected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_SetSelectionMark(hwnd_, selected);
    }
    syncing_ = false;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void DriveListView::FillItem(LVITEMA& item) const {
    if (item.iItem < 0 || item.iItem >= static_cast<int>(rows_.size())) {
        if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) item.pszText[0] = 0;
        return;
    }
    const inventory::DriveRow& row = rows_[static_cast<size_t>(item.iItem)];
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        const std::string* text = nullptr;
        if (item.iSubItem == 0) {
            text = &row.caption;
        } else if (item.iSubItem - 1 < inventory::kCellCount) {
            text = &row.cells[static_cast<size_t>(item.iSubItem - 1)];
        }
        // Copied into the caller's buffer, which may belong to a cross-process request.
        lstrcpynA(item.pszText, text ? text->c_str() : "", item.cchTextMax);
    }
    if (item.mask & LVIF_IMAGE) item.iImage = row.image;
}

LRESULT DriveListView::CustomDraw(NMLVCUSTOMDRAW* draw) {
    switch (draw->nmcd.dwDrawStage) {
        case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT: return CDRF_NOTIFYSUBITEMDRAW;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
            const int index = static_cast<int>(draw->nmcd.dwItemSpec);
            if (index < 0 || index >= static_cast<int>(rows_.size())) return CDRF_DODEFAULT;
            const bool selected = ListView_GetItemState(hwnd_, index, LVIS_SELECTED) & LVIS_SELECTED;
            const inventory::CellPaint paint =
                draw->iSubItem == 0 ? inventory::PaintCaption(index, selected)
                                    : inventory::PaintSubItem(rows_[static_cast<size_t>(index)], index, selected);
            if (paint.highlighted) {
                draw->clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
                draw->clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
            } else {
                draw->clrText = ToColorRef(paint.text);
                draw->clrTextBk = paint.useBackground ? ToColorRef(paint.background) : CLR_DEFAULT;
            }
            // Our colours, not the control's own selection look.
            draw->nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED | CDIS_HOT);
            return CDRF_NEWFONT;
        }
        default: return CDRF_DODEFAULT;
    }
}

void DriveListView::ReportSelection() {
    std::vector<int> selected;
    for (int i = ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED); i >= 0;
         i = ListView_GetNextItem(hwnd_, i, LVNI_SELECTED)) {
        selected.push_back(i);
    }
    // The actions take the focused row when it is selected, else the first selected.
    const int focused = ListView_GetNextItem(hwnd_, -1, LVNI_FOCUSED);
    int acting = selected.empty() ? -1 : selected.front();
    if (focused >= 0 && ListView_GetItemState(hwnd_, focused, LVIS_SELECTED) & LVIS_SELECTED) acting = focused;
    if (events_.selected) events_.selected(acting, std::move(selected));
}

bool DriveListView::OnNotify(const NMHDR* header, LRESULT& result) {
    if (!hwnd_ || header->hwndFrom != hwnd_) return false;
    switch (header->code) {
        case LVN_GETDISPINFOA: {
            auto* info = reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(header));
            FillItem(info->item);
            result = 0;
            return true;
        }
        case LVN_ITEMCHANGED: {
            const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
            if (!syncing_ && (change->uChanged & LVIF_STATE) &&
                ((change->uNewState ^ change->uOldState) & (LVIS_SELECTED | LVIS_FOCUSED))) {
                ReportSelection();
            }
            result = 0;
            return true;
        }
        case LVN_ODSTATECHANGED:
            // A range selected at once (shift-click) in the virtual list.
            if (!syncing_) ReportSelection();
            result = 0;
            return true;
        case NM_CUSTOMDRAW:
            result = CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(header)));
            return true;
        case NM_DBLCLK:
            if (events_.doubleClicked) events_.doubleClicked();
            result = 0;
            return true;
        case NM_RCLICK: {
            POINT at{};
            GetCursorPos(&at);
            if (events_.rightClicked) events_.rightClicked(at);
            result = TRUE;
            return true;
        }
        default: return false;
    }
}

}  // namespace tw::gui
