// tarnwell_gui_probe.dll: loaded into the running program by the driver.
// Wine keeps a process's menus to that process, so the menu bar's entries
// and check marks are read from in here; each export runs as a thread the
// driver starts in the program and answers through its exit code.
#include "menu_walk.h"

extern "C" __declspec(dllexport) DWORD WINAPI tw_probe_find_command(LPVOID param) {
    const auto* request = static_cast<const gui_test::MenuProbeRequest*>(param);
    HMENU bar = request ? GetMenu(request->window) : nullptr;
    if (!bar) return gui_test::kProbeFailed;
    const auto id = gui_test::FindMenuCommand(bar, request->caption);
    return id ? *id : gui_test::kProbeFailed;
}

extern "C" __declspec(dllexport) DWORD WINAPI tw_probe_menu_state(LPVOID param) {
    const auto* request = static_cast<const gui_test::MenuProbeRequest*>(param);
    HMENU bar = request ? GetMenu(request->window) : nullptr;
    if (!bar) return gui_test::kProbeFailed;
    return GetMenuState(bar, request->id, MF_BYCOMMAND);
}

extern "C" __declspec(dllexport) DWORD WINAPI tw_probe_nth_command(LPVOID param) {
    const auto* request = static_cast<const gui_test::MenuProbeRequest*>(param);
    HMENU bar = request ? GetMenu(request->window) : nullptr;
    if (!bar) return gui_test::kProbeFailed;
    UINT n = request->id;
    const auto id = gui_test::NthMenuCommand(bar, n);
    return id ? *id : gui_test::kProbeFailed;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
