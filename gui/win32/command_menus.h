// Menus and keyboard accelerators built from the main window's components.
// Every component gets a command id from its place in the declaration order;
// menu, toolbar, check box and accelerator commands all carry that id, and
// the window turns it back into the component's name.
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

    std::optional<UINT> IdOf(const std::string& name) const;
    const std::string* NameOf(UINT id) const;

private:
    const TForm1& form_;
};

// The top-level menus of the menu bar, in their order.

// The menu bar: one drop-down per top-level menu with its visible entries.
HMENU BuildMenuBar(const TForm1& form, const CommandMap& commands);
// A pop-up menu of the visible components whose parent is `parent`, in
// declaration order, with their check marks.
HMENU BuildPopupMenu(const TForm1& form, const CommandMap& commands, const std::string& parent);
// Sets every entry's check mark in the menu and its sub-menus from the components.
void SyncMenuChecks(HMENU menu, const TForm1& form, const CommandMap& commands);
// Shows a pop-up menu at a screen point and returns the chosen component's
// name, or nothing when the user dismissed it.
std::optional<std::string> TrackPopup(HWND owner, const TForm1& form, const CommandMap& commands,
                                      const std::string& parent, POINT at, const RECT* exclude = nullptr);
// The function-key shortcuts of the components (and the exit key).
HACCEL BuildAccelerators(const TForm1& form, const CommandMap& commands);

}  // namespace tw::gui
