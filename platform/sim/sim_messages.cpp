// The simulated machine's system messages: Windows' English texts of the
// error codes the machine answers with.
#include <cstring>

#include "platform/sim/state.h"

namespace tw::sim {

namespace {

struct Message {
    DWORD code;
    const char* text;
};

constexpr Message kMessages[] = {
    {ERROR_INVALID_FUNCTION, "Incorrect function."},
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified."},
    {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified."},
    {ERROR_ACCESS_DENIED, "Access is denied."},
    {ERROR_INVALID_HANDLE, "The handle is invalid."},
    {ERROR_INVALID_DRIVE, "The system cannot find the drive specified."},
    {ERROR_WRITE_PROTECT, "The media is write protected."},
    {ERROR_NOT_READY, "The device is not ready."},
    {ERROR_BAD_LENGTH, "The program issued a command but the command length is incorrect."},
    {ERROR_GEN_FAILURE, "A device attached to the system is not functioning."},
    {ERROR_SHARING_VIOLATION, "The process cannot access the file because it is being used by another process."},
    {ERROR_BAD_NETPATH, "The network path was not found."},
    {ERROR_DEV_NOT_EXIST, "The specified network resource or device is no longer available."},
    {ERROR_FILE_EXISTS, "The file exists."},
    {ERROR_INVALID_PARAMETER, "The parameter is incorrect."},
    {ERROR_DISK_FULL, "There is not enough space on the disk."},
    {ERROR_NOT_SUPPORTED, "The request is not supported."},
    {ERROR_CALL_NOT_IMPLEMENTED, "This function is not supported on this system."},
    {ERROR_INSUFFICIENT_BUFFER, "The data area passed to a system call is too small."},
    {ERROR_INVALID_NAME, "The filename, directory name, or volume label syntax is incorrect."},
    {ERROR_FILENAME_EXCED_RANGE, "The filename or extension is too long."},
    {ERROR_ALREADY_EXISTS, "Cannot create a file when that file already exists."},
    {ERROR_MORE_DATA, "More data is available."},
    {ERROR_UNRECOGNIZED_VOLUME, "The volume does not contain a recognized file system."},
    {ERROR_BAD_DEVICE, "The specified device name is invalid."},
    {ERROR_CONNECTION_UNAVAIL, "The device is not currently connected but it is a remembered connection."},
    {ERROR_NO_NETWORK, "The network is not present or not started."},
    {ERROR_NO_MEDIA_IN_DRIVE, "There is no media in the drive."},
    {ERROR_IO_DEVICE, "The request could not be performed because of an I/O device error."},
    {ERROR_NOT_CONNECTED, "This network connection does not exist."},
    {ERROR_NOT_ENOUGH_MEMORY, "Not enough memory resources are available to process this command."},
    {ERROR_BAD_FORMAT, "An attempt was made to load a program with an incorrect format."},
    {ERROR_OUTOFMEMORY, "Not enough memory resources are available to complete this operation."},
    {ERROR_NO_ASSOCIATION, "No application is associated with the specified file for this operation."},
    {ERROR_DDE_FAIL, "An error occurred in sending the command to the application."},
    {ERROR_DLL_NOT_FOUND, "One of the library files needed to run this application cannot be found."},
    {ERROR_EXTENDED_ERROR, "An extended error has occurred."},
    {ERROR_CANCELLED, "The operation was canceled by the user."},
    {static_cast<DWORD>(E_NOTIMPL), "Not implemented"},
    {static_cast<DWORD>(DISP_E_MEMBERNOTFOUND), "Member not found."},
    {static_cast<DWORD>(DISP_E_UNKNOWNNAME), "Unknown name."},
    {static_cast<DWORD>(DISP_E_EXCEPTION), "Exception occurred."},
    {static_cast<DWORD>(REGDB_E_CLASSNOTREG), "Class not registered"},
    {static_cast<DWORD>(CO_E_CLASSSTRING), "Invalid class string"},
};

}  // namespace

DWORD SimKernel::FormatMessageA(DWORD flags, const void*, DWORD messageId, DWORD, char* buffer, DWORD size, void*) {
    if (s_.Faulted(SimCall::FormatMessageA)) return 0;
    // Only the system's own table, into the caller's buffer.
    constexpr DWORD kOtherSources =
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_FROM_HMODULE;
    if (!(flags & FORMAT_MESSAGE_FROM_SYSTEM) || (flags & kOtherSources)) return s_.Fail(ERROR_INVALID_PARAMETER, 0);
    const Message* found = nullptr;
    for (const Message& m : kMessages) {
        if (m.code == messageId) found = &m;
    }
    if (found == nullptr) return s_.Fail(ERROR_MR_MID_NOT_FOUND, 0);
    const std::string text = std::string(found->text) + "\r\n";
    if (buffer == nullptr || size < text.size() + 1) return s_.Fail(ERROR_INSUFFICIENT_BUFFER, 0);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return s_.Succeed(static_cast<DWORD>(text.size()));
}

}  // namespace tw::sim
