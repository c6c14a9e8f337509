// Every command of tarnwell-cli, in the order the usage and --help list them.
#pragma once
#include <span>
#include <string>

#include "cli/command.h"

namespace tw::cli {

std::span<const Command> Commands();
// Null when no command has that name.
const Command* FindCommand(const std::string& name);

}  // namespace tw::cli
