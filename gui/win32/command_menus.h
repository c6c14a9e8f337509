// Menus and keyboard accelerators built from the main window's components.
// Every component gets a command id from its slot (its place in the
// declaration order); menu, toolbar, check box and accelerator commands all
// carry that id, and the window turns it back into the slot.
#pragma once
#include <optional>
#include <string>

#include "app/tform1.h"
#include "gui/win32/win_headers.h"

namespace tw::gui {

class CommandMap {
public:
    static constexpr UINT kFirstId = 1000;

    explicit CommandMap(const TForm1& form) : form_(form) {}

    UINT IdOf(ComponentSlot slot) const { return kFirstId + static_cast<UINT>(slot); }
    template <ComponentId Id>
    UINT IdOf(Id id) const {
        return IdOf(*form_.SlotOf(KeyOf(id)));
    }
    // The slot a command id stands for; nothing for an id of no component.
    std::optional<ComponentSlot> SlotOf(UINT id) const;
    // The component a command id stands for, or null.
    const Component* ComponentOf(UINT id) const;

private:
    const TForm1& form_;
};

// The menu bar: one drop-down per top-level menu with its visible entries.
HMENU BuildMenuBar(const TForm1& form, const CommandMap& commands);
// A pop-up menu of the visible components whose parent is `parent`, in
// declaration order, with their check marks.
HMENU BuildPopupMenu(const TForm1& form, const CommandMap& commands, ComponentKey parent);
// Sets every entry's check mark in the menu and its sub-menus from the components.
void SyncMenuChecks(HMENU menu, const TForm1& form, const CommandMap& commands);
// Shows a pop-up menu at a screen point and returns the chosen component's
// slot, or nothing when the user dismissed it.
std::optional<ComponentSlot> TrackPopup(HWND owner, const TForm1& form, const CommandMap& commands, ComponentKey parent,
                                        POINT at, const RECT* exclude = nullptr);
// The function-key shortcuts of the components (and the exit key).
HACCEL BuildAccelerators(const TForm1& form, const CommandMap& commands);

}  // namespace tw::gui
