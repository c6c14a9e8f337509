// Compile-time proof that the constants of win_types.h are the system's own.
// The portable code passes them to the real calls unchanged, so a wrong value
// would reach Windows as a different request.
//
// win_types.h and <windows.h> use the same names, the latter as macros; our
// values are therefore copied out first, under other names, and compared
// with the macros once <windows.h> is in.
#include "platform/modules.h"
#include "platform/win_types.h"

#include <type_traits>

// One name a line: clang-format would run the list together and never settle.
// clang-format off
#define TW_WIN32_CONSTANTS(X)         \
    X(TRUE)                           \
    X(FALSE)                          \
    X(ERROR_SUCCESS)                  \
    X(ERROR_FILE_NOT_FOUND)           \
    X(ERROR_PATH_NOT_FOUND)           \
    X(ERROR_ACCESS_DENIED)            \
    X(ERROR_INVALID_HANDLE)           \
    X(ERROR_INVALID_DRIVE)            \
    X(ERROR_NOT_READY)                \
    X(ERROR_BAD_LENGTH)               \
    X(ERROR_GEN_FAILURE)              \
    X(ERROR_BAD_NETPATH)              \
    X(ERROR_DEV_NOT_EXIST)            \
    X(ERROR_INVALID_PARAMETER)        \
    X(ERROR_NOT_SUPPORTED)            \
    X(ERROR_CALL_NOT_IMPLEMENTED)     \
    X(ERROR_INSUFFICIENT_BUFFER)      \
    X(ERROR_MORE_DATA)                \
    X(ERROR_UNRECOGNIZED_VOLUME)      \
    X(ERROR_BADKEY)                   \
    X(ERROR_BAD_DEVICE)               \
    X(ERROR_CONNECTION_UNAVAIL)       \
    X(ERROR_NO_NETWORK)               \
    X(ERROR_NOT_CONNECTED)            \
    X(DRIVE_UNKNOWN)                  \
    X(DRIVE_NO_ROOT_DIR)              \
    X(DRIVE_REMOVABLE)                \
    X(DRIVE_FIXED)                    \
    X(DRIVE_REMOTE)                   \
    X(DRIVE_CDROM)                    \
    X(DRIVE_RAMDISK)                  \
    X(SEM_FAILCRITICALERRORS)         \
    X(REG_NONE)                       \
    X(REG_SZ)                         \
    X(REG_EXPAND_SZ)                  \
    X(REG_BINARY)                     \
    X(REG_DWORD)                      \
    X(REG_MULTI_SZ)                   \
    X(REG_QWORD)                      \
    X(REG_OPTION_NON_VOLATILE)        \
    X(REG_CREATED_NEW_KEY)            \
    X(REG_OPENED_EXISTING_KEY)        \
    X(KEY_ALL_ACCESS)                 \
    X(KEY_READ)                       \
    X(LOCALE_USER_DEFAULT)            \
    X(LOCALE_SDECIMAL)                \
    X(LOCALE_STHOUSAND)               \
    X(VER_PLATFORM_WIN32s)            \
    X(VER_PLATFORM_WIN32_WINDOWS)     \
    X(VER_PLATFORM_WIN32_NT)          \
    X(ERROR_FILE_EXISTS)              \
    X(ERROR_NEGATIVE_SEEK)            \
    X(ERROR_ALREADY_EXISTS)           \
    X(ERROR_WRITE_PROTECT)            \
    X(ERROR_DISK_FULL)                \
    X(GENERIC_READ)                   \
    X(GENERIC_WRITE)                  \
    X(FILE_SHARE_READ)                \
    X(FILE_SHARE_WRITE)               \
    X(CREATE_NEW)                     \
    X(CREATE_ALWAYS)                  \
    X(OPEN_EXISTING)                  \
    X(OPEN_ALWAYS)                    \
    X(FILE_ATTRIBUTE_READONLY)        \
    X(FILE_ATTRIBUTE_NORMAL)          \
    X(FILE_BEGIN)                     \
    X(FILE_CURRENT)                   \
    X(FILE_END)                       \
    X(INVALID_SET_FILE_POINTER)       \
    X(DDD_RAW_TARGET_PATH)            \
    X(DDD_REMOVE_DEFINITION)          \
    X(DDD_EXACT_MATCH_ON_REMOVE)      \
    X(MAX_PATH)                       \
    X(ERROR_SHARING_VIOLATION)        \
    X(ERROR_INVALID_NAME)             \
    X(ERROR_MR_MID_NOT_FOUND)         \
    X(INVALID_FILE_ATTRIBUTES)        \
    X(FILE_ATTRIBUTE_DIRECTORY)       \
    X(FILE_ATTRIBUTE_ARCHIVE)         \
    X(FORMAT_MESSAGE_ALLOCATE_BUFFER) \
    X(FORMAT_MESSAGE_IGNORE_INSERTS)  \
    X(FORMAT_MESSAGE_FROM_STRING)     \
    X(FORMAT_MESSAGE_FROM_HMODULE)    \
    X(FORMAT_MESSAGE_FROM_SYSTEM)     \
    X(ERROR_INVALID_FUNCTION)         \
    X(ERROR_NOACCESS)                 \
    X(ERROR_NO_MEDIA_IN_DRIVE)        \
    X(ERROR_IO_DEVICE)

// File flags, library errors and volume flags of the check and benchmark tools.
#define TW_WIN32_TOOL_CONSTANTS(X) \
    X(FILE_FLAG_WRITE_THROUGH)     \
    X(FILE_FLAG_NO_BUFFERING)      \
    X(FILE_READ_ONLY_VOLUME)       \
    X(ERROR_MOD_NOT_FOUND)         \
    X(ERROR_PROC_NOT_FOUND)
// clang-format on

namespace tw_ours {
// `name` is not yet a macro here; `name##_` never expands.
#define TW_COPY(name) constexpr auto name##_ = tw::platform::name;
TW_WIN32_CONSTANTS(TW_COPY)
TW_WIN32_TOOL_CONSTANTS(TW_COPY)
#undef TW_COPY
}  // namespace tw_ours

#include "platform/win32/windows_headers.h"

// Compared in our type, the width the portable code hands over.
#define TW_CHECK(name)                                                                                 \
    static_assert(tw_ours::name##_ == static_cast<std::remove_cv_t<decltype(tw_ours::name##_)>>(name), \
                  #name " differs from <windows.h>");
TW_WIN32_CONSTANTS(TW_CHECK)
TW_WIN32_TOOL_CONSTANTS(TW_CHECK)
#undef TW_CHECK

// HKEY_CURRENT_USER is a pointer constant in <windows.h>, out of reach of a
// static_assert; its translation is in win32_platform.cpp and the conformance
// tests open keys through it.
static_assert(sizeof(tw::platform::HKEY) == sizeof(::HKEY));
static_assert(sizeof(tw::platform::DWORD) == sizeof(::DWORD));
static_assert(sizeof(tw::platform::LONG) == sizeof(::LONG));
static_assert(sizeof(tw::platform::ULONGLONG) == sizeof(::ULONGLONG));

static_assert(sizeof(tw::platform::OSVERSIONINFOA) == sizeof(::OSVERSIONINFOA));
// INVALID_HANDLE_VALUE is (HANDLE)-1: all bits set at pointer width.
static_assert(sizeof(tw::platform::HANDLE) == sizeof(::HANDLE));
