#include "actions/elevation.h"

#include <array>

namespace tw::actions {

using namespace tw::platform;

std::optional<bool> RunsElevated(Security& security) {
    HANDLE token = 0;
    if (!security.OpenProcessToken(security.GetCurrentProcess(), TOKEN_QUERY, &token)) return std::nullopt;
    std::array<BYTE, kTokenElevationSize> elevation{};
    DWORD returned = 0;
    const BOOL asked = security.GetTokenInformation(token, TokenElevation, elevation.data(),
                                                    static_cast<DWORD>(elevation.size()), &returned);
    security.CloseHandle(token);
    if (!asked) return std::nullopt;
    return (elevation[0] | elevation[1] | elevation[2] | elevation[3]) != 0;
}

std::string CommandLineOf(const std::vector<std::string>& args) {
    std::string line;
    for (const std::string& arg : args) {
        if (!line.empty()) line += ' ';
        if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) {
            line += arg;
            continue;
        }
        // Quoted as the system splits command lines: backslashes count only
        // before a quote, where they are doubled and the quote escaped.
        line += '"';
        std::size_t backslashes = 0;
        for (const char c : arg) {
            if (c == '\\') {
                ++backslashes;
                continue;
            }
            line.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
            backslashes = 0;
            line += c;
        }
        line.append(2 * backslashes, '\\');
        line += '"';
    }
    return line;
}

RestartOutcome RestartAsAdministrator(Kernel& kernel, Shell& shell, HWND owner, const std::vector<std::string>& args) {
    RestartOutcome outcome;
    std::array<char, 1024> path{};
    const DWORD length = kernel.GetModuleFileNameA(0, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) {
        outcome.error = kernel.GetLastError();
        return outcome;
    }
    const std::string file(path.data(), length);
    const std::string parameters = CommandLineOf(args);
    ShellExecuteRequest request;
    request.hwnd = owner;
    request.lpVerb = "runas";
    request.lpFile = file.c_str();
    request.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    request.nShow = SW_SHOWNORMAL;
    ShellExecuteRecord record = EncodeShellExecuteInfo(request);
    if (shell.ShellExecuteExA(record)) {
        outcome.started = true;
        return outcome;
    }
    outcome.error = shell.GetLastError();
    outcome.declined = outcome.error == ERROR_CANCELLED;
    return outcome;
}

}  // namespace tw::actions
