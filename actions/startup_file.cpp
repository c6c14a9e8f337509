#include "actions/startup_file.h"

#include "platform/app_error.h"

namespace tw::actions {

using namespace tw::platform;

namespace {

[[noreturn]] void RaiseIoError(Kernel& kernel) { throw AppError("I/O error " + std::to_string(kernel.GetLastError())); }

}  // namespace

void AppendStartupLine(Kernel& kernel, const std::string& path, const std::string& line) {
    const HANDLE file = kernel.CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, 0);
    if (file == INVALID_HANDLE_VALUE) RaiseIoError(kernel);
    std::string text = line + "\r\n";
    DWORD count = 0;
    bool ok = kernel.SetFilePointer(file, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER;
    // The last line of a file may lack its line break, and old files end in
    // Ctrl-Z: the new line must start a line of its own, before any Ctrl-Z.
    char last = '\n';
    if (ok && kernel.SetFilePointer(file, -1, nullptr, FILE_END) != INVALID_SET_FILE_POINTER) {
        ok = kernel.ReadFile(file, &last, 1, &count, nullptr) != FALSE;
        if (ok && last == '\x1A')
            ok = kernel.SetFilePointer(file, -1, nullptr, FILE_END) != INVALID_SET_FILE_POINTER;
        else if (ok && last != '\n')
            text.insert(0, "\r\n");
    }
    ok = ok && kernel.WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &count, nullptr) &&
         count == text.size();
    if (!ok) {
        const DWORD error = kernel.GetLastError();
        kernel.CloseHandle(file);
        throw AppError("I/O error " + std::to_string(error == 0 ? ERROR_DISK_FULL : error));
    }
    if (!kernel.CloseHandle(file)) RaiseIoError(kernel);
}

}  // namespace tw::actions
