// Probing one drive letter: every platform call a refresh makes for it, in
// the order the list has always made them, and nothing about how the answers
// are shown.
#pragma once
#include "inventory/drive_facts.h"
#include "optical/message_pump.h"
#include "platform/platform.h"

namespace tw::inventory {

// Whether the letter is a remembered network connection whose server is
// unavailable; such a letter is listed even when it is missing from the mask.
bool IsDisconnected(platform::Network& network, char letter);

// Fills `facts` (letter and disconnected already set) step by step, marking
// each step it completes. A platform call that raises outside the space and
// device probes, which absorb their own faults, leaves the steps done so far
// and raises on.
void ProbeDrive(platform::Platform& platform, optical::MessagePump& pump, DriveFacts& facts);

}  // namespace tw::inventory
