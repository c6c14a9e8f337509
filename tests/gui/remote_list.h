// Reading another process's list view and menu bar.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace gui_test {

// List-view text requests need a buffer the list's own process can write:
// the item structure and the text live in memory allocated there.
class RemoteList {
public:
    RemoteList(HANDLE process, HWND list);
    ~RemoteList();
    RemoteList(const RemoteList&) = delete;
    RemoteList& operator=(const RemoteList&) = delete;

    int Count() const;
    std::string Text(int item, int subItem) const;
    std::vector<std::string> Captions() const;

private:
    HANDLE process_;
    HWND list_;
    void* remote_ = nullptr;
};

// The window's menu bar: entries found by caption (without "&" and without
// the shortcut text after a tab), check marks read by command id. The menus
// are read by tarnwell_gui_probe.dll (next to the driver), which this loads
// into the program.
class RemoteMenu {
public:
    RemoteMenu(HANDLE process, DWORD processId, HWND window);
    ~RemoteMenu();
    RemoteMenu(const RemoteMenu&) = delete;
    RemoteMenu& operator=(const RemoteMenu&) = delete;

    bool Ready() const { return findCommand_ && menuState_; }
    std::optional<UINT> FindCommand(const std::string& caption) const;
    std::optional<bool> IsChecked(UINT id) const;
    // The command ids of every entry of the menu bar, in the order they show.
    std::vector<UINT> Commands() const;

private:
    std::optional<DWORD> RunInProgram(void* function, const void* argument, SIZE_T size) const;

    HANDLE process_;
    DWORD processId_;
    HWND window_;
    void* remoteModule_ = nullptr;
    void* findCommand_ = nullptr;
    void* menuState_ = nullptr;
    void* nthCommand_ = nullptr;
};

// The other process's toolbar: its buttons' command ids, captions and places,
// through a buffer allocated in that process.
class RemoteToolBar {
public:
    RemoteToolBar(HANDLE process, HWND toolBar);
    ~RemoteToolBar();
    RemoteToolBar(const RemoteToolBar&) = delete;
    RemoteToolBar& operator=(const RemoteToolBar&) = delete;

    std::vector<UINT> Commands() const;
    std::string Caption(UINT id) const;
    // The button's rectangle in the toolbar's client coordinates.
    std::optional<RECT> Rect(UINT id) const;

private:
    HANDLE process_;
    HWND toolBar_;
    void* remote_ = nullptr;
};

}  // namespace gui_test
