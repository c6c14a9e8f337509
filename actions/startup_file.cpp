#include "actions/startup_file.h"

#include "app/app_error.h"

namespace tw::actions {

using namespace tw::platform;

namespace {

[[noreturn]] void RaiseIoError(Kernel& kernel) { throw AppError("I/O error " + std::to_string(kernel.GetLastError())); }

}  // namespace

void AppendStartupLine(Kernel& kernel, const std::string& path, const std::string& line) {
    const HANDLE file = kernel.CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, 0);
    if (file == INVALID_HANDLE_VALUE) RaiseIoError(kernel);
    const std::string text = line + "\r\n";
    DWORD written = 0;
    const bool ok = kernel.SetFilePointer(file, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER &&
                    kernel.WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                    written == text.size();
    if (!ok) {
        const DWORD error = kernel.GetLastError();
        kernel.CloseHandle(file);
        throw AppError("I/O error " + std::to_string(error == 0 ? ERROR_DISK_FULL : error));
    }
    if (!kernel.CloseHandle(file)) RaiseIoError(kernel);
}

}  // namespace tw::actions
