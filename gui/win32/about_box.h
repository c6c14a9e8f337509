// TAboutBox: the program's picture, name and version over an OK button.
#pragma once
#include <optional>

#include "app/jpeg_decoder.h"
#include "gui/win32/form_window.h"

namespace tw::gui {

class AboutBox final : public FormWindow {
public:
    AboutBox() : FormWindow("TAboutBox", "About") {}
    ~AboutBox() override;

protected:
    void CreateControls(UINT dpi) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::optional<BgrImage> picture_;
    RECT pictureRect_{};
    HFONT font_ = nullptr;
    HFONT titleFont_ = nullptr;
};

}  // namespace tw::gui
