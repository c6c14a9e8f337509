#include "optical/windows_version.h"

namespace tw::optical {

int WindowsVersionCode(const platform::OSVERSIONINFOA& version) {
    switch (version.dwPlatformId) {
        case platform::VER_PLATFORM_WIN32_WINDOWS: return version.dwMinorVersion == 0 ? 0 : 1;
        case platform::VER_PLATFORM_WIN32_NT:
            if (version.dwMajorVersion == 3 && version.dwMinorVersion >= 51) return 2;
            if (version.dwMajorVersion == 4) return 3;
            if (version.dwMajorVersion == 5 && version.dwMinorVersion == 0) return 4;
            return 5;
        default: return kUnknownWindows;
    }
}

}  // namespace tw::optical
