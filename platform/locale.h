// Locale services: the user's number separators.
#pragma once
#include "platform/win_types.h"

namespace tw::platform {

class Locale {
public:
    virtual ~Locale() = default;

    // Returns the number of characters written including the terminating zero,
    // or 0 on failure (ERROR_INSUFFICIENT_BUFFER when data is too small).
    virtual int GetLocaleInfoA(LCID locale, LCTYPE type, char* data, int dataSize) = 0;
};

}  // namespace tw::platform
