#include "diagnostics/check_disk.h"

#include <cstring>
#include <optional>
#include <string>

#include "platform/drive_names.h"
#include "platform/system_folders.h"

namespace tw::diagnostics {

using namespace tw::platform;

namespace {

constexpr const char* kLibrary = "fmifs.dll";
constexpr const char* kCheckEntry = "Chkdsk";

// The library's callback carries no context of its own: the check that runs
// on this thread is found through this pointer, set for the call's length.
struct RunningCheck {
    TaskReport* report = nullptr;
    std::optional<bool> sound;  // the verdict, once the library gives it
    std::string partial;        // text after the last line break
};
thread_local RunningCheck* tRunning = nullptr;

void AddText(RunningCheck& run, const char* text) {
    run.partial += text;
    for (size_t end; (end = run.partial.find('\n')) != std::string::npos;) {
        std::string line = run.partial.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        run.report->Line(line);
        run.partial.erase(0, end + 1);
    }
}

BOOLEAN TW_NTAPI Callback(DWORD command, DWORD, void* info) {
    RunningCheck* run = tRunning;
    if (run == nullptr) return FALSE;
    switch (command) {
        case FMIFS_PROGRESS:
            if (info) {
                DWORD percent = 0;
                std::memcpy(&percent, info, sizeof percent);
                run->report->Percent(static_cast<int>(percent > 100 ? 100 : percent));
            }
            break;
        case FMIFS_OUTPUT:
            if (info) {
                const char* text = nullptr;
                std::memcpy(&text, static_cast<const char*>(info) + kTextOutputTextOffset, sizeof text);
                if (text) AddText(*run, text);
            }
            break;
        case FMIFS_DONE:
            if (info) {
                BOOLEAN sound = FALSE;
                std::memcpy(&sound, info, sizeof sound);
                run->sound = sound != FALSE;
            }
            break;
        default: break;
    }
    return run->report->StopRequested() ? FALSE : TRUE;
}

// The file-system name as UTF-16; the names are ASCII.
std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// The library from the system folder, never one of that name elsewhere.
HMODULE LoadCheckLibrary(Platform& platform) {
    const std::string path = SystemFile(platform.kernel(), kLibrary);
    if (path.empty()) return 0;
    return platform.modules().LoadLibraryExA(path.c_str(), LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

bool CheckDiskAvailable(Platform& platform) {
    Modules& modules = platform.modules();
    const HMODULE library = LoadCheckLibrary(platform);
    if (library == 0) return false;
    const bool found = modules.GetProcAddress(library, kCheckEntry) != 0;
    modules.FreeLibrary(library);
    return found;
}

CheckOutcome CheckDisk(Platform& platform, char letter, bool fix, TaskReport& report) {
    Modules& modules = platform.modules();
    const HMODULE library = LoadCheckLibrary(platform);
    if (library == 0) {
        report.Line(kCheckDiskUnavailable);
        return CheckOutcome::Unavailable;
    }
    const FARPROC entry = modules.GetProcAddress(library, kCheckEntry);
    if (entry == 0) {
        modules.FreeLibrary(library);
        report.Line(kCheckDiskUnavailable);
        return CheckOutcome::Unavailable;
    }
    const std::string root = RootPath(letter);
    char fileSystem[MAX_PATH + 1] = {};
    if (!platform.kernel().GetVolumeInformationA(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, fileSystem,
                                                 sizeof fileSystem)) {
        modules.FreeLibrary(library);
        report.Line("Drive " + std::string(1, letter) + ": is not ready.");
        return CheckOutcome::NotReady;
    }
    report.Line(std::string(fix ? "Checking and fixing drive " : "Checking drive ") + letter + ": (" + fileSystem +
                ")");
    RunningCheck run;
    run.report = &report;
    tRunning = &run;
    const std::u16string wideRoot = Wide(root);
    const std::u16string wideFileSystem = Wide(fileSystem);
    modules.CallChkdsk(entry, wideRoot.c_str(), wideFileSystem.c_str(), fix ? TRUE : FALSE, FALSE, FALSE, FALSE,
                       &Callback);
    tRunning = nullptr;
    modules.FreeLibrary(library);
    if (!run.partial.empty()) report.Line(run.partial);

    if (run.sound == true) {
        report.Line("No problems were found.");
        return CheckOutcome::Sound;
    }
    if (!run.sound && report.StopRequested()) {
        report.Line("The check was stopped.");
        return CheckOutcome::Stopped;
    }
    report.Line("Problems were found, or the check could not finish.");
    return CheckOutcome::Problems;
}

}  // namespace tw::diagnostics
