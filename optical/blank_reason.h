// Why a drive shows no capabilities, in the words the optical window and
// tarnwell-cli put in place of an empty list.
#pragma once
#include <string>

#include "optical/iso_disc_lib.h"

namespace tw::optical {

inline constexpr const char* kNoDisc = "No disc";
inline constexpr const char* kDriveNotReady = "Drive not ready";
inline constexpr const char* kRightsNeeded = "Administrator rights are needed to read the drive's capabilities";

// Asks the drive once more (its open and TEST UNIT READY, the sense data
// kept) after it gave no capabilities; empty when nothing can be said.
std::string BlankReason(TISODiscLib& lib, platform::Device& device, char letter);

}  // namespace tw::optical
