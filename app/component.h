// A control of a window (menu item, tool button, check box) with its name,
// caption, hint, state and click action. The real window builds its menus and
// toolbar from these and routes every click back by the component's slot.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "app/component_table.h"
#include "app/dialogs.h"

namespace tw {

enum class ComponentKind {
    MenuItem,
    ToolButton,
    CheckBox,
    Button,
    Edit,
    Label,
    ComboBox,
    ListBox,
    ProgressBar,
    ListView
};

// How a label or a list row is coloured: plain, or the green, amber and red
// of a health report.
// Unknown: grey, a verdict the program could not reach.
enum class Tone { Plain, Good, Caution, Bad, Unknown };

struct Component {
    std::string name;
    ComponentKind kind = ComponentKind::MenuItem;
    std::string caption;
    std::string hint;
    std::string shortcut;
    ComponentKey parent;  // the menu or control that holds it
    bool checked = false;
    ComponentKey showsMarkOf;  // an entry that forwards to a toggle shows the toggle's mark
    bool shield = false;       // asks for an administrator's rights: shown with the shield
    bool visible = true;
    bool enabled = true;                          // a disabled control takes no clicks
    std::string text;                             // edit fields
    int maxLength = 0;                            // edit fields: 0 = no limit
    bool upperCase = false;                       // edit fields: typed letters become capitals
    ModalResult modalResult = ModalResult::None;  // buttons that close a modal window
    ComponentKey dropDownMenu;                    // tool buttons: the menu behind the arrow
    ComponentKey rightClickMenu;                  // tool buttons: the menu a right click opens
    bool readOnly = false;                        // edit fields the user cannot type into
    std::vector<std::string> items;               // combo and list boxes
    int itemIndex = -1;                           // combo boxes: the chosen entry, -1 none
    std::vector<std::string> columns;             // list views: the headings
    std::vector<std::vector<std::string>> rows;   // list views: one cell per heading
    std::vector<Tone> rowTones;                   // list views: each row's colour (missing: plain)
    Tone tone = Tone::Plain;                      // labels that show a text: its colour
    int position = 0;                             // progress bars: percent done
    std::function<void()> onClick;                // empty: the entry does nothing
    std::function<void()> onChange;               // combo boxes: another entry chosen
};

}  // namespace tw
