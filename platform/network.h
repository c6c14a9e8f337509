// Networking services: the remote name behind a redirected drive letter.
#pragma once
#include "platform/win_types.h"

namespace tw::platform {

class Network {
public:
    virtual ~Network() = default;

    // Returns NO_ERROR (0) or a system error code such as ERROR_CONNECTION_UNAVAIL,
    // ERROR_NOT_CONNECTED or ERROR_MORE_DATA (then *length holds the size needed).
    virtual DWORD WNetGetConnectionA(const char* localName, char* remoteName, DWORD* length) = 0;
};

}  // namespace tw::platform
