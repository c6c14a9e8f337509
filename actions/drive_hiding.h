// Hiding drive letters from the shell: read, modify and write the per-user
// "NoDrives" policy value. Bits 26 to 31 are never touched.
#pragma once
#include "platform/registry.h"

namespace tw::actions {

enum class PolicyChange {
    Written,         // the value was written
    Unchanged,       // nothing to write (unhide of a letter that was not hidden)
    NotALetter,      // the character selects no drive
    KeyUnavailable,  // the policy key could not be opened or created
};

// Sets the letter's bit; the value is written even when the bit was set.
// Raises AppError when the value can't be read as a REG_DWORD or written.
PolicyChange HideDrive(platform::Registry& registry, char letter);
// Clears the letter's bit when it is set; writes nothing otherwise.
PolicyChange UnhideDrive(platform::Registry& registry, char letter);

}  // namespace tw::actions
