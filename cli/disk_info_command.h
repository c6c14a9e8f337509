// tarnwell-cli diskinfo: the disk information window's fields of one drive.
#pragma once
#include <ostream>

#include "platform/platform.h"

namespace tw::cli {

// One "Name: value" line per field of the window, in its order, then
// "Status: text" when the disk did not identify; kExitFailed then. With
// `json`, one object with the same names and "Status" null when all is well.
int DiskInfo(platform::Platform& platform, char letter, bool json, std::ostream& out, std::ostream& err);

}  // namespace tw::cli
