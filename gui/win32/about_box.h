// TAboutBox: the program's name and version over an OK button.
#pragma once
#include "gui/win32/form_window.h"

namespace tw::gui {

class AboutBox final : public FormWindow {
public:
    AboutBox() : FormWindow("TAboutBox", "About") {}
    ~AboutBox() override;

protected:
    void CreateControls(UINT dpi) override;

private:
    HFONT font_ = nullptr;
    HFONT titleFont_ = nullptr;
};

}  // namespace tw::gui
