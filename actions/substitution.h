// Substitute drives: letters that stand for a folder of another drive.
#pragma once
#include <string>

#include "platform/kernel.h"

namespace tw::actions {

// The folder a substituted letter stands for; empty when the letter is not a
// substitution (its device mapping does not start with "\??\").
std::string QuerySubstitution(platform::Kernel& kernel, char letter);

}  // namespace tw::actions
