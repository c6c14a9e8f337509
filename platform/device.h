// Device services: opening a device path ("\\.\E:", "\\.\PhysicalDrive0"),
// sending it control requests as byte buffers, and the kernel's sleep that
// device waits use. Handles share one space with the kernel's files, so
// either service's CloseHandle closes them.
#pragma once
#include "platform/win_types.h"

namespace tw::platform {

class Device {
public:
    virtual ~Device() = default;

    virtual HANDLE CreateFileA(const char* fileName, DWORD desiredAccess, DWORD shareMode, void* securityAttributes,
                               DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile) = 0;
    // The request's input and output are plain byte buffers whose layouts
    // platform/device_records.h writes and reads. A request that moves data
    // "directly" (SCSI pass-through direct) carries the address of the
    // caller's data buffer inside its input record, as on Windows.
    virtual BOOL DeviceIoControl(HANDLE device, DWORD ioControlCode, const void* inBuffer, DWORD inBufferSize,
                                 void* outBuffer, DWORD outBufferSize, DWORD* bytesReturned, void* overlapped) = 0;
    virtual BOOL CloseHandle(HANDLE object) = 0;
    virtual void Sleep(DWORD milliseconds) = 0;

    virtual DWORD GetLastError() = 0;
    virtual void SetLastError(DWORD errorCode) = 0;
};

}  // namespace tw::platform
