#include "actions/startup_file.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tw::actions {

using namespace tw::platform;

namespace {

constexpr char kEndOfFile = '\x1A';

// The error of the call that just failed; never 0, so a failure stays one.
DWORD Failure(Kernel& kernel) {
    const DWORD error = kernel.GetLastError();
    return error == ERROR_SUCCESS ? ERROR_GEN_FAILURE : error;
}

// Moves the pointer by `distance` from the start or the end (`method`);
// false when it could not, with the cause in the last error.
bool Seek(Kernel& kernel, HANDLE file, std::uint64_t distance, DWORD method, std::uint64_t& position) {
    LONG high = static_cast<LONG>(distance >> 32);
    kernel.SetLastError(ERROR_SUCCESS);
    const DWORD low = kernel.SetFilePointer(file, static_cast<LONG>(static_cast<DWORD>(distance)), &high, method);
    if (low == INVALID_SET_FILE_POINTER && kernel.GetLastError() != ERROR_SUCCESS) return false;
    position = (static_cast<std::uint64_t>(static_cast<DWORD>(high)) << 32) | low;
    return true;
}

// Where the trailing end-of-file marks begin, and whether the text before them
// ends its last line.
struct Tail {
    std::uint64_t marksStart = 0;
    bool lineEnded = true;
};

DWORD ReadTail(Kernel& kernel, HANDLE file, std::uint64_t size, Tail& tail) {
    std::array<char, 512> block{};
    std::uint64_t end = size;
    while (end > 0) {
        const auto count = static_cast<DWORD>(std::min<std::uint64_t>(end, block.size()));
        std::uint64_t at = 0;
        DWORD read = 0;
        if (!Seek(kernel, file, end - count, FILE_BEGIN, at)) return Failure(kernel);
        if (!kernel.ReadFile(file, block.data(), count, &read, nullptr)) return Failure(kernel);
        if (read != count) return ERROR_GEN_FAILURE;  // the file shrank under us
        DWORD i = count;
        while (i > 0 && block[i - 1] == kEndOfFile) --i;
        if (i > 0) {
            tail.marksStart = end - count + i;
            tail.lineEnded = block[i - 1] == '\n';
            return ERROR_SUCCESS;
        }
        end -= count;
    }
    tail = Tail{};
    return ERROR_SUCCESS;
}

DWORD Append(Kernel& kernel, HANDLE file, const std::string& line) {
    std::uint64_t size = 0;
    if (!Seek(kernel, file, 0, FILE_END, size)) return Failure(kernel);
    Tail tail;
    if (const DWORD error = ReadTail(kernel, file, size, tail)) return error;
    std::string text = (tail.lineEnded ? "" : "\r\n") + line + "\r\n";
    text.append(static_cast<size_t>(size - tail.marksStart), kEndOfFile);
    std::uint64_t at = 0;
    if (!Seek(kernel, file, tail.marksStart, FILE_BEGIN, at)) return Failure(kernel);
    DWORD written = 0;
    if (!kernel.WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
        return Failure(kernel);
    }
    return written == text.size() ? ERROR_SUCCESS : ERROR_DISK_FULL;
}

}  // namespace

std::string StartupLine(char letter, const std::string& folder) {
    std::string quoted;
    for (char c : folder) {
        quoted += c;
        if (c == '%') quoted += '%';
    }
    const size_t lastOther = quoted.find_last_not_of('\\');
    const size_t trailing = quoted.size() - (lastOther == std::string::npos ? 0 : lastOther + 1);
    quoted.append(trailing, '\\');
    return "subst " + std::string(1, letter) + ": \"" + quoted + "\"";
}

DWORD AppendStartupLine(Kernel& kernel, const std::string& path, const std::string& line) {
    const HANDLE file = kernel.CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, 0);
    if (file == INVALID_HANDLE_VALUE) return Failure(kernel);
    DWORD error = Append(kernel, file, line);
    if (!kernel.CloseHandle(file) && error == ERROR_SUCCESS) error = Failure(kernel);
    return error;
}

}  // namespace tw::actions
