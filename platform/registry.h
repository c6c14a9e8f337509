// Registry services. Results are the Win32 status codes (ERROR_SUCCESS on success).
#pragma once
#include "platform/win_types.h"

namespace tw::platform {

class Registry {
public:
    virtual ~Registry() = default;

    virtual LONG RegCreateKeyExA(HKEY key, const char* subKey, DWORD reserved, char* className, DWORD options,
                                 REGSAM samDesired, void* securityAttributes, HKEY* result, DWORD* disposition) = 0;
    virtual LONG RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data,
                                  DWORD* dataSize) = 0;
    virtual LONG RegSetValueExA(HKEY key, const char* valueName, DWORD reserved, DWORD type, const BYTE* data,
                                DWORD dataSize) = 0;
    virtual LONG RegCloseKey(HKEY key) = 0;
    // An existing key only: ERROR_FILE_NOT_FOUND when there is none.
    virtual LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM samDesired, HKEY* result) = 0;
    virtual LONG RegDeleteValueA(HKEY key, const char* valueName) = 0;
};

}  // namespace tw::platform
