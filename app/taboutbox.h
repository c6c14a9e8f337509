// TAboutBox: the program's name and version, shown modally.
#pragma once
#include "app/form_logic.h"

namespace tw {

inline constexpr const char* kProgramName = "Tarnwell";

class TAboutBox : public FormLogic {
public:
    explicit TAboutBox(Dialogs& dialogs);

    static const char* Version();
};

}  // namespace tw
