// Libraries of the system folder, loaded only from there: by their full path,
// and with the system folder as the only place their own imports are looked
// for where the system knows how. The program imports nothing at start-up
// that the loader would look for beside the program; the libraries it needs
// beyond those are loaded here, on first use.
#pragma once

namespace tw::platform::win32 {

// An untyped export; it converts to and from any function pointer type.
using AnyFunction = void (*)();

// Whether LoadLibraryExA takes the LOAD_LIBRARY_SEARCH_ flags (systems from
// Windows 8, and Windows 7 with its update; the same as having
// SetDefaultDllDirectories).
bool SystemTakesSearchFlags();

// "C:\WINDOWS\system32\NAME" loaded; null with the last error set.
void* LoadSystemLibrary(const char* name);

// One library, loaded the first time one of its exports is asked for and
// kept for the process's life.
class SystemLibrary {
public:
    explicit SystemLibrary(const char* name) : name_(name) {}
    // The export, or null with the last error saying why.
    AnyFunction Export(const char* name);

private:
    const char* name_;
    void* module_ = nullptr;
};

}  // namespace tw::platform::win32
