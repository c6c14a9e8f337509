#include "gui/win32/about_box.h"

#include "app/taboutbox.h"

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

    // The picture spans the top; name and version go below it, then the
    // button. The box takes the size that holds them all.
    // Laid out from the picture's header; the picture is decoded when the box
    // is first painted.
    const std::optional<PictureSize> size = picture_.Size();
    const int pictureHeight = size ? Scale(size->height, dpi) : 0;
    const int pictureWidth = size ? Scale(size->width, dpi) : 0;
    const int nameHeight = Scale(26, dpi);
    const int versionHeight = Scale(18, dpi);
    const int buttonWidth = Scale(80, dpi);
    const int buttonHeight = Scale(26, dpi);
    const int textTop = margin + pictureHeight + margin;
    const int versionTop = textTop + nameHeight + Scale(4, dpi);
    const int helpTop = versionTop + versionHeight + margin;
    const int helpHeight = Scale(190, dpi);
    const int buttonTop = helpTop + helpHeight + margin;
    int clientWidth = client.right > pictureWidth + 2 * margin ? client.right : pictureWidth + 2 * margin;
    if (clientWidth < Scale(560, dpi)) clientWidth = Scale(560, dpi);
    const int clientHeight = buttonTop + buttonHeight + margin;
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(hwnd(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(hwnd(), GWL_EXSTYLE)));
    SetWindowPos(hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(hwnd(), &client);

    pictureRect_ = {(client.right - pictureWidth) / 2, margin, (client.right + pictureWidth) / 2,
                    margin + pictureHeight};
    const int textWidth = client.right - 2 * margin;
    control("STATIC", kProgramName, SS_CENTER, margin, textTop, textWidth, nameHeight, -1, titleFont_);
    control("STATIC", "Version " TW_VERSION_TEXT, SS_CENTER, margin, versionTop, textWidth, versionHeight, -1, font_);
    // The help page: read-only, scrolled, reachable with the keyboard.
    control("EDIT", TAboutBox::HelpText(), WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY, margin,
            helpTop, textWidth, helpHeight, -1, font_);
    control("BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, (client.right - buttonWidth) / 2, buttonTop, buttonWidth,
            buttonHeight, IDOK, font_);
}

LRESULT AboutBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT && pictureRect_.bottom > pictureRect_.top) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd(), &paint);
        if (const BgrImage* picture = picture_.Get()) PaintPicture(dc, *picture, pictureRect_);
        EndPaint(hwnd(), &paint);
        return 0;
    }
    return FormWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace tw::gui
