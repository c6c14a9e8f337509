#include <cstring>

#include "platform/byte_fields.h"

#include "platform/sim/state.h"

namespace tw::sim {

PIDLIST_ABSOLUTE SimShell::SHBrowseForFolderA(BROWSEINFOA* bi) {
    if (s_.Enter(SimCall::SHBrowseForFolderA)) return 0;
    s_.lastBrowseTitle = bi && bi->lpszTitle ? bi->lpszTitle : "";
    s_.lastBrowseOwner = bi ? bi->hwndOwner : 0;
    if (s_.browserAnswers.empty()) return 0;  // the user cancels
    std::optional<std::string> answer = s_.browserAnswers.front();
    s_.browserAnswers.pop_front();
    if (!answer) return 0;
    if (bi && bi->pszDisplayName) {
        const std::string name = answer->substr(answer->find_last_of('\\') + 1);
        std::strncpy(bi->pszDisplayName, name.c_str(), MAX_PATH - 1);
        bi->pszDisplayName[MAX_PATH - 1] = 0;
    }
    const PIDLIST_ABSOLUTE pidl = s_.NewHandle();
    s_.pidls[pidl] = *answer;
    return pidl;
}

BOOL SimShell::SHGetPathFromIDListA(PIDLIST_ABSOLUTE pidl, char* path) {
    if (s_.Enter(SimCall::SHGetPathFromIDListA)) return FALSE;
    auto it = s_.pidls.find(pidl);
    if (it == s_.pidls.end() || path == nullptr || it->second.size() >= MAX_PATH) return FALSE;
    std::memcpy(path, it->second.c_str(), it->second.size() + 1);
    return TRUE;
}

void SimShell::CoTaskMemFree(PIDLIST_ABSOLUTE pidl) {
    s_.Enter(SimCall::CoTaskMemFree);
    if (s_.pidls.erase(pidl)) s_.openHandles.erase(pidl);
}

}  // namespace tw::sim

namespace tw::sim {

namespace {

bool SameText(const std::optional<std::string>& a, const std::optional<std::string>& b) {
    return a.has_value() == b.has_value() && (!a || UpperAscii(*a) == UpperAscii(*b));
}

std::optional<std::string> TextOf(const char* text) {
    if (text == nullptr) return std::nullopt;
    return std::string(text);
}

// What ShellExecuteA and WinExec return for a refusal's error code.
HINSTANCE ShellResultOf(DWORD error) {
    switch (error) {
        case ERROR_OUTOFMEMORY: return 0;
        case ERROR_SHARING_VIOLATION: return SE_ERR_SHARE;
        case ERROR_NO_ASSOCIATION: return SE_ERR_NOASSOC;
        case ERROR_DDE_FAIL: return SE_ERR_DDEFAIL;
        case ERROR_DLL_NOT_FOUND: return SE_ERR_DLLNOTFOUND;
        default: return error <= SE_ERR_DLLNOTFOUND ? error : 0;
    }
}

constexpr HINSTANCE kStarted = 42;

// The methods a "Shell.Application" object answers to, by name.
constexpr const char* kShellApplicationMethods[] = {
    "BrowseForFolder",
    "CascadeWindows",
    "ControlPanelItem",
    "EjectPC",
    "Explore",
    "FileRun",
    "FindComputer",
    "FindFiles",
    "FindPrinter",
    "Help",
    "MinimizeAll",
    "NameSpace",
    "Open",
    "RefreshMenu",
    "SetTime",
    "ShutdownWindows",
    "Suspend",
    "TileHorizontally",
    "TileVertically",
    "TrayProperties",
    "UndoMinimizeALL",
    "Windows",
    "WindowsSecurity",
    "ToggleDesktop",
};

}  // namespace

DWORD MachineState::Request(ShellRequest request, std::string* description) {
    Enter(request.call);
    for (const ShellRefusal& r : shellRefusals) {
        if (r.call != request.call) continue;
        if (r.file && !SameText(r.file, request.file)) continue;
        if (r.verb && !SameText(r.verb, request.verb)) continue;
        request.error = r.error;
        if (description) *description = r.description;
        break;
    }
    shellRequests.push_back(request);
    lastError = request.error;
    return request.error;
}

HINSTANCE SimShell::ShellExecuteA(HWND hwnd, const char* operation, const char* file, const char* parameters,
                                  const char* directory, int showCommand) {
    const DWORD error = s_.Request({SimCall::ShellExecuteA, TextOf(operation), TextOf(file), TextOf(parameters),
                                    TextOf(directory), showCommand, hwnd});
    return error ? ShellResultOf(error) : kStarted;
}

BOOL SimShell::ShellExecuteExA(ShellExecuteRecord& info) {
    const auto request = DecodeShellExecuteInfo(info);
    ShellRequest r;
    r.call = SimCall::ShellExecuteExA;
    r.size = static_cast<DWORD>(GetLittleEndian(info, shell_execute_info::kCbSize, 4));
    if (!request) {
        s_.Enter(r.call);
        r.error = ERROR_INVALID_PARAMETER;
        s_.shellRequests.push_back(r);
        return s_.Fail(r.error);
    }
    r.verb = TextOf(request->lpVerb);
    r.file = TextOf(request->lpFile);
    r.parameters = TextOf(request->lpParameters);
    r.directory = TextOf(request->lpDirectory);
    r.show = request->nShow;
    r.window = request->hwnd;
    r.mask = request->fMask;
    const DWORD error = s_.Request(r);
    const ShellExecuteInfoLayout& layout = kShellExecuteInfo;
    PutLittleEndian(info, layout.hInstApp, error ? ShellResultOf(error) : kStarted, layout.pointerSize);
    if (error) return FALSE;
    if (request->fMask & SEE_MASK_NOCLOSEPROCESS) {
        const HANDLE process = s_.NewHandle();
        s_.processes.insert(process);
        PutLittleEndian(info, layout.hProcess, process, layout.pointerSize);
    }
    return TRUE;
}

UINT SimShell::WinExec(const char* commandLine, UINT showCommand) {
    ShellRequest r;
    r.call = SimCall::WinExec;
    r.file = TextOf(commandLine);
    r.show = static_cast<int>(showCommand);
    const DWORD error = s_.Request(r);
    return error ? static_cast<UINT>(ShellResultOf(error)) : 33;
}

BOOL SimShell::CloseHandle(HANDLE object) {
    s_.Enter(SimCall::CloseHandle);
    if (s_.processes.erase(object)) {
        s_.openHandles.erase(object);
        return TRUE;
    }
    return s_.Close(object);
}

DWORD SimShell::GetLastError() { return s_.lastError; }

HRESULT SimShell::CreateAutomationObject(const char* progId, AutomationObject* object) {
    ShellRequest r;
    r.call = SimCall::CreateAutomationObject;
    r.file = TextOf(progId);
    if (object) *object = 0;
    if (const DWORD error = s_.Request(r)) return static_cast<HRESULT>(error);
    if (!progId || UpperAscii(progId) != "SHELL.APPLICATION") return CO_E_CLASSSTRING;
    if (!object) return E_INVALIDARG;
    const AutomationObject made = s_.NewHandle();
    s_.automationObjects[made] = {progId, {}};
    *object = made;
    return S_OK;
}

HRESULT SimShell::GetIDsOfNames(AutomationObject object, const char* name, DISPID* id) {
    s_.Enter(SimCall::GetIDsOfNames);
    auto it = s_.automationObjects.find(object);
    if (it == s_.automationObjects.end() || !name || !id) return E_INVALIDARG;
    for (const char* method : kShellApplicationMethods) {
        if (UpperAscii(method) != UpperAscii(name)) continue;
        it->second.names.push_back(name);
        *id = static_cast<DISPID>(it->second.names.size());
        return S_OK;
    }
    return DISP_E_UNKNOWNNAME;
}

HRESULT SimShell::InvokeMethod(AutomationObject object, DISPID id, std::string& description) {
    description.clear();
    auto it = s_.automationObjects.find(object);
    if (it == s_.automationObjects.end()) {
        s_.Enter(SimCall::InvokeMethod);
        return E_INVALIDARG;
    }
    const auto& names = it->second.names;
    if (id < 1 || static_cast<size_t>(id) > names.size()) {
        s_.Enter(SimCall::InvokeMethod);
        return DISP_E_MEMBERNOTFOUND;
    }
    ShellRequest r;
    r.call = SimCall::InvokeMethod;
    r.file = it->second.progId;
    r.verb = names[static_cast<size_t>(id) - 1];
    return static_cast<HRESULT>(s_.Request(r, &description));
}

DWORD SimShell::Release(AutomationObject object) {
    s_.Enter(SimCall::Release);
    if (s_.automationObjects.erase(object)) s_.openHandles.erase(object);
    return 0;
}

}  // namespace tw::sim
