// Networking services: the remote name behind a redirected drive letter, and
// the system's dialogs that map and disconnect network drives.
#pragma once
#include "platform/win_types.h"

namespace tw::platform {

constexpr DWORD RESOURCETYPE_DISK = 1;
constexpr DWORD kDialogCancelled = 0xFFFFFFFFu;

class Network {
public:
    virtual ~Network() = default;

    // Returns NO_ERROR (0) or a system error code such as ERROR_CONNECTION_UNAVAIL,
    // ERROR_NOT_CONNECTED or ERROR_MORE_DATA (then *length holds the size needed).
    virtual DWORD WNetGetConnectionA(const char* localName, char* remoteName, DWORD* length) = 0;
    // Modal to `hwnd`. NO_ERROR, 0xFFFFFFFF when the user cancelled, or a
    // system error code.
    virtual DWORD WNetConnectionDialog(HWND hwnd, DWORD type) = 0;
    virtual DWORD WNetDisconnectDialog(HWND hwnd, DWORD type) = 0;
};

}  // namespace tw::platform
