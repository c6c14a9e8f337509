// The simulated Save dialog and clipboard.
#include <cstring>

#include "platform/sim/state.h"

namespace tw::sim {

namespace {

// "Text|*.txt|" from the zero-separated pairs the dialog takes.
std::string FilterText(const char* filter) {
    std::string out;
    if (filter == nullptr) return out;
    while (*filter) {
        const size_t length = std::strlen(filter);
        out.append(filter, length);
        out += '|';
        filter += length + 1;
    }
    return out;
}

bool HasExtension(const std::string& path) {
    const size_t dot = path.find_last_of('.');
    const size_t slash = path.find_last_of("\\/");
    return dot != std::string::npos && (slash == std::string::npos || dot > slash);
}

}  // namespace

BOOL SimDesktop::GetSaveFileNameA(OPENFILENAMEA* ofn) {
    s_.Enter(SimCall::GetSaveFileNameA);
    s_.dialogError = 0;
    if (ofn == nullptr || ofn->lpstrFile == nullptr || ofn->nMaxFile == 0) {
        s_.dialogError = 0xFFFF;  // CDERR_DIALOGFAILURE
        return FALSE;
    }
    SaveDialogCall call;
    call.owner = ofn->hwndOwner;
    call.title = ofn->lpstrTitle ? ofn->lpstrTitle : "";
    call.filter = FilterText(ofn->lpstrFilter);
    call.filterIndex = ofn->nFilterIndex;
    call.initialName = ofn->lpstrFile;
    std::optional<std::string> answer;
    if (!s_.saveAnswers.empty()) {
        answer = s_.saveAnswers.front();
        s_.saveAnswers.pop_front();
    }
    if (answer && !HasExtension(*answer) && ofn->lpstrDefExt && *ofn->lpstrDefExt) {
        *answer += std::string(".") + ofn->lpstrDefExt;
    }
    call.answer = answer;
    s_.saveDialogs.push_back(call);
    if (!answer) return FALSE;  // the user cancels
    if (answer->size() + 1 > ofn->nMaxFile) {
        s_.dialogError = FNERR_BUFFERTOOSMALL;
        return FALSE;
    }
    std::memcpy(ofn->lpstrFile, answer->c_str(), answer->size() + 1);
    return TRUE;
}

DWORD SimDesktop::CommDlgExtendedError() { return s_.dialogError; }

BOOL SimDesktop::OpenClipboard(HWND) {
    s_.Enter(SimCall::OpenClipboard);
    if (s_.clipboardOpen) return s_.Fail(ERROR_ACCESS_DENIED);
    s_.clipboardOpen = true;
    return TRUE;
}

BOOL SimDesktop::EmptyClipboard() {
    s_.Enter(SimCall::EmptyClipboard);
    if (!s_.clipboardOpen) return s_.Fail(ERROR_CLIPBOARD_NOT_OPEN);
    s_.clipboardText.reset();
    return TRUE;
}

HANDLE SimDesktop::SetClipboardData(UINT format, HANDLE memory) {
    s_.Enter(SimCall::SetClipboardData);
    auto block = s_.globalBlocks.find(memory);
    if (!s_.clipboardOpen || format != CF_TEXT || block == s_.globalBlocks.end())
        return s_.Fail(s_.clipboardOpen ? ERROR_INVALID_PARAMETER : ERROR_CLIPBOARD_NOT_OPEN, 0);
    // The text up to its zero; the block now belongs to the clipboard.
    const std::vector<char>& bytes = block->second;
    s_.clipboardText = std::string(bytes.data(), strnlen(bytes.data(), bytes.size()));
    s_.globalBlocks.erase(block);
    s_.openHandles.erase(memory);
    return memory;
}

BOOL SimDesktop::CloseClipboard() {
    s_.Enter(SimCall::CloseClipboard);
    if (!s_.clipboardOpen) return s_.Fail(ERROR_CLIPBOARD_NOT_OPEN);
    s_.clipboardOpen = false;
    return TRUE;
}

HANDLE SimDesktop::GlobalAlloc(UINT, std::size_t bytes) {
    s_.Enter(SimCall::GlobalAlloc);
    const HANDLE h = s_.NewHandle();
    s_.globalBlocks[h] = std::vector<char>(bytes == 0 ? 1 : bytes, 0);
    return h;
}

void* SimDesktop::GlobalLock(HANDLE memory) {
    auto block = s_.globalBlocks.find(memory);
    if (block == s_.globalBlocks.end()) return s_.Fail(ERROR_INVALID_HANDLE, nullptr);
    return block->second.data();
}

BOOL SimDesktop::GlobalUnlock(HANDLE) { return TRUE; }

HANDLE SimDesktop::GlobalFree(HANDLE memory) {
    if (s_.globalBlocks.erase(memory) == 0) return s_.Fail(ERROR_INVALID_HANDLE, memory);
    s_.openHandles.erase(memory);
    return 0;
}

DWORD SimDesktop::GetLastError() { return s_.lastError; }

}  // namespace tw::sim
