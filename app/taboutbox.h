// TAboutBox: the program's name, version and a page of help, shown modally
// (Help > About, and F1 in the main window).
#pragma once
#include "app/component_table.h"
#include "app/form_logic.h"

namespace tw {

enum class AboutControl { ProductName, Version, HelpText, OkButton };

inline constexpr ComponentEntry<AboutControl> kAboutControls[] = {
    {AboutControl::ProductName, "ProductName"},
    {AboutControl::Version, "Version"},
    {AboutControl::HelpText, "HelpText"},
    {AboutControl::OkButton, "OKButton"},
};
static_assert(ListsEveryIdInOrder(kAboutControls));
constexpr std::string_view ComponentName(AboutControl id) { return kAboutControls[static_cast<int>(id)].name; }

inline constexpr const char* kProgramName = "Tarnwell";

class TAboutBox : public FormLogic {
public:
    explicit TAboutBox(Dialogs& dialogs);

    static const char* Version();
    // A short page on what the list's columns and colours mean, its lines
    // ended by CR LF.
    static const char* HelpText();
};

}  // namespace tw
