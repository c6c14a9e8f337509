// Stamps on the way from process creation to the list on screen, for the
// start-up benchmark's breakdown. Only the benchmark's build of the program
// (TW_STARTUP_TRACE) writes them: at the end of the run, to the file that the
// environment variable TARNWELL_STARTUP_TRACE names, one "milliseconds step"
// line per stamp, counted from the creation of the process. The shipped
// program's stamps compile to nothing.
#pragma once
#include "gui/win32/win_headers.h"

#ifdef TW_STARTUP_TRACE
#include <charconv>
#include <string>
#endif
#include <string_view>

namespace tw::gui {

class StartupTrace {
public:
#ifdef TW_STARTUP_TRACE
    static constexpr bool kEnabled = true;
    StartupTrace() {
        FILETIME exit, kernel, user;
        GetProcessTimes(GetCurrentProcess(), &created_, &exit, &kernel, &user);
    }
    StartupTrace(const StartupTrace&) = delete;
    StartupTrace& operator=(const StartupTrace&) = delete;
    ~StartupTrace() { Write(); }

    void Mark(std::string_view step) {
        FILETIME now;
        GetSystemTimePreciseAsFileTime(&now);
        const long long ticks = Ticks(now) - Ticks(created_);  // 100 ns each
        char number[24];
        const auto end = std::to_chars(number, number + sizeof number, ticks / 10000).ptr;
        lines_.append(number, end).append(1, ' ').append(step).append(1, '\n');
    }

private:
    static long long Ticks(const FILETIME& t) {
        return static_cast<long long>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    }
    void Write() const {
        char path[MAX_PATH];
        const DWORD n = GetEnvironmentVariableA("TARNWELL_STARTUP_TRACE", path, sizeof path);
        if (n == 0 || n >= sizeof path) return;
        const HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return;
        DWORD written = 0;
        WriteFile(file, lines_.data(), static_cast<DWORD>(lines_.size()), &written, nullptr);
        CloseHandle(file);
    }

    FILETIME created_{};
    std::string lines_;
#else
    static constexpr bool kEnabled = false;
    void Mark(std::string_view) {}
#endif
};

}  // namespace tw::gui
