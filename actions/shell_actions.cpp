#include "actions/shell_actions.h"

#include <array>
#include <charconv>

#include "platform/drive_names.h"
#include "platform/system_error_text.h"
#include "platform/system_folders.h"

namespace tw::actions {

using namespace tw::platform;

namespace {

ShellOutcome Executed(HINSTANCE result, std::string what) {
    if (result > 32) return {true, std::move(what), 0};
    return {false, std::move(what), ErrorOfShellResult(result)};
}

// True when the system folder holds `file`.
bool SystemHas(Kernel& kernel, const char* file) {
    const std::string path = SystemFile(kernel, file);
    return !path.empty() && kernel.GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The system folder's `file`; a system that cannot name its folder refuses
// with the kernel's reason.
ShellOutcome StartSystemProgram(Kernel& kernel, Shell& shell, const char* verb, const char* file,
                                const std::string& what) {
    const std::string path = SystemFile(kernel, file);
    if (path.empty()) return {false, "start " + what, kernel.GetLastError()};
    return Executed(shell.ShellExecuteA(0, verb, path.c_str(), nullptr, nullptr, SW_SHOWNORMAL), "start " + path);
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
    return Executed(shell.ShellExecuteA(owner, "explore", path.c_str(), "", "", SW_SHOWNORMAL),
                    "open " + path + " in Explorer");
}

ShellOutcome ShowDriveProperties(Shell& shell, HWND owner, char letter) {
    const std::string file = DriveName(letter);
    ShellExecuteRequest request;
    request.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    request.hwnd = owner;
    request.lpVerb = "properties";
    request.lpFile = file.c_str();
    ShellExecuteRecord record = EncodeShellExecuteInfo(request);
    const std::string what = "open the properties of " + file;
    if (!shell.ShellExecuteExA(record)) return {false, what, shell.GetLastError()};
    // The sheet runs in the shell; the process handle asked for is not needed.
    if (const auto answered = DecodeShellExecuteInfo(record); answered && answered->hProcess) {
        shell.CloseHandle(answered->hProcess);
    }
    return {true, what, 0};
}

ShellOutcome CallShellApplication(Shell& shell, const char* method, const std::string& what) {
    AutomationObject object = 0;
    std::string description;
    HRESULT hr = shell.CreateAutomationObject("Shell.Application", &object);
    if (!Failed(hr)) {
        DISPID id = 0;
        hr = shell.GetIDsOfNames(object, method, &id);
        if (!Failed(hr)) hr = shell.InvokeMethod(object, id, description);
        shell.Release(object);
    }
    if (Failed(hr)) return {false, what, static_cast<DWORD>(hr), description};
    return {true, what, 0};
}

ShellOutcome NetworkDriveDialog(Network& network, HWND owner, bool connect) {
    const DWORD result = connect ? network.WNetConnectionDialog(owner, RESOURCETYPE_DISK)
                                 : network.WNetDisconnectDialog(owner, RESOURCETYPE_DISK);
    const std::string what = connect ? "open the Map Network Drive dialog" : "open the Disconnect Network Drive dialog";
    if (result == ERROR_SUCCESS || result == kDialogCancelled) return {true, what, 0};
    return {false, what, result};
}

ShellOutcome StartFormatDialog(Kernel& kernel, Shell& shell, HWND owner) {
    const std::string system = SystemDirectory(kernel);
    const std::string windows = WindowsDirectory(kernel);
    if (system.empty() || windows.empty()) return {false, "open the format dialog", kernel.GetLastError()};
    const std::string program = system + "\\Rundll32.exe";
    // Quoted: rundll32 splits its parameters at blanks, and the folder may
    // hold one.
    const std::string parameters = Quoted(system + "\\Shell32.dll") + ",SHFormatDrive";
    const std::string directory = windows + "\\";
    return Executed(
        shell.ShellExecuteA(owner, "Open", program.c_str(), parameters.c_str(), directory.c_str(), SW_SHOWNORMAL),
        "start " + program + " " + parameters);
}

ShellOutcome StartDefragmenter(Kernel& kernel, Shell& shell) {
    const char* file = SystemHas(kernel, "dfrg.msc") ? "dfrg.msc" : "dfrgui.exe";
    return StartSystemProgram(kernel, shell, "", file, "the defragmenter");
}

ShellOutcome StartBackup(Kernel& kernel, Shell& shell, bool defaultVerb) {
    const char* file = SystemHas(kernel, "ntbackup.exe") ? "ntbackup.exe" : "sdclt.exe";
    return StartSystemProgram(kernel, shell, defaultVerb ? "" : "open", file, "the backup program");
}

ShellOutcome StartSafeRemoval(Kernel& kernel, Shell& shell) {
    const std::string system = SystemDirectory(kernel);
    if (system.empty()) return {false, "start the Safely Remove Hardware panel", kernel.GetLastError()};
    // Each part by its full path: rundll32 would look for a library named by
    // itself in the current folder too.
    const std::string command = Quoted(system + "\\rundll32.exe") + " " + Quoted(system + "\\shell32.dll") +
                                ",Control_RunDLL " + Quoted(system + "\\hotplug.dll");
    return Executed(shell.WinExec(command.c_str(), SW_SHOW), "start " + command);
}

ShellOutcome OpenWebPage(Shell& shell, const std::string& address) {
    return Executed(shell.ShellExecuteA(0, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL),
                    "open " + address);
}

std::string FailureText(Kernel& kernel, const ShellOutcome& outcome) {
    std::string reason = outcome.description;
    if (reason.empty()) reason = SystemErrorText(kernel, outcome.error);
    if (reason.empty()) {
        reason = "error " + (outcome.error >= 0x80000000u ? Hex(outcome.error) : Decimal(outcome.error));
    }
    // "... of C: Access is denied.": a drive name's colon already leads in.
    const char* lead = !outcome.what.empty() && outcome.what.back() == ':' ? " " : ": ";
    return "Could not " + outcome.what + lead + reason + ".";
}

}  // namespace tw::actions
