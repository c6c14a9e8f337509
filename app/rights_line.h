// The line a window shows when its answer needs an administrator's rights
// that the program lacks, and beside it a button with the shield that starts
// the program again with them, as File > Restart as Administrator does.
// Both stay hidden when the program runs elevated, and on a system without
// elevation (before Vista), where there is nothing to ask for.
#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "app/component.h"
#include "app/component_table.h"
#include "app/form_logic.h"

namespace tw {

enum class RightsControl {
    Line,     // "Administrator rights are needed to read this disk's health"
    Restart,  // "Restart as Administrator", with the shield
};

inline constexpr ComponentEntry<RightsControl> kRightsControls[] = {
    {RightsControl::Line, "lblRights"},
    {RightsControl::Restart, "btnRestartAsAdministrator"},
};
static_assert(ListsEveryIdInOrder(kRightsControls));
constexpr std::string_view ComponentName(RightsControl id) { return kRightsControls[static_cast<int>(id)].name; }

// The two components, hidden, for a window to declare.
Component RightsLine(std::string text);
Component RestartButton();

// Shows the window's line and button when rights are `missing`; the button
// then runs `restart`.
void OfferRestart(FormLogic& window, bool missing, std::function<void()> restart);

}  // namespace tw
