#include "gui/win32/command_menus.h"

#include <vector>

namespace tw::gui {

namespace {

std::string MenuText(const Component& c) { return c.shortcut.empty() ? c.caption : c.caption + "\t" + c.shortcut; }

void AppendEntries(HMENU menu, const TForm1& form, const CommandMap& commands, const std::string& parent) {
    for (const std::string& name : form.ComponentNames()) {
        const Component* c = form.Find(name);
        if (!c || c->parent != parent || !c->visible) continue;
        const auto id = commands.IdOf(name);
        if (!id) continue;
        const std::string text = MenuText(*c);
        AppendMenuA(menu, MF_STRING | (c->checked ? MF_CHECKED : MF_UNCHECKED), *id, text.c_str());
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

std::optional<UINT> CommandMap::IdOf(const std::string& name) const {
    const auto& names = form_.ComponentNames();
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name) return kFirstId + static_cast<UINT>(i);
    }
    return std::nullopt;
}

const std::string* CommandMap::NameOf(UINT id) const {
    const auto& names = form_.ComponentNames();
    if (id < kFirstId || id - kFirstId >= names.size()) return nullptr;
    return &names[id - kFirstId];
}

HMENU BuildMenuBar(const TForm1& form, const CommandMap& commands) {
    HMENU bar = CreateMenu();
    for (MainMenu menu : kMenuBarMenus) {
        const std::string menuName(ComponentName(menu));
        HMENU dropDown = CreatePopupMenu();
        AppendEntries(dropDown, form, commands, menuName);
        const std::string title = "&" + menuName;
        AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(dropDown), title.c_str());
    }
    return bar;
}

HMENU BuildPopupMenu(const TForm1& form, const CommandMap& commands, const std::string& parent) {
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
        const UINT id = GetMenuItemID(menu, i);
        const std::string* name = commands.NameOf(id);
        const Component* c = name ? form.Find(*name) : nullptr;
        if (c) CheckMenuItem(menu, i, MF_BYPOSITION | (c->checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

std::optional<std::string> TrackPopup(HWND owner, const TForm1& form, const CommandMap& commands,
                                      const std::string& parent, POINT at, const RECT* exclude) {
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
    const std::string* name = commands.NameOf(id);
    if (!name) return std::nullopt;
    return *name;
}

HACCEL BuildAccelerators(const TForm1& form, const CommandMap& commands) {
    std::vector<ACCEL> table;
    auto add = [&](BYTE flags, WORD key, const std::string& name) {
        const auto id = commands.IdOf(name);
        if (!id) return;
        for (const ACCEL& a : table) {
            if (a.key == key && a.fVirt == flags) return;  // the first entry with a key keeps it
        }
        table.push_back(ACCEL{flags, key, static_cast<WORD>(*id)});
    };
    for (const std::string& name : form.ComponentNames()) {
        const Component* c = form.Find(name);
        if (!c) continue;
        if (auto key = FunctionKey(c->shortcut)) add(FVIRTKEY, *key, name);
        if (auto key = ControlLetter(c->shortcut)) add(FVIRTKEY | FCONTROL, *key, name);
    }
    if (table.empty()) return nullptr;
    return CreateAcceleratorTableA(table.data(), static_cast<int>(table.size()));
}

}  // namespace tw::gui
