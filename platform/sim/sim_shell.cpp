#include <cstring>

#include "platform/sim/state.h"

namespace tw::sim {

PIDLIST_ABSOLUTE SimShell::SHBrowseForFolderA(BROWSEINFOA* bi) {
    if (s_.Enter("SHBrowseForFolderA")) return 0;
    s_.lastBrowseTitle = bi && bi->lpszTitle ? bi->lpszTitle : "";
    s_.lastBrowseOwner = bi ? bi->hwndOwner : 0;
    if (s_.browserAnswers.empty()) return 0;  // the user cancels
    std::optional<std::string> answer = s_.browserAnswers.front();
    s_.browserAnswers.pop_front();
    if (!answer) return 0;
    if (bi && bi->pszDisplayName) {
        const std::string name = answer->substr(answer->find_last_of('\\') + 1);
        std::strncpy(bi->pszDisplayName, name.c_str(), MAX_PATH - 1);
        bi->pszDisplayName[MAX_PATH - 1] = 0;
    }
    const PIDLIST_ABSOLUTE pidl = s_.NewHandle();
    s_.pidls[pidl] = *answer;
    return pidl;
}

BOOL SimShell::SHGetPathFromIDListA(PIDLIST_ABSOLUTE pidl, char* path) {
    if (s_.Enter("SHGetPathFromIDListA")) return FALSE;
    auto it = s_.pidls.find(pidl);
    if (it == s_.pidls.end() || path == nullptr || it->second.size() >= MAX_PATH) return FALSE;
    std::memcpy(path, it->second.c_str(), it->second.size() + 1);
    return TRUE;
}

void SimShell::CoTaskMemFree(PIDLIST_ABSOLUTE pidl) {
    s_.Enter("CoTaskMemFree");
    if (s_.pidls.erase(pidl)) s_.openHandles.erase(pidl);
}

}  // namespace tw::sim
