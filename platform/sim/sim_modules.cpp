// The simulated machine's run-time libraries: only the file-system utility
// library, whose check entry plays the machine file's script for the drive
// to its callback.
#include <cstring>

#include "platform/sim/state.h"

namespace tw::sim {

namespace {

constexpr HMODULE kFmifsModule = 0x7A000000;
constexpr FARPROC kChkdskEntry = 0x7A001000;

std::string LowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// The text record the library hands to the callback, laid out as it is.
std::vector<BYTE> TextRecord(const std::string& text) {
    std::vector<BYTE> record(kTextOutputTextOffset + sizeof(const char*), 0);
    const DWORD lines = 1;
    std::memcpy(record.data() + kTextOutputLinesOffset, &lines, sizeof lines);
    const char* pointer = text.c_str();
    std::memcpy(record.data() + kTextOutputTextOffset, &pointer, sizeof pointer);
    return record;
}

}  // namespace

HMODULE SimModules::LoadLibraryExA(const char* fileName, DWORD flags) {
    s_.Enter(SimCall::LoadLibraryExA);
    s_.libraryLoads.push_back({fileName ? fileName : "", flags});
    // The library lives in the system folder, and only its full path finds it.
    const std::string name = LowerAscii(fileName ? fileName : "");
    const std::string path = LowerAscii(s_.systemDirectory + "\\fmifs");
    if (!s_.fmifs.present || (name != path + ".dll" && name != path)) return s_.Fail(ERROR_MOD_NOT_FOUND, 0);
    ++s_.loadedLibraries;
    return s_.Succeed(kFmifsModule);
}

FARPROC SimModules::GetProcAddress(HMODULE module, const char* procName) {
    s_.Enter(SimCall::GetProcAddress);
    if (module != kFmifsModule || s_.loadedLibraries == 0) return s_.Fail(ERROR_INVALID_HANDLE, 0);
    if (!s_.fmifs.checkEntry || procName == nullptr || std::strcmp(procName, "Chkdsk") != 0)
        return s_.Fail(ERROR_PROC_NOT_FOUND, 0);
    return s_.Succeed(kChkdskEntry);
}

BOOL SimModules::FreeLibrary(HMODULE module) {
    s_.Enter(SimCall::FreeLibrary);
    if (module != kFmifsModule || s_.loadedLibraries == 0) return s_.Fail(ERROR_INVALID_HANDLE);
    --s_.loadedLibraries;
    return s_.Succeed();
}

DWORD SimModules::GetLastError() { return s_.lastError; }

void SimModules::CallChkdsk(FARPROC chkdsk, const char16_t* driveRoot, const char16_t*, BOOLEAN correctErrors, BOOLEAN,
                            BOOLEAN, BOOLEAN, FMIFSCALLBACK callback) {
    s_.Enter(SimCall::Chkdsk);
    if (chkdsk != kChkdskEntry || s_.loadedLibraries == 0 || callback == nullptr) return;
    ++s_.checksRun;
    char letter = driveRoot && driveRoot[0] < 0x80 ? static_cast<char>(driveRoot[0]) : 0;
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    // Fixing plays the drive's fixing script, else its checking one; a
    // drive without either cannot be opened by the library.
    static const std::vector<CheckStep> kNoVolume = {
        {CheckStep::Kind::Output, 0, "Cannot open volume for direct access.\n", true},
        {CheckStep::Kind::Done, 0, "", false},
    };
    const std::vector<CheckStep>* steps = &kNoVolume;
    if (auto fix = s_.fmifs.fixes.find(letter); correctErrors && fix != s_.fmifs.fixes.end()) {
        steps = &fix->second;
    } else if (auto check = s_.fmifs.checks.find(letter); check != s_.fmifs.checks.end()) {
        steps = &check->second;
    }
    for (const CheckStep& step : *steps) {
        BOOLEAN go = TRUE;
        switch (step.kind) {
            case CheckStep::Kind::Progress: {
                DWORD percent = step.percent;
                go = callback(FMIFS_PROGRESS, 0, &percent);
                break;
            }
            case CheckStep::Kind::Output: {
                std::vector<BYTE> record = TextRecord(step.text);
                go = callback(FMIFS_OUTPUT, 0, record.data());
                break;
            }
            case CheckStep::Kind::VolumeInUse: go = callback(FMIFS_VOLUME_IN_USE, 0, nullptr); break;
            case CheckStep::Kind::Done: {
                BOOLEAN sound = step.sound ? TRUE : FALSE;
                callback(FMIFS_DONE, 0, &sound);
                return;
            }
        }
        // A callback that answers FALSE stops the check where it is.
        if (!go) return;
    }
}

}  // namespace tw::sim
