// "Substitute Drive": asks for the letter and the folder of a new substitute
// drive. Created once and reused, so its fields keep the last values.
#pragma once
#include "app/component_table.h"
#include "app/form_logic.h"
#include "platform/platform.h"

namespace tw {

enum class SubstControl {
    Title,
    LetterLabel,
    PathLabel,
    LetterEdit,    // one letter, typed as a capital
    PathEdit,      // the folder the drive stands for
    BrowseButton,  // "...": the folder browser
    AddToStartup,  // "Add to startup"
    CancelButton,
    OkButton,
};

inline constexpr ComponentEntry<SubstControl> kSubstControls[] = {
    {SubstControl::Title, "Label1"},           {SubstControl::LetterLabel, "Label2"},
    {SubstControl::PathLabel, "Label3"},       {SubstControl::LetterEdit, "Edit2"},
    {SubstControl::PathEdit, "Edit1"},         {SubstControl::BrowseButton, "SpeedButton1"},
    {SubstControl::AddToStartup, "CheckBox1"}, {SubstControl::CancelButton, "BitBtn1"},
    {SubstControl::OkButton, "BitBtn2"},
};
static_assert(ListsEveryIdInOrder(kSubstControls));
constexpr std::string_view ComponentName(SubstControl id) { return kSubstControls[static_cast<int>(id)].name; }

class TFrmSubstDialog : public FormLogic {
public:
    TFrmSubstDialog(platform::Platform& platform, Dialogs& dialogs);

    std::string Letter() const { return Get(SubstControl::LetterEdit).text; }
    std::string Path() const { return Get(SubstControl::PathEdit).text; }
    bool AddToStartup() const { return Get(SubstControl::AddToStartup).checked; }

    // Browses for the folder; a picked folder replaces the path, cancel keeps it.
    void SpeedButton1Click();

private:
    platform::Platform& platform_;
};

}  // namespace tw
