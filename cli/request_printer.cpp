#include "cli/request_printer.h"

#include <array>
#include <charconv>

#include "platform/drive_names.h"
#include "platform/printable.h"

namespace tw::cli {

using namespace tw::platform;

namespace {

// "text" as given, or null for a null pointer.
std::string Quoted(const char* text) { return text ? "\"" + Printable(text) + "\"" : "null"; }

std::string Hex(std::uint64_t value, int width) {
    std::array<char, 24> digits{};
    auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(), value, 16);
    std::string text(digits.data(), end);
    for (char& c : text) {
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    }
    if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<size_t>(width) - text.size(), '0');
    return "0x" + text;
}

std::string Window(HWND hwnd) { return hwnd ? Hex(hwnd, 0) : "0"; }

}  // namespace

PIDLIST_ABSOLUTE PrintingShell::SHBrowseForFolderA(BROWSEINFOA* bi) { return inner_.SHBrowseForFolderA(bi); }

BOOL PrintingShell::SHGetPathFromIDListA(PIDLIST_ABSOLUTE pidl, char* path) {
    return inner_.SHGetPathFromIDListA(pidl, path);
}

void PrintingShell::CoTaskMemFree(PIDLIST_ABSOLUTE pidl) { inner_.CoTaskMemFree(pidl); }

HINSTANCE PrintingShell::ShellExecuteA(HWND hwnd, const char* operation, const char* file, const char* parameters,
                                       const char* directory, int showCommand) {
    const HINSTANCE result = inner_.ShellExecuteA(hwnd, operation, file, parameters, directory, showCommand);
    out_ << "[shell] ShellExecuteA verb=" << Quoted(operation) << " file=" << Quoted(file)
         << " parameters=" << Quoted(parameters) << " directory=" << Quoted(directory)
         << " show=" << Decimal(showCommand) << " window=" << Window(hwnd) << " -> " << Decimal(result) << '\n';
    return result;
}

BOOL PrintingShell::ShellExecuteExA(ShellExecuteRecord& info) {
    const auto asked = DecodeShellExecuteInfo(info);
    const BOOL done = inner_.ShellExecuteExA(info);
    const DWORD error = done ? 0 : inner_.GetLastError();
    out_ << "[shell] ShellExecuteExA";
    if (asked) {
        out_ << " size=" << Decimal(asked->cbSize) << " mask=" << Hex(asked->fMask, 0)
             << " verb=" << Quoted(asked->lpVerb) << " file=" << Quoted(asked->lpFile)
             << " parameters=" << Quoted(asked->lpParameters) << " directory=" << Quoted(asked->lpDirectory)
             << " show=" << Decimal(asked->nShow) << " window=" << Window(asked->hwnd);
    } else {
        out_ << " (a record of another size)";
    }
    out_ << " -> " << (done ? "TRUE" : "FALSE, error " + Decimal(error)) << '\n';
    return done;
}

UINT PrintingShell::WinExec(const char* commandLine, UINT showCommand) {
    const UINT result = inner_.WinExec(commandLine, showCommand);
    out_ << "[run] WinExec " << Quoted(commandLine) << ' ' << Decimal(showCommand) << " -> " << Decimal(result) << '\n';
    return result;
}

BOOL PrintingShell::CloseHandle(HANDLE object) { return inner_.CloseHandle(object); }

DWORD PrintingShell::GetLastError() { return inner_.GetLastError(); }

HRESULT PrintingShell::CreateAutomationObject(const char* progId, AutomationObject* object) {
    const HRESULT hr = inner_.CreateAutomationObject(progId, object);
    if (Failed(hr) || !object) {
        out_ << "[automation] " << (progId ? Printable(progId) : "null") << " not created -> "
             << Hex(static_cast<std::uint32_t>(hr), 8) << '\n';
    } else {
        progIds_[*object] = progId ? progId : "";
    }
    return hr;
}

HRESULT PrintingShell::GetIDsOfNames(AutomationObject object, const char* name, DISPID* id) {
    const HRESULT hr = inner_.GetIDsOfNames(object, name, id);
    const std::string method = name ? Printable(name) : "null";
    if (Failed(hr) || !id) {
        out_ << "[automation] " << progIds_[object] << '.' << method << " not found -> "
             << Hex(static_cast<std::uint32_t>(hr), 8) << '\n';
    } else {
        methods_[{object, *id}] = method;
    }
    return hr;
}

HRESULT PrintingShell::InvokeMethod(AutomationObject object, DISPID id, std::string& description) {
    const HRESULT hr = inner_.InvokeMethod(object, id, description);
    out_ << "[automation] " << progIds_[object] << '.' << methods_[{object, id}] << " -> "
         << Hex(static_cast<std::uint32_t>(hr), 8) << '\n';
    return hr;
}

DWORD PrintingShell::Release(AutomationObject object) {
    progIds_.erase(object);
    for (auto it = methods_.begin(); it != methods_.end();) {
        it = it->first.first == object ? methods_.erase(it) : std::next(it);
    }
    return inner_.Release(object);
}

DWORD PrintingNetwork::WNetGetConnectionA(const char* localName, char* remoteName, DWORD* length) {
    return inner_.WNetGetConnectionA(localName, remoteName, length);
}

DWORD PrintingNetwork::WNetConnectionDialog(HWND hwnd, DWORD type) {
    const DWORD result = inner_.WNetConnectionDialog(hwnd, type);
    out_ << "[network] WNetConnectionDialog type=" << Decimal(type) << " window=" << Window(hwnd) << " -> "
         << (result == kDialogCancelled ? "cancelled" : Decimal(result)) << '\n';
    return result;
}

DWORD PrintingNetwork::WNetDisconnectDialog(HWND hwnd, DWORD type) {
    const DWORD result = inner_.WNetDisconnectDialog(hwnd, type);
    out_ << "[network] WNetDisconnectDialog type=" << Decimal(type) << " window=" << Window(hwnd) << " -> "
         << (result == kDialogCancelled ? "cancelled" : Decimal(result)) << '\n';
    return result;
}

}  // namespace tw::cli
