#include "gui/win32/command_menus.h"

#include <vector>

namespace tw::gui {

namespace {

std::string MenuText(const Component& c) { return c.shortcut.empty() ? c.caption : c.caption + "\t" + c.shortcut; }

void AppendEntries(HMENU menu, const TForm1& form, const CommandMap& commands, ComponentKey parent) {
    for (ComponentSlot slot = 0; slot < form.ComponentCount(); ++slot) {
        const Component& c = form.At(slot);
        if (c.parent != parent || !c.visible) continue;
        const std::string text = MenuText(c);
        AppendMenuA(menu, MF_STRING | (form.ShowsMark(c) ? MF_CHECKED : MF_UNCHECKED), commands.IdOf(slot),
                    text.c_str());
    }
}

// "F5" -> VK_F5; anything else is not a function key.
std::optional<WORD> FunctionKey(const std::string& shortcut) {
    if (shortcut.size() < 2 || shortcut.size() > 3 || shortcut[0] != 'F') return std::nullopt;
    int n = 0;
    for (size_t i = 1; i < shortcut.size(); ++i) {
        if (shortcut[i] < '0' || shortcut[i] > '9') return std::nullopt;
        n = n * 10 + (shortcut[i] - '0');
    }
    if (n < 1 || n > 24) return std::nullopt;
    return static_cast<WORD>(VK_F1 + n - 1);
}

// "Ctrl+C" -> 'C' with the control key; anything else is not such a key.
std::optional<WORD> ControlLetter(const std::string& shortcut) {
    if (shortcut.size() != 6 || shortcut.rfind("Ctrl+", 0) != 0) return std::nullopt;
    const char key = shortcut[5];
    if ((key < 'A' || key > 'Z') && (key < '0' || key > '9')) return std::nullopt;
    return static_cast<WORD>(key);
}

}  // namespace

std::optional<ComponentSlot> CommandMap::SlotOf(UINT id) const {
    if (id < kFirstId || id - kFirstId >= form_.ComponentCount()) return std::nullopt;
    return static_cast<ComponentSlot>(id - kFirstId);
}

const Component* CommandMap::ComponentOf(UINT id) const {
    const auto slot = SlotOf(id);
    return slot ? &form_.At(*slot) : nullptr;
}

HMENU BuildMenuBar(const TForm1& form, const CommandMap& commands) {
    HMENU bar = CreateMenu();
    for (MainMenu menu : kMenuBarMenus) {
        HMENU dropDown = CreatePopupMenu();
        AppendEntries(dropDown, form, commands, KeyOf(menu));
        const std::string title = "&" + std::string(ComponentName(menu));
        AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(dropDown), title.c_str());
    }
    return bar;
}

HMENU BuildPopupMenu(const TForm1& form, const CommandMap& commands, ComponentKey parent) {
    HMENU menu = CreatePopupMenu();
    AppendEntries(menu, form, commands, parent);
    return menu;
}

void SyncMenuChecks(HMENU menu, const TForm1& form, const CommandMap& commands) {
    if (!menu) return;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            SyncMenuChecks(sub, form, commands);
            continue;
        }
        const Component* c = commands.ComponentOf(GetMenuItemID(menu, i));
        if (c) CheckMenuItem(menu, i, MF_BYPOSITION | (form.ShowsMark(*c) ? MF_CHECKED : MF_UNCHECKED));
    }
}

std::optional<ComponentSlot> TrackPopup(HWND owner, const TForm1& form, const CommandMap& commands, ComponentKey parent,
                                        POINT at, const RECT* exclude) {
    HMENU menu = BuildPopupMenu(form, commands, parent);
    if (GetMenuItemCount(menu) <= 0) {
        DestroyMenu(menu);
        return std::nullopt;
    }
    TPMPARAMS params{};
    params.cbSize = sizeof params;
    if (exclude) params.rcExclude = *exclude;
    const UINT id =
        static_cast<UINT>(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, at.x,
                                           at.y, owner, exclude ? &params : nullptr));
    DestroyMenu(menu);
    return commands.SlotOf(id);
}

HACCEL BuildAccelerators(const TForm1& form, const CommandMap& commands) {
    std::vector<ACCEL> table;
    auto add = [&](BYTE flags, WORD key, ComponentSlot slot) {
        for (const ACCEL& a : table) {
            if (a.key == key && a.fVirt == flags) return;  // the first entry with a key keeps it
        }
        table.push_back(ACCEL{flags, key, static_cast<WORD>(commands.IdOf(slot))});
    };
    for (ComponentSlot slot = 0; slot < form.ComponentCount(); ++slot) {
        const Component& c = form.At(slot);
        if (auto key = FunctionKey(c.shortcut)) add(FVIRTKEY, *key, slot);
        if (auto key = ControlLetter(c.shortcut)) add(FVIRTKEY | FCONTROL, *key, slot);
    }
    if (table.empty()) return nullptr;
    return CreateAcceleratorTableA(table.data(), static_cast<int>(table.size()));
}

}  // namespace tw::gui
