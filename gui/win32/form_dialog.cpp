#include "gui/win32/form_dialog.h"

#include <algorithm>

namespace tw::gui {

void FormDialog::Show(FormLogic& form) {
    form_ = &form;
    Fill();
    form.SetWindow(reinterpret_cast<std::uintptr_t>(hwnd()));
    OnShowing(form);
    ShowModeless();
    Route([&form] { form.FormShow(); });
}

void FormDialog::Route(const std::function<void()>& event) {
    if (!form_ || busy_) return;
    busy_ = true;
    try {
        event();
    } catch (...) {
        busy_ = false;
        throw;
    }
    Sync();
    busy_ = false;
}

INT_PTR FormDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETCURSOR && busy_) {
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        SetWindowLongPtrA(hwnd(), DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    return Dialog::HandleMessage(message, wParam, lParam);
}

namespace {

// The logic's texts are UTF-8 ("\xE2\x80\x94" for a value not reported); the
// controls take the program's code page. A text that is not UTF-8 (a volume
// label as the system gave it) goes as it is.
std::string InCodePage(const std::string& text) {
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return text;
    }
    // A program whose code page is UTF-8 (its manifest, Windows 10 1903 and
    // later) shows the logic's texts as they are.
    if (GetACP() == CP_UTF8) return text;
    const int size = static_cast<int>(text.size());
    const int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (wide <= 0) return text;
    std::wstring utf16(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, utf16.data(), wide);
    const int bytes = WideCharToMultiByte(CP_ACP, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return text;
    std::string shown(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, utf16.data(), wide, shown.data(), bytes, nullptr, nullptr);
    return shown;
}

}  // namespace

void SetTextIfChanged(HWND control, const std::string& text) {
    const std::string shown = InCodePage(text);
    if (ControlText(control) != shown) SetWindowTextA(control, shown.c_str());
}

void SetComboItems(HWND combo, const std::vector<std::string>& items, std::vector<std::string>& shown) {
    if (items == shown) return;
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    shown = items;
}

}  // namespace tw::gui
