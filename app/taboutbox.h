// TAboutBox: the program's name and version, shown modally.
#pragma once
#include "app/component_table.h"
#include "app/form_logic.h"

namespace tw {

enum class AboutControl { ProductName, Version, OkButton };

inline constexpr ComponentEntry<AboutControl> kAboutControls[] = {
    {AboutControl::ProductName, "ProductName"},
    {AboutControl::Version, "Version"},
    {AboutControl::OkButton, "OKButton"},
};
static_assert(ListsEveryIdInOrder(kAboutControls));
constexpr std::string_view ComponentName(AboutControl id) { return kAboutControls[static_cast<int>(id)].name; }

inline constexpr const char* kProgramName = "Tarnwell";

class TAboutBox : public FormLogic {
public:
    explicit TAboutBox(Dialogs& dialogs);

    static const char* Version();
};

}  // namespace tw
