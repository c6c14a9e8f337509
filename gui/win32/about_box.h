// TAboutBox: the program's picture, name and version over an OK button.
#pragma once
#include "gui/win32/form_window.h"
#include "gui/win32/picture.h"
#include "gui/win32/resource_ids.h"

namespace tw::gui {

class AboutBox final : public FormWindow {
public:
    AboutBox() : FormWindow("TAboutBox", "About") {}
    ~AboutBox() override;

protected:
    void CreateControls(UINT dpi) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LazyPicture picture_{IDR_ABOUT_PICTURE};
    RECT pictureRect_{};
    HFONT font_ = nullptr;
    HFONT titleFont_ = nullptr;
};

}  // namespace tw::gui
