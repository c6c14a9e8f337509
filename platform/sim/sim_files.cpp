// The simulated machine's device names, version and files.
#include <algorithm>
#include <cstring>

#include "platform/modules.h"
#include "platform/sim/state.h"

namespace tw::sim {

BOOL SimKernel::DefineDosDeviceA(DWORD flags, const char* deviceName, const char* targetPath) {
    // Exactly "X:".
    const char letter = LetterOf(deviceName) && deviceName[2] == 0 ? LetterOf(deviceName) : 0;
    if (s_.Faulted(SimCall::DefineDosDeviceA, letter)) return FALSE;
    if (letter == 0) return s_.Fail(ERROR_INVALID_PARAMETER);
    const std::string target = targetPath ? targetPath : "";
    // Without DDD_RAW_TARGET_PATH the target is a DOS path: the system keeps it
    // in its NT form.
    const std::string mapping = (flags & DDD_RAW_TARGET_PATH) || target.empty() ? target : "\\??\\" + target;
    auto& stack = s_.definitions[letter];
    if (!(flags & DDD_REMOVE_DEFINITION)) {
        if (target.empty()) return s_.Fail(ERROR_INVALID_PARAMETER);
        auto refused = s_.drives.find(letter);
        if (refused != s_.drives.end() && refused->second.defineError != ERROR_SUCCESS) {
            return s_.Fail(refused->second.defineError);
        }
        stack.push_back(mapping);
        s_.changes.push_back(std::string("define ") + letter + ": " + mapping);
        return s_.Succeed();
    }
    // Removal: the most recent definition that matches; no target matches any.
    auto matches = [&](const std::string& defined) {
        if (mapping.empty()) return true;
        if (flags & DDD_EXACT_MATCH_ON_REMOVE) return UpperAscii(defined) == UpperAscii(mapping);
        return UpperAscii(defined).rfind(UpperAscii(mapping), 0) == 0;
    };
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        if (matches(*it)) {
            s_.changes.push_back(std::string("remove ") + letter + ": " + *it);
            stack.erase(std::next(it).base());
            return s_.Succeed();
        }
    }
    // Nothing defined on top that matches: the letter's own mapping may be it.
    auto d = s_.drives.find(letter);
    if (stack.empty() && d != s_.drives.end() && d->second.present && matches(d->second.dosDevice)) {
        d->second.present = false;
        d->second.type = DRIVE_NO_ROOT_DIR;  // the letter now names nothing
        s_.changes.push_back(std::string("remove ") + letter + ":");
        return s_.Succeed();
    }
    return s_.Fail(ERROR_FILE_NOT_FOUND);
}

BOOL SimKernel::GetVersionExA(OSVERSIONINFOA* info) {
    if (s_.Faulted(SimCall::GetVersionExA)) return FALSE;
    if (info == nullptr || info->dwOSVersionInfoSize < sizeof(OSVERSIONINFOA)) {
        return s_.Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    *info = s_.version;
    info->dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    return s_.Succeed();
}

namespace {

UINT CopyDirectory(const std::string& folder, char* buffer, UINT size) {
    const auto needed = static_cast<UINT>(folder.size() + 1);
    if (buffer == nullptr || size < needed) return needed;
    std::memcpy(buffer, folder.c_str(), needed);
    return needed - 1;
}

}  // namespace

UINT SimKernel::GetSystemDirectoryA(char* buffer, UINT size) {
    s_.Enter(SimCall::GetSystemDirectoryA);
    return CopyDirectory(s_.systemDirectory, buffer, size);
}

DWORD SimKernel::GetModuleFileNameA(std::uintptr_t module, char* fileName, DWORD size) {
    if (s_.Enter(SimCall::GetModuleFileNameA)) return 0;
    if (module != 0) return s_.Fail(ERROR_MOD_NOT_FOUND, DWORD{0});
    if (fileName == nullptr || size == 0) return s_.Fail(ERROR_INSUFFICIENT_BUFFER, DWORD{0});
    const std::string& path = s_.programPath;
    if (path.size() >= size) {
        std::memcpy(fileName, path.data(), size - 1);
        fileName[size - 1] = '\0';
        return s_.Fail(ERROR_INSUFFICIENT_BUFFER, size);
    }
    std::memcpy(fileName, path.c_str(), path.size() + 1);
    return s_.Succeed(static_cast<DWORD>(path.size()));
}

UINT SimKernel::GetWindowsDirectoryA(char* buffer, UINT size) {
    s_.Enter(SimCall::GetWindowsDirectoryA);
    return CopyDirectory(s_.windowsDirectory, buffer, size);
}

HANDLE SimKernel::CreateFileA(const char* fileName, DWORD desiredAccess, DWORD shareMode, void*,
                              DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE) {
    const char letter = fileName == nullptr                                                              ? 0
                        : std::strncmp(fileName, "\\\\.\\", 4) == 0 && fileName[4] && fileName[5] == ':' ? fileName[4]
                        : fileName[0] && fileName[1] == ':'                                              ? fileName[0]
                                                                                                         : 0;
    if (s_.Faulted(SimCall::CreateFileA, UpperAscii(std::string(1, letter))[0])) return INVALID_HANDLE_VALUE;
    const std::string name = fileName ? fileName : "";
    if (name.rfind("\\\\.\\", 0) == 0) {
        return s_.OpenDevicePath(name, desiredAccess, shareMode, creationDisposition, flagsAndAttributes);
    }
    const std::string key = UpperAscii(name);
    if (key.empty()) return s_.Fail(ERROR_PATH_NOT_FOUND, INVALID_HANDLE_VALUE);
    auto it = s_.files.find(key);
    SimFile* file = it == s_.files.end() ? nullptr : &it->second;
    if (file && file->openError != ERROR_SUCCESS) return s_.Fail(file->openError, INVALID_HANDLE_VALUE);
    // A folder does not open as a file.
    if (s_.IsFolder(key)) return s_.Fail(ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE);
    const bool exists = file && file->text.has_value();
    // A read-only volume takes no writes.
    if (SimDrive* drive = s_.DriveOf(key.c_str()); drive && (desiredAccess & GENERIC_WRITE) && drive->volume.value &&
                                                   (drive->volume.value->flags & FILE_READ_ONLY_VOLUME)) {
        return s_.Fail(ERROR_WRITE_PROTECT, INVALID_HANDLE_VALUE);
    }
    switch (creationDisposition) {
        case OPEN_EXISTING:
            if (!exists) return s_.Fail(ERROR_FILE_NOT_FOUND, INVALID_HANDLE_VALUE);
            break;
        case CREATE_NEW:
            if (exists) return s_.Fail(ERROR_FILE_EXISTS, INVALID_HANDLE_VALUE);
            break;
        case OPEN_ALWAYS:
        case CREATE_ALWAYS: break;
        default: return s_.Fail(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);
    }
    // A new file needs its folder.
    const size_t slash = key.find_last_of('\\');
    if (!exists && (slash == std::string::npos || !s_.IsFolder(key.substr(0, slash))))
        return s_.Fail(ERROR_PATH_NOT_FOUND, INVALID_HANDLE_VALUE);
    SimFile& f = s_.files[key];
    if (!f.text || creationDisposition == CREATE_ALWAYS) f.text = std::string();
    const HANDLE h = s_.NewHandle();
    s_.openFiles[h] = OpenFile{key, 0, desiredAccess, flagsAndAttributes};
    // Both "always" dispositions report that the file was already there.
    const bool always = creationDisposition == OPEN_ALWAYS || creationDisposition == CREATE_ALWAYS;
    s_.lastError = exists && always ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS;
    return h;
}

bool MachineState::IsFolder(const std::string& path) {
    if (path.size() == 2 && path[1] == ':') return Effective(path[0]) != nullptr;
    if (folders.count(path)) return true;
    auto below = folders.lower_bound(path + "\\");
    return below != folders.end() && below->rfind(path + "\\", 0) == 0;
}

DWORD SimKernel::GetFileAttributesA(const char* fileName) {
    const std::string path = UpperAscii(fileName ? fileName : "");
    if (s_.Faulted(SimCall::GetFileAttributesA, path.size() >= 2 && path[1] == ':' ? path[0] : 0))
        return INVALID_FILE_ATTRIBUTES;
    // "C:\work\" names the folder C:\work; "C:\" and "C:" the root.
    std::string key = path;
    if (key.size() > 2 && key.back() == '\\') key.pop_back();
    if (!key.empty() && s_.IsFolder(key)) return s_.Succeed(FILE_ATTRIBUTE_DIRECTORY);
    auto file = s_.files.find(key);
    if (file != s_.files.end() && file->second.text && key == path) return s_.Succeed(FILE_ATTRIBUTE_ARCHIVE);
    const size_t slash = key.find_last_of('\\');
    const bool parentExists = slash != std::string::npos && s_.IsFolder(key.substr(0, slash));
    return s_.Fail(parentExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND, INVALID_FILE_ATTRIBUTES);
}

// The open file behind `file` when it was opened with `access`; otherwise null,
// with the error Windows gives.
OpenFile* MachineState::FileFor(HANDLE file, DWORD access) {
    auto it = openFiles.find(file);
    if (it == openFiles.end()) return Fail(ERROR_INVALID_HANDLE, nullptr);
    if ((it->second.access & access) != access) return Fail(ERROR_ACCESS_DENIED, nullptr);
    return &it->second;
}

BOOL SimKernel::ReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read, void*) {
    if (s_.Faulted(SimCall::ReadFile)) return FALSE;
    if (read) *read = 0;
    OpenFile* open = s_.FileFor(file, GENERIC_READ);
    if (open == nullptr) return FALSE;
    if (!s_.Aligned(*open, buffer, toRead)) return FALSE;
    s_.Spend(*open, toRead, false);
    const std::string& text = *s_.files[open->path].text;
    // Reading at or past the end succeeds with nothing read.
    const size_t from = static_cast<size_t>(std::min<std::uint64_t>(open->position, text.size()));
    const size_t count = std::min<size_t>(toRead, text.size() - from);
    if (count) std::memcpy(buffer, text.data() + from, count);
    open->position += count;  // past the end the pointer stays where it is
    if (read) *read = static_cast<DWORD>(count);
    return s_.Succeed();
}

BOOL SimKernel::WriteFile(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written, void*) {
    if (s_.Faulted(SimCall::WriteFile)) return FALSE;
    if (written) *written = 0;
    OpenFile* open = s_.FileFor(file, GENERIC_WRITE);
    if (open == nullptr) return FALSE;
    if (!s_.Aligned(*open, buffer, toWrite)) return FALSE;
    SimFile& f = s_.files[open->path];
    if (f.writeError != ERROR_SUCCESS) return s_.Fail(f.writeError);
    if (SimDrive* drive = s_.DriveOf(open->path.c_str())) {
        const SimIo& io = drive->io;
        if (io.writeErrorAfter && io.written + toWrite > *io.writeErrorAfter) return s_.Fail(io.writeError);
    }
    s_.Spend(*open, toWrite, true);
    // Writing nothing leaves the file as it is, even with the pointer past its end.
    if (toWrite > 0) {
        std::string& text = *f.text;
        const auto* bytes = static_cast<const char*>(buffer);
        // A simulated file lives in memory: a write far past its end is a full disk.
        constexpr std::uint64_t kMaxSize = 64u << 20;
        if (open->position + toWrite > kMaxSize) return s_.Fail(ERROR_DISK_FULL);
        const auto at = static_cast<size_t>(open->position);
        if (text.size() < at) text.resize(at, '\0');
        text.replace(at, std::min<size_t>(toWrite, text.size() - at), bytes, toWrite);
        open->position += toWrite;
        s_.changes.push_back("write " + open->path + " " + std::string(bytes, toWrite));
    }
    if (written) *written = toWrite;
    return s_.Succeed();
}

DWORD SimKernel::SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD moveMethod) {
    if (s_.Faulted(SimCall::SetFilePointer)) return INVALID_SET_FILE_POINTER;
    OpenFile* open = s_.FileFor(file, 0);
    if (open == nullptr) return INVALID_SET_FILE_POINTER;
    long long base = 0;
    if (moveMethod == FILE_CURRENT) base = static_cast<long long>(open->position);
    if (moveMethod == FILE_END) base = static_cast<long long>(s_.files[open->path].text->size());
    long long offset = distance;
    if (distanceHigh) offset = (static_cast<long long>(*distanceHigh) << 32) | static_cast<DWORD>(distance);
    const long long position = base + offset;
    if (moveMethod > FILE_END || position < 0)
        return s_.Fail(moveMethod > FILE_END ? ERROR_INVALID_PARAMETER : ERROR_NEGATIVE_SEEK, INVALID_SET_FILE_POINTER);
    open->position = static_cast<std::uint64_t>(position);
    if (distanceHigh) *distanceHigh = static_cast<LONG>(position >> 32);
    return s_.Succeed(static_cast<DWORD>(position));
}

bool MachineState::Aligned(const OpenFile& open, const void* buffer, DWORD bytes) {
    // Unbuffered transfers go straight to the disk: whole sectors, from a
    // sector-aligned address, at a sector-aligned position.
    constexpr DWORD kSector = 512;
    if (!(open.flags & FILE_FLAG_NO_BUFFERING)) return true;
    if (bytes % kSector == 0 && reinterpret_cast<std::uintptr_t>(buffer) % kSector == 0 &&
        open.position % kSector == 0) {
        return true;
    }
    return Fail(ERROR_INVALID_PARAMETER, false);
}

void MachineState::Spend(const OpenFile& open, DWORD bytes, bool write) {
    SimDrive* drive = DriveOf(open.path.c_str());
    if (drive == nullptr) return;
    SimIo& io = drive->io;
    const DWORD rate = write ? io.writeMBs : io.readMBs;
    // Bytes at `rate` MB/s take bytes / rate microseconds.
    clockMicroseconds += io.accessMicroseconds + (rate ? bytes / rate : 0);
    if (write) io.written += bytes;
}

BOOL SimKernel::DeleteFileA(const char* fileName) {
    s_.Enter(SimCall::DeleteFileA);
    const std::string key = UpperAscii(fileName ? fileName : "");
    auto it = s_.files.find(key);
    if (it == s_.files.end() || !it->second.text)
        return s_.Fail(s_.IsFolder(key) ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND);
    // An open file stays until its handles are closed; Windows refuses.
    for (const auto& [handle, open] : s_.openFiles) {
        if (open.path == key) return s_.Fail(ERROR_SHARING_VIOLATION);
    }
    it->second.text.reset();
    return s_.Succeed();
}

BOOL SimKernel::QueryPerformanceCounter(ULONGLONG* count) {
    if (count) *count = s_.clockMicroseconds;
    return TRUE;
}

BOOL SimKernel::QueryPerformanceFrequency(ULONGLONG* frequency) {
    if (frequency) *frequency = 1000000;
    return TRUE;
}

// Files, devices and tokens share one handle space.
BOOL SimKernel::CloseHandle(HANDLE object) { return s_.Close(object); }

}  // namespace tw::sim
