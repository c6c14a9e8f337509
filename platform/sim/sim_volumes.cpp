// The volume manager of the simulated machine: the volume search, and each
// volume's drive roots and mount-point folders.
#include <cstring>

#include "platform/drive_names.h"
#include "platform/sim/state.h"

namespace tw::sim {

namespace {

// Copies `name` with its zero; false (and ERROR_FILENAME_EXCED_RANGE, as the
// system answers) when the buffer is too small.
bool CopyName(MachineState& s, const std::string& name, char* buffer, DWORD length) {
    if (buffer == nullptr || name.size() + 1 > length) {
        s.lastError = ERROR_FILENAME_EXCED_RANGE;
        return false;
    }
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    s.lastError = ERROR_SUCCESS;
    return true;
}

}  // namespace

SimVolume* MachineState::VolumeNamed(const char* name) {
    if (name == nullptr) return nullptr;
    const std::string wanted = UpperAscii(name);
    for (SimVolume& v : volumes) {
        if (UpperAscii(v.name) == wanted) return &v;
    }
    return nullptr;
}

SimDrive* MachineState::DriveOfVolume(SimVolume& volume) {
    if (volume.letter == 0) return &volume.drive;
    return Effective(volume.letter);
}

HANDLE SimKernel::FindFirstVolumeA(char* volumeName, DWORD bufferLength) {
    s_.Enter(SimCall::FindFirstVolumeA);
    if (s_.volumes.empty()) return s_.Fail(ERROR_NO_MORE_FILES, INVALID_HANDLE_VALUE);
    if (!CopyName(s_, s_.volumes.front().name, volumeName, bufferLength)) return INVALID_HANDLE_VALUE;
    const HANDLE h = s_.NewHandle();
    s_.volumeSearches[h] = 1;
    return h;
}

BOOL SimKernel::FindNextVolumeA(HANDLE findVolume, char* volumeName, DWORD bufferLength) {
    s_.Enter(SimCall::FindNextVolumeA);
    auto search = s_.volumeSearches.find(findVolume);
    if (search == s_.volumeSearches.end()) return s_.Fail(ERROR_INVALID_HANDLE);
    if (search->second >= s_.volumes.size()) return s_.Fail(ERROR_NO_MORE_FILES);
    if (!CopyName(s_, s_.volumes[search->second].name, volumeName, bufferLength)) return FALSE;
    ++search->second;
    return TRUE;
}

BOOL SimKernel::FindVolumeClose(HANDLE findVolume) {
    s_.Enter(SimCall::FindVolumeClose);
    if (s_.volumeSearches.erase(findVolume) == 0) return s_.Fail(ERROR_INVALID_HANDLE);
    s_.openHandles.erase(findVolume);
    return s_.Succeed();
}

BOOL SimKernel::GetVolumePathNamesForVolumeNameA(const char* volumeName, char* volumePathNames, DWORD bufferLength,
                                                 DWORD* returnLength) {
    s_.Enter(SimCall::GetVolumePathNamesForVolumeNameA);
    const std::string name = volumeName ? volumeName : "";
    // The volume is named with its trailing backslash or not at all.
    if (name.size() < 2 || name.back() != '\\' || name.compare(0, 4, "\\\\?\\") != 0)
        return s_.Fail(ERROR_INVALID_NAME);
    SimVolume* v = s_.VolumeNamed(volumeName);
    if (v == nullptr) return s_.Fail(ERROR_FILE_NOT_FOUND);
    std::string list;
    if (v->letter != 0 && s_.Present(v->letter)) {
        list += RootPath(v->letter);
        list += '\0';
    }
    for (const std::string& folder : v->mountPoints) {
        list += folder;
        list += '\0';
    }
    list += '\0';
    const auto needed = static_cast<DWORD>(list.size());
    if (returnLength) *returnLength = needed;
    if (volumePathNames == nullptr || bufferLength < needed) return s_.Fail(ERROR_MORE_DATA);
    std::memcpy(volumePathNames, list.data(), list.size());
    return s_.Succeed();
}

}  // namespace tw::sim
