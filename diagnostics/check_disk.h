// A volume check through the system's file-system utility library: its
// "Chkdsk" export, looked up by name when the check runs, reports progress,
// text and its verdict to a callback.
#pragma once
#include "diagnostics/task_report.h"
#include "platform/platform.h"

namespace tw::diagnostics {

inline constexpr const char* kCheckDiskUnavailable = "Check Disk is not available on this system.";

enum class CheckOutcome {
    Sound,        // the library found nothing wrong
    Problems,     // it found problems, or could not finish the check
    Stopped,      // the user stopped it
    Unavailable,  // no library, or no check entry in it
    NotReady,     // the drive has no readable volume
};

// Whether the library and its check entry are there; nothing stays loaded.
bool CheckDiskAvailable(platform::Platform& platform);

// Checks the volume of `letter`, fixing errors when `fix`: the library's
// text goes to the report line by line, its progress as percentages. A
// report that asks to stop makes the callback ask the library to stop.
CheckOutcome CheckDisk(platform::Platform& platform, char letter, bool fix, TaskReport& report);

}  // namespace tw::diagnostics
