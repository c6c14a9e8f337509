#include "gui/win32/dialog.h"

#include "gui/win32/modal.h"

#include <cstdint>
#include <optional>
#include <span>

#include <string>

namespace tw::gui {

Dialog::~Dialog() {
    if (hwnd_) {
        // No message may reach the object while it dies.
        SetWindowLongPtrA(hwnd_, DWLP_USER, 0);
        DestroyWindow(hwnd_);
    }
}

namespace {

// The dialog manager's names for the classes a template gives by number.
const char* PredefinedClass(std::uint16_t ordinal) {
    switch (ordinal) {
        case 0x80: return "Button";
        case 0x81: return "Edit";
        case 0x82: return "Static";
        case 0x83: return "ListBox";
        case 0x84: return "ScrollBar";
        case 0x85: return "ComboBox";
        default: return nullptr;
    }
}

std::string Narrow(const std::vector<wchar_t>& text) {
    std::string narrow;
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return narrow;
    narrow.resize(static_cast<size_t>(n));
    WideCharToMultiByte(CP_ACP, 0, text.data(), -1, narrow.data(), n, nullptr, nullptr);
    narrow.resize(static_cast<size_t>(n - 1));
    return narrow;
}

// Whether this program can make the controls itself as the dialog manager
// would: classes by name or by a known number, titles as text, no creation
// data. Anything else is left to the dialog manager at creation.
bool CanFillLater(const DialogTemplate& t) {
    for (const TemplateItem& item : t.items) {
        if (item.className.IsOrdinal() && !PredefinedClass(item.className.ordinal)) return false;
        if (item.title.IsOrdinal() || !item.creationData.empty()) return false;
    }
    return true;
}

}  // namespace

bool Dialog::CreateHidden(HWND owner) {
    if (hwnd_) return true;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    // The dialog is made now, hidden, with no controls: they are made when it
    // is first shown, so that the windows made at start-up cost little
    // before the list is on screen.
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(templateId_), MAKEINTRESOURCEA(5));  // RT_DIALOG
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    std::optional<DialogTemplate> parts;
    if (bytes) {
        parts = ReadDialogTemplate(
            std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(bytes), SizeofResource(instance, found)));
    }
    if (parts && CanFillLater(*parts)) {
        pending_ = std::move(parts->items);
        HWND parent = nullptr;
        parts->SetStyle(parked_.Park(owner, parts->Style(), parent));
        CreateDialogIndirectParamA(instance, reinterpret_cast<LPCDLGTEMPLATEA>(parts->header.data()), parent,
                                   &Dialog::Proc, reinterpret_cast<LPARAM>(this));
        if (hwnd_) return true;
        pending_.clear();
        parked_.Forget();
    }
    CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId_), owner, &Dialog::Proc, reinterpret_cast<LPARAM>(this));
    return hwnd_ != nullptr;
}

void Dialog::Fill() {
    parked_.Unpark(hwnd_, true);
    if (!hwnd_ || pending_.empty()) return;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const auto font = static_cast<WPARAM>(SendMessageA(hwnd_, WM_GETFONT, 0, 0));
    // As the dialog manager makes them: in template order, rectangles from
    // dialog units, no notifications to the parent, the three-dimensional
    // look (a border becomes a sunken client edge: DS_3DLOOK, which the
    // system applies to every dialog of a program for Windows 95 and later),
    // and the dialog's font.
    for (const TemplateItem& item : pending_) {
        // Position and size each from dialog units, as the dialog manager
        // does; the right and bottom edges would round differently.
        RECT r{item.x, item.y, item.cx, item.cy};
        MapDialogRect(hwnd_, &r);
        DWORD style = item.style | WS_CHILD;
        DWORD exStyle = item.exStyle | WS_EX_NOPARENTNOTIFY;
        if (style & WS_BORDER) {
            style &= ~static_cast<DWORD>(WS_BORDER);
            exStyle |= WS_EX_CLIENTEDGE;
        }
        const std::string className =
            item.className.IsOrdinal() ? PredefinedClass(item.className.ordinal) : Narrow(item.className.text);
        const std::string title = Narrow(item.title.text);
        HWND control =
            CreateWindowExA(exStyle, className.c_str(), title.c_str(), style, r.left, r.top, r.right, r.bottom, hwnd_,
                            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id)), instance, nullptr);
        if (!control) continue;
        if (font) SendMessageA(control, WM_SETFONT, font, FALSE);
        if (item.className.IsOrdinal() && item.className.ordinal == 0x80 && (item.style & 0x0F) == BS_DEFPUSHBUTTON) {
            SendMessageA(hwnd_, DM_SETDEFID, item.id, 0);
        }
    }
    pending_.clear();
    OnInitDialog();
    // What WM_INITDIALOG's TRUE asks of the system: the keyboard focus on the
    // first control that takes it.
    if (HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE)) SetFocus(first);
}

void Dialog::CenterOverOwner() { gui::CenterOverOwner(hwnd_); }

void Dialog::ShowModal() {
    if (!hwnd_ || modal_) return;
    // Modal before it comes up: a close that arrives meanwhile ends it.
    modal_ = true;
    Fill();
    if (modal_) RunModal(hwnd_, &modal_);
}

void Dialog::ShowModeless() {
    if (!hwnd_) return;
    Fill();
    if (!IsWindowVisible(hwnd_)) CenterOverOwner();
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(hwnd_);
}

HFONT Dialog::CreateHeadingFont(int extraPoints) const {
    auto font = reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0));
    LOGFONTA face{};
    if (!font || !GetObjectA(font, sizeof face, &face)) return nullptr;
    HDC dc = GetDC(hwnd_);
    face.lfHeight -= MulDiv(extraPoints, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(hwnd_, dc);
    face.lfWeight = FW_BOLD;
    return CreateFontIndirectA(&face);
}

INT_PTR Dialog::HandleMessage(UINT, WPARAM, LPARAM) { return FALSE; }

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            // Made without its controls, the dialog sets them up when it
            // makes them, and asks for no focus now: with nothing to take
            // it, the system would give it to the hidden dialog itself,
            // activating the program before its main window is shown.
            if (!pending_.empty()) return FALSE;
            OnInitDialog();
            return TRUE;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (OnCommand(id, HIWORD(wParam))) return TRUE;
            if (id == IDOK || id == IDCANCEL) {
                SendMessageA(hwnd_, WM_CLOSE, 0, 0);
                return TRUE;
            }
            break;
        }
        case WM_CLOSE:
            // Closing hides: the window is made once and lives with the program.
            OnClose();
            if (modal_) {
                EndModal();
            } else {
                ShowWindow(hwnd_, SW_HIDE);
            }
            return TRUE;
        default: break;
    }
    return HandleMessage(message, wParam, lParam);
}

INT_PTR CALLBACK Dialog::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Dialog*>(lParam);
        if (!self) return FALSE;
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    }
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!self) return FALSE;
    INT_PTR result = FALSE;
    try {
        result = self->Dispatch(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the system's dispatch code.
        result = FALSE;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

std::string ControlText(HWND control) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace tw::gui
