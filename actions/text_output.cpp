#include "actions/text_output.h"

#include <algorithm>
#include <cstring>

namespace tw::actions {

using namespace tw::platform;

DWORD WriteTextFile(Kernel& kernel, const std::string& path, const std::string& text) {
    const HANDLE file =
        kernel.CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, 0);
    if (file == INVALID_HANDLE_VALUE) return kernel.GetLastError();
    DWORD error = ERROR_SUCCESS;
    size_t done = 0;
    // In pieces a DWORD can count; a short write with no error is a full disk.
    while (done < text.size()) {
        const DWORD piece = static_cast<DWORD>(std::min<size_t>(text.size() - done, 1u << 20));
        DWORD written = 0;
        if (!kernel.WriteFile(file, text.data() + done, piece, &written, nullptr)) {
            error = kernel.GetLastError();
            break;
        }
        if (written == 0) {
            error = ERROR_DISK_FULL;
            break;
        }
        done += written;
    }
    if (!kernel.CloseHandle(file) && error == ERROR_SUCCESS) error = kernel.GetLastError();
    return error;
}

DWORD CopyTextToClipboard(Desktop& desktop, HWND owner, const std::string& text) {
    // A failed step that leaves no code still fails.
    auto lastError = [&] {
        const DWORD e = desktop.GetLastError();
        return e == ERROR_SUCCESS ? ERROR_GEN_FAILURE : e;
    };
    if (!desktop.OpenClipboard(owner)) return lastError();
    DWORD error = ERROR_SUCCESS;
    HANDLE block = 0;
    if (!desktop.EmptyClipboard()) {
        error = lastError();
    } else if ((block = desktop.GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) == 0) {
        error = lastError();
    } else if (void* bytes = desktop.GlobalLock(block); bytes == nullptr) {
        error = lastError();
    } else {
        std::memcpy(bytes, text.c_str(), text.size() + 1);
        desktop.GlobalUnlock(block);
        if (desktop.SetClipboardData(CF_TEXT, block) != 0) {
            block = 0;  // the clipboard's now
        } else {
            error = lastError();
        }
    }
    if (block != 0) desktop.GlobalFree(block);
    desktop.CloseClipboard();
    return error;
}

}  // namespace tw::actions
