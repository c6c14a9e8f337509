#include "actions/logon_entry.h"

#include "platform/system_folders.h"

namespace tw::actions {

using namespace tw::platform;

namespace {

// "The data value for a key is a command line no longer than 260 characters"
// (Microsoft, "Run and RunOnce Registry Keys", learn.microsoft.com/en-us/
// windows/win32/setupapi/run-and-runonce-registry-keys); a longer one would
// be written and then never run.
constexpr size_t kLongestCommand = 260;

// The folder in quotes as the system splits a command line: backslashes count
// only before a quote, so those at the end are doubled. A folder's name
// cannot hold a quote itself.
std::string QuotedArgument(const std::string& folder) {
    const size_t lastOther = folder.find_last_not_of('\\');
    const size_t trailing = folder.size() - (lastOther == std::string::npos ? 0 : lastOther + 1);
    return '"' + folder + std::string(trailing, '\\') + '"';
}

}  // namespace

bool RunsLogonEntries(Kernel& kernel) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    return !kernel.GetVersionExA(&version) || version.dwPlatformId != VER_PLATFORM_WIN32_WINDOWS;
}

std::string LogonEntryName(char letter) { return "Tarnwell subst " + std::string(1, letter) + ":"; }

std::string LogonCommand(Kernel& kernel, char letter, const std::string& folder) {
    std::string program = SystemFile(kernel, "subst.exe");
    if (program.empty()) return {};
    if (program.find(' ') != std::string::npos) program = Quoted(program);
    return program + " " + std::string(1, letter) + ": " + QuotedArgument(folder);
}

DWORD AddLogonEntry(Kernel& kernel, Registry& registry, char letter, const std::string& folder) {
    const std::string command = LogonCommand(kernel, letter, folder);
    if (command.empty()) return ERROR_PATH_NOT_FOUND;
    if (command.size() > kLongestCommand) return ERROR_FILENAME_EXCED_RANGE;
    HKEY key = 0;
    DWORD disposition = 0;
    LONG rc = registry.RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                       nullptr, &key, &disposition);
    if (rc != static_cast<LONG>(ERROR_SUCCESS)) return static_cast<DWORD>(rc);
    // REG_SZ, not REG_EXPAND_SZ: the shell expands environment variables only
    // in the latter (Microsoft's KB 982591: a Run entry naming %SystemRoot%
    // stops running once its type is REG_SZ), so "%PATH%" in a folder's name
    // reaches subst.exe as it is.
    rc =
        registry.RegSetValueExA(key, LogonEntryName(letter).c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(command.c_str()), static_cast<DWORD>(command.size() + 1));
    registry.RegCloseKey(key);
    return static_cast<DWORD>(rc);
}

DWORD RemoveLogonEntry(Registry& registry, char letter) {
    HKEY key = 0;
    LONG rc = registry.RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &key);
    if (rc == static_cast<LONG>(ERROR_FILE_NOT_FOUND)) return ERROR_SUCCESS;
    if (rc != static_cast<LONG>(ERROR_SUCCESS)) return static_cast<DWORD>(rc);
    rc = registry.RegDeleteValueA(key, LogonEntryName(letter).c_str());
    registry.RegCloseKey(key);
    return rc == static_cast<LONG>(ERROR_FILE_NOT_FOUND) ? ERROR_SUCCESS : static_cast<DWORD>(rc);
}

}  // namespace tw::actions
