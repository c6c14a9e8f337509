// Libraries loaded at run time by name, and the check entry of the system's
// file-system utility library ("fmifs.dll", export "Chkdsk") with its
// progress callback.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/win_types.h"

namespace tw::platform {

using HMODULE = std::uintptr_t;  // 0: none
using FARPROC = std::uintptr_t;  // an export's address; 0: none
using BOOLEAN = BYTE;

constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
// Look for the library and what it loads in the system folder only.
constexpr DWORD LOAD_LIBRARY_SEARCH_SYSTEM32 = 0x00000800;
constexpr DWORD ERROR_PROC_NOT_FOUND = 127;

// The library's calling convention on 32-bit Windows; the default elsewhere.
#if defined(_WIN32) && !defined(_WIN64)
#define TW_NTAPI __stdcall
#else
#define TW_NTAPI
#endif

// What the check entry tells its callback. The action information is a DWORD
// percentage for FMIFS_PROGRESS, a BOOLEAN (true: the volume is sound) for
// FMIFS_DONE and a text record for FMIFS_OUTPUT: a ULONG line count, then a
// pointer to the zero-ended text at the next pointer-aligned offset.
constexpr DWORD FMIFS_PROGRESS = 0;
constexpr DWORD FMIFS_DONE_WITH_STRUCTURE = 1;
constexpr DWORD FMIFS_INSUFFICIENT_RIGHTS = 6;
constexpr DWORD FMIFS_VOLUME_IN_USE = 8;
constexpr DWORD FMIFS_DONE = 11;
constexpr DWORD FMIFS_OUTPUT = 14;
constexpr DWORD FMIFS_STRUCTURE_PROGRESS = 15;
constexpr std::size_t kTextOutputLinesOffset = 0;
constexpr std::size_t kTextOutputTextOffset = sizeof(void*);

// Returns FALSE to ask the library to stop.
using FMIFSCALLBACK = BOOLEAN(TW_NTAPI*)(DWORD command, DWORD subAction, void* actionInfo);

class Modules {
public:
    virtual ~Modules() = default;

    // The program names system libraries by their full path with
    // LOAD_LIBRARY_SEARCH_SYSTEM32; a system too old for the flag loads the
    // path without it.
    virtual HMODULE LoadLibraryExA(const char* fileName, DWORD flags) = 0;
    virtual FARPROC GetProcAddress(HMODULE module, const char* procName) = 0;
    virtual BOOL FreeLibrary(HMODULE module) = 0;
    virtual DWORD GetLastError() = 0;
    // Calls the check entry `chkdsk` found by GetProcAddress: the volume's
    // root ("C:\") and file-system name, both UTF-16, then its options; the
    // callback runs on the calling thread before this returns.
    virtual void CallChkdsk(FARPROC chkdsk, const char16_t* driveRoot, const char16_t* format, BOOLEAN correctErrors,
                            BOOLEAN verbose, BOOLEAN checkOnlyIfDirty, BOOLEAN scanDrive, FMIFSCALLBACK callback) = 0;
};

}  // namespace tw::platform
