// Walks the drive letters, probes each one and presents it as a row: the body
// of a list refresh, without the window around it.
#pragma once
#include <vector>

#include "inventory/drive_presentation.h"
#include "inventory/drive_row.h"
#include "optical/message_pump.h"
#include "platform/platform.h"

namespace tw::inventory {

struct EnumerationOptions {
    bool skipAB = true;
    KindFilters filters;
};

// Appends the rows to `rows` as they are built, so a probe that raises leaves
// the rows made so far, the raising letter's with what it learnt before.
// Raises whatever a platform call raises outside the space and device probes,
// which absorb their own faults. `pump` runs while an optical drive is waited for.
void EnumerateDrives(platform::Platform& platform, const EnumerationOptions& options, optical::MessagePump& pump,
                     std::vector<DriveRow>& rows);

}  // namespace tw::inventory
