// The commands of tarnwell-cli, one file each (cli/*_command.cpp). Each
// checks its own words, opens the platform and prints its report; the
// command table (cli/command_table.cpp) names them with their help.
#pragma once
#include "cli/command.h"
#include "platform/platform.h"

namespace tw::cli {

// A command on one drive: its one word is the drive's letter, and the
// platform is open.
struct DriveCall {
    const CommandCall& call;
    platform::Platform& platform;
    char letter;
};
// Parses the letter and opens the platform, reporting bad words and a bad
// machine file, then runs `body`.
int RunOnDrive(const CommandCall& call, int (*body)(const DriveCall&));
template <int (*Body)(const DriveCall&)>
int OnDrive(const CommandCall& call) {
    return RunOnDrive(call, Body);
}

int ListCommand(const CommandCall& call);
int ScriptCommand(const CommandCall& call);
int OpticalCommand(const DriveCall& drive);
int MediaCommand(const DriveCall& drive);
int SmartCommand(const CommandCall& call);
int HealthCommand(const CommandCall& call);
int DiskInfoCommand(const DriveCall& drive);
int CheckDiskCommand(const DriveCall& drive);
int BenchCommand(const CommandCall& call);
int UsbCommand(const CommandCall& call);
int VolumesCommand(const CommandCall& call);

}  // namespace tw::cli
