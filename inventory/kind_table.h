// The "Type" and "Additional Info" texts and the image of a drive, from its
// drive-type code and what the probes for that type found.
#pragma once
#include <string>

#include "platform/win_types.h"

namespace tw::inventory {

struct KindFacts {
    // DRIVE_UNKNOWN, spelt by value: the window layer reads this header after
    // <windows.h> has made the name a macro.
    platform::UINT driveType = 0;
    bool disconnected = false;             // remembered connection, server unavailable
    std::string identityText;              // removable drives show its first 8 characters
    std::string substitutedFolder;         // fixed drives: empty when not a substitution
    bool external = false;                 // fixed drives: USB or IEEE 1394 bus
    platform::DWORD connectionResult = 0;  // remote drives: WNetGetConnectionA result
    std::string remoteName;                // remote drives: the connection's remote name
    std::string opticalClass;              // CD/DVD drives
};

struct Kind {
    std::string typeText;
    std::string detail;
    int image = 0;
};

Kind DescribeKind(const KindFacts& facts);

// Whether the kind reads as a disconnected network drive: a remembered
// connection whose server is off, or a remote drive whose connection is
// unavailable.
bool ShowsDisconnected(const KindFacts& facts);

}  // namespace tw::inventory
