// The commands of tarnwell-cli, one file each (cli/*_command.cpp). Each
// checks its own words, opens the platform and prints its report; the
// command table (cli/command_table.cpp) names them with their help.
#pragma once
#include "cli/command.h"

namespace tw::cli {

int ListCommand(const CommandCall& call);
int ScriptCommand(const CommandCall& call);
int OpticalCommand(const CommandCall& call);
int MediaCommand(const CommandCall& call);
int SmartCommand(const CommandCall& call);
int DiskInfoCommand(const CommandCall& call);
int CheckDiskCommand(const CommandCall& call);
int BenchCommand(const CommandCall& call);
int UsbCommand(const CommandCall& call);
int VolumesCommand(const CommandCall& call);

}  // namespace tw::cli
