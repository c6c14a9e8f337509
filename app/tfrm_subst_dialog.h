// "Substitute Drive": asks for the letter and the folder of a new substitute
// drive. Created once and reused, so its fields keep the last values.
#pragma once
#include "app/form_logic.h"
#include "platform/platform.h"

namespace tw {

class TFrmSubstDialog : public FormLogic {
public:
    TFrmSubstDialog(platform::Platform& platform, Dialogs& dialogs);

    std::string Letter() const { return Find("Edit2")->text; }
    std::string Path() const { return Find("Edit1")->text; }
    bool AddToStartup() const { return Find("CheckBox1")->checked; }

    // Browses for the folder; a picked folder replaces the path, cancel keeps it.
    void SpeedButton1Click();

private:
    platform::Platform& platform_;
};

}  // namespace tw
