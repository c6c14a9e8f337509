#include "gui/win32/about_box.h"

#include "gui/win32/dpi.h"
#include "gui/win32/message_dialogs.h"
#include "tarnwell_version.h"

namespace tw::gui {

AboutBox::~AboutBox() {
    if (font_) DeleteObject(font_);
    if (titleFont_) DeleteObject(titleFont_);
}

void AboutBox::CreateControls(UINT dpi) {
    font_ = CreateMessageFont(dpi);
    titleFont_ = CreateMessageFont(dpi, true, 4);
    RECT client{};
    GetClientRect(hwnd(), &client);
    const int margin = Scale(12, dpi);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    auto control = [&](const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id, HFONT font) {
        HWND c = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, hwnd(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return c;
    };

    // PICTURE: the program's picture goes in this frame once it exists; until
    // then the frame keeps its place so the text does not move later.
    const int picture = Scale(96, dpi);
    control("STATIC", "", SS_ETCHEDFRAME, margin, margin, picture, picture, -1, font_);

    const int textLeft = margin * 2 + picture;
    const int textWidth = client.right - textLeft - margin;
    control("STATIC", kProgramName, SS_LEFT, textLeft, margin, textWidth, Scale(26, dpi), -1, titleFont_);
    control("STATIC", "Version " TW_VERSION_TEXT, SS_LEFT, textLeft, margin + Scale(32, dpi), textWidth, Scale(18, dpi), -1,
            font_);

    const int buttonWidth = Scale(80, dpi);
    const int buttonHeight = Scale(26, dpi);
    control("BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, (client.right - buttonWidth) / 2,
            client.bottom - margin - buttonHeight, buttonWidth, buttonHeight, IDOK, font_);
}

}  // namespace tw::gui
