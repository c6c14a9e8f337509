#include "remote_list.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include "menu_walk.h"

namespace gui_test {

namespace {

constexpr SIZE_T kTextSize = 512;
constexpr char kProbeName[] = "tarnwell_gui_probe.dll";

// Where a module of the given name is loaded in the process.
void* ModuleBase(DWORD processId, const char* name) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, processId);
    if (snapshot == INVALID_HANDLE_VALUE) return nullptr;
    MODULEENTRY32 entry{};
    entry.dwSize = sizeof entry;
    void* base = nullptr;
    for (BOOL more = Module32First(snapshot, &entry); more; more = Module32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szModule, name) == 0) {
            base = entry.modBaseAddr;
            break;
        }
    }
    CloseHandle(snapshot);
    return base;
}

// The address in the other process of a function loaded here from the same module.
void* Translate(void* local, HMODULE localModule, void* remoteModule) {
    if (!local || !remoteModule) return nullptr;
    return static_cast<char*>(remoteModule) + (static_cast<char*>(local) - reinterpret_cast<char*>(localModule));
}

std::string ProbePath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir = path;
    const size_t slash = dir.find_last_of("\\/");
    dir = slash == std::string::npos ? std::string() : dir.substr(0, slash + 1);
    return dir + kProbeName;
}

}  // namespace

RemoteList::RemoteList(HANDLE process, HWND list) : process_(process), list_(list) {
    remote_ = VirtualAllocEx(process_, nullptr, sizeof(LVITEMA) + kTextSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteList::~RemoteList() {
    if (remote_) VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
}

int RemoteList::Count() const { return static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0)); }

std::string RemoteList::Text(int item, int subItem) const {
    if (!remote_) return {};
    char* remoteText = static_cast<char*>(remote_) + sizeof(LVITEMA);
    LVITEMA request{};
    request.iSubItem = subItem;
    request.pszText = remoteText;
    request.cchTextMax = static_cast<int>(kTextSize);
    const char nothing = 0;
    SIZE_T moved = 0;
    if (!WriteProcessMemory(process_, remote_, &request, sizeof request, &moved) ||
        !WriteProcessMemory(process_, remoteText, &nothing, 1, &moved)) {
        return {};
    }
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(list_, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(remote_),
                             SMTO_NORMAL, 30000, &length)) {
        return {};
    }
    char text[kTextSize] = {};
    if (!ReadProcessMemory(process_, remoteText, text, kTextSize - 1, &moved)) return {};
    return text;
}

std::vector<std::string> RemoteList::Captions() const {
    std::vector<std::string> out;
    const int count = Count();
    for (int i = 0; i < count; ++i) out.push_back(Text(i, 0));
    return out;
}

RemoteMenu::RemoteMenu(HANDLE process, DWORD processId, HWND window)
    : process_(process), processId_(processId), window_(window) {
    const std::string path = ProbePath();
    HMODULE local = LoadLibraryA(path.c_str());
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (!local || !kernel) return;
    void* loadLibrary = Translate(reinterpret_cast<void*>(GetProcAddress(kernel, "LoadLibraryA")), kernel,
                                  ModuleBase(processId_, "kernel32.dll"));
    if (loadLibrary && RunInProgram(loadLibrary, path.c_str(), path.size() + 1)) {
        remoteModule_ = ModuleBase(processId_, kProbeName);
        findCommand_ =
            Translate(reinterpret_cast<void*>(GetProcAddress(local, "tw_probe_find_command")), local, remoteModule_);
        menuState_ =
            Translate(reinterpret_cast<void*>(GetProcAddress(local, "tw_probe_menu_state")), local, remoteModule_);
        nthCommand_ =
            Translate(reinterpret_cast<void*>(GetProcAddress(local, "tw_probe_nth_command")), local, remoteModule_);
    }
    FreeLibrary(local);
}

RemoteMenu::~RemoteMenu() {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (!remoteModule_ || !kernel) return;
    void* freeLibrary = Translate(reinterpret_cast<void*>(GetProcAddress(kernel, "FreeLibrary")), kernel,
                                  ModuleBase(processId_, "kernel32.dll"));
    if (!freeLibrary) return;
    HANDLE thread = CreateRemoteThread(process_, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(freeLibrary),
                                       remoteModule_, 0, nullptr);
    if (thread) {
        WaitForSingleObject(thread, 30000);
        CloseHandle(thread);
    }
}

std::optional<DWORD> RemoteMenu::RunInProgram(void* function, const void* argument, SIZE_T size) const {
    void* remote = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote) return std::nullopt;
    std::optional<DWORD> answer;
    SIZE_T written = 0;
    if (WriteProcessMemory(process_, remote, argument, size, &written)) {
        HANDLE thread = CreateRemoteThread(process_, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(function),
                                           remote, 0, nullptr);
        if (thread) {
            DWORD code = 0;
            if (WaitForSingleObject(thread, 60000) == WAIT_OBJECT_0 && GetExitCodeThread(thread, &code)) answer = code;
            CloseHandle(thread);
        }
    }
    VirtualFreeEx(process_, remote, 0, MEM_RELEASE);
    return answer;
}

std::optional<UINT> RemoteMenu::FindCommand(const std::string& caption) const {
    if (!findCommand_) return std::nullopt;
    gui_test::MenuProbeRequest request{};
    request.window = window_;
    lstrcpynA(request.caption, caption.c_str(), sizeof request.caption);
    const auto answer = RunInProgram(findCommand_, &request, sizeof request);
    if (!answer || *answer == kProbeFailed) return std::nullopt;
    return static_cast<UINT>(*answer);
}

std::optional<bool> RemoteMenu::IsChecked(UINT id) const {
    if (!menuState_) return std::nullopt;
    gui_test::MenuProbeRequest request{};
    request.window = window_;
    request.id = id;
    const auto answer = RunInProgram(menuState_, &request, sizeof request);
    if (!answer || *answer == kProbeFailed) return std::nullopt;
    return (*answer & MF_CHECKED) != 0;
}

std::vector<UINT> RemoteMenu::Commands() const {
    std::vector<UINT> ids;
    if (!nthCommand_) return ids;
    for (UINT n = 0; n < 1000; ++n) {
        gui_test::MenuProbeRequest request{};
        request.window = window_;
        request.id = n;
        const auto answer = RunInProgram(nthCommand_, &request, sizeof request);
        if (!answer || *answer == kProbeFailed) break;
        ids.push_back(static_cast<UINT>(*answer));
    }
    return ids;
}

RemoteToolBar::RemoteToolBar(HANDLE process, HWND toolBar) : process_(process), toolBar_(toolBar) {
    remote_ = VirtualAllocEx(process_, nullptr, kTextSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteToolBar::~RemoteToolBar() {
    if (remote_) VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
}

std::vector<UINT> RemoteToolBar::Commands() const {
    std::vector<UINT> ids;
    const int count = static_cast<int>(SendMessageA(toolBar_, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; remote_ && i < count; ++i) {
        TBBUTTON button{};
        SIZE_T moved = 0;
        if (SendMessageA(toolBar_, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote_)) &&
            ReadProcessMemory(process_, remote_, &button, sizeof button, &moved)) {
            ids.push_back(static_cast<UINT>(button.idCommand));
        }
    }
    return ids;
}

std::string RemoteToolBar::Caption(UINT id) const {
    if (!remote_) return {};
    const auto length = SendMessageA(toolBar_, TB_GETBUTTONTEXTA, id, reinterpret_cast<LPARAM>(remote_));
    if (length <= 0 || static_cast<SIZE_T>(length) >= kTextSize) return {};
    char text[kTextSize] = {};
    SIZE_T moved = 0;
    if (!ReadProcessMemory(process_, remote_, text, static_cast<SIZE_T>(length), &moved)) return {};
    return text;
}

std::optional<RECT> RemoteToolBar::Rect(UINT id) const {
    RECT rc{};
    SIZE_T moved = 0;
    if (!remote_ || !SendMessageA(toolBar_, TB_GETRECT, id, reinterpret_cast<LPARAM>(remote_)) ||
        !ReadProcessMemory(process_, remote_, &rc, sizeof rc, &moved)) {
        return std::nullopt;
    }
    return rc;
}

}  // namespace gui_test
