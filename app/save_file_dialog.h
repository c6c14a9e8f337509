// The system's Save dialog as the windows ask it: a suggested name, the
// types to choose from, overwrite confirmed, the current folder left alone.
#pragma once
#include <optional>
#include <string>

#include "platform/platform.h"

namespace tw {

struct SaveRequest {
    platform::HWND owner = 0;
    std::string initialName;       // "Drives.csv"
    const char* filter = nullptr;  // zero-separated description and pattern pairs
    const char* title = nullptr;
    const char* defaultExtension = nullptr;
};

struct ChosenFile {
    std::string path;
    platform::DWORD filterIndex = 1;  // the type chosen, from 1
};

// The file the user chose; none when the dialog was cancelled. Throws an
// AppError with the reason when the dialog could not be shown.
std::optional<ChosenFile> AskSaveFile(platform::Desktop& desktop, const SaveRequest& request);

}  // namespace tw
