#include "actions/shell_actions.h"

#include <array>
#include <charconv>

#include "platform/drive_names.h"
#include "platform/system_error_text.h"

namespace tw::actions {

using namespace tw::platform;

namespace {

ShellOutcome Executed(HINSTANCE result, std::string what) {
    if (result > 32) return {true, std::move(what), 0};
    return {false, std::move(what), ErrorOfShellResult(result)};
}

// A folder the system reports, without a trailing backslash; none on failure.
template <typename Query>
std::string SystemFolder(Query query) {
    std::array<char, MAX_PATH + 1> buffer{};
    const UINT length = query(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length == 0 || length >= buffer.size()) return {};
    std::string folder(buffer.data(), length);
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

std::string SystemDirectory(Kernel& kernel) {
    return SystemFolder([&](char* b, UINT n) { return kernel.GetSystemDirectoryA(b, n); });
}

// True when the system folder holds `file`.
bool SystemHas(Kernel& kernel, const std::string& file) {
    const std::string folder = SystemDirectory(kernel);
    if (folder.empty()) return true;  // nothing to go by: ask for the program by its own name
    const std::string path = folder + "\\" + file;
    return kernel.GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Hex(DWORD value) {
    std::array<char, 16> digits{};
    auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(), value, 16);
    std::string text(digits.data(), end);
    for (char& c : text) {
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    }
    return "0x" + std::string(8 - text.size(), '0') + text;
}

}  // namespace

ShellOutcome Explore(Shell& shell, HWND owner, const std::string& path) {
    return Executed(shell.ShellExecuteA(owner, "explore", path.c_str(), "", "", SW_SHOWNORMAL), "Explorer for " + path);
}

ShellOutcome ShowDriveProperties(Shell& shell, HWND owner, char letter) {
    const std::string file = DriveName(letter);
    ShellExecuteRequest request;
    request.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    request.hwnd = owner;
    request.lpVerb = "properties";
    request.lpFile = file.c_str();
    ShellExecuteRecord record = EncodeShellExecuteInfo(request);
    const std::string what = "the properties of " + file;
    if (!shell.ShellExecuteExA(record)) return {false, what, shell.GetLastError()};
    // The sheet runs in the shell; the process handle asked for is not needed.
    if (const auto answered = DecodeShellExecuteInfo(record); answered && answered->hProcess) {
        shell.CloseHandle(answered->hProcess);
    }
    return {true, what, 0};
}

ShellOutcome CallShellApplication(Shell& shell, const char* method) {
    const std::string what = std::string("Shell.Application.") + method;
    AutomationObject object = 0;
    HRESULT hr = shell.CreateAutomationObject("Shell.Application", &object);
    if (!Failed(hr)) {
        DISPID id = 0;
        hr = shell.GetIDsOfNames(object, method, &id);
        if (!Failed(hr)) hr = shell.InvokeMethod(object, id);
        shell.Release(object);
    }
    if (Failed(hr)) return {false, what, static_cast<DWORD>(hr)};
    return {true, what, 0};
}

ShellOutcome NetworkDriveDialog(Network& network, HWND owner, bool connect) {
    const DWORD result = connect ? network.WNetConnectionDialog(owner, RESOURCETYPE_DISK)
                                 : network.WNetDisconnectDialog(owner, RESOURCETYPE_DISK);
    const std::string what = connect ? "the Map Network Drive dialog" : "the Disconnect Network Drive dialog";
    if (result == ERROR_SUCCESS || result == kDialogCancelled) return {true, what, 0};
    return {false, what, result};
}

ShellOutcome StartFormatDialog(Kernel& kernel, Shell& shell, HWND owner) {
    const std::string system = SystemDirectory(kernel);
    const std::string windows = SystemFolder([&](char* b, UINT n) { return kernel.GetWindowsDirectoryA(b, n); });
    if (system.empty() || windows.empty()) return {false, "the format dialog", kernel.GetLastError()};
    const std::string program = system + "\\Rundll32.exe";
    const std::string parameters = system + "\\Shell32.dll,SHFormatDrive";
    const std::string directory = windows + "\\";
    return Executed(
        shell.ShellExecuteA(owner, "Open", program.c_str(), parameters.c_str(), directory.c_str(), SW_SHOWNORMAL),
        program + " " + parameters);
}

ShellOutcome StartDefragmenter(Kernel& kernel, Shell& shell) {
    const char* file = SystemHas(kernel, "dfrg.msc") ? "dfrg.msc" : "dfrgui.exe";
    return Executed(shell.ShellExecuteA(0, "", file, nullptr, nullptr, SW_SHOWNORMAL), file);
}

ShellOutcome StartBackup(Kernel& kernel, Shell& shell, bool defaultVerb) {
    const bool old = SystemHas(kernel, "ntbackup.exe");
    const char* verb = defaultVerb ? "" : "open";
    const char* file = !old ? "sdclt.exe" : defaultVerb ? "ntbackup.exe" : "ntbackup";
    return Executed(shell.ShellExecuteA(0, verb, file, nullptr, nullptr, SW_SHOWNORMAL), file);
}

ShellOutcome StartSafeRemoval(Shell& shell) {
    constexpr const char* kCommand = "rundll32.exe shell32.dll,Control_RunDLL hotplug.dll";
    return Executed(shell.WinExec(kCommand, SW_SHOW), kCommand);
}

ShellOutcome OpenWebPage(Shell& shell, const std::string& address) {
    return Executed(shell.ShellExecuteA(0, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL), address);
}

std::string FailureText(Kernel& kernel, const ShellOutcome& outcome) {
    std::string reason = SystemErrorText(kernel, outcome.error);
    if (reason.empty()) {
        reason = "error " + (outcome.error >= 0x80000000u ? Hex(outcome.error) : Decimal(outcome.error));
    }
    return "Could not start " + outcome.what + ": " + reason + ".";
}

}  // namespace tw::actions
