// The questions a refresh asks the device behind a drive letter: its identity
// text, whether a fixed drive hangs on an external bus, and the class of an
// optical drive. Each opens the volume device "\\.\X:" for one question and
// closes it again; a device that can't be asked gives the empty answer, which
// the list shows as such and never reports.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "optical/message_pump.h"
#include "platform/device.h"
#include "platform/device_records.h"
#include "platform/platform.h"

namespace tw::inventory {

// The standard INQUIRY data from the vendor field up to the first zero byte
// (vendor 1-8, product 9-24, revision 25-28); empty when the device can't be
// opened for reading and writing, refuses the pass-through request, or a
// call raises.
std::string IdentityText(platform::Device& device, char letter);

// The storage property query's device descriptor of the volume (its bus
// type, removable media); none on any failure.
std::optional<platform::DeviceDescriptor> StorageDescriptor(platform::Device& device, char letter);

// True when the storage property query succeeds and names a USB or IEEE 1394
// bus, or removable media; false on any failure.
bool IsExternal(platform::Device& device, char letter);

// The class of an optical drive from its capability text (below); empty when
// the drive can't be asked. The wait for the drive runs `pump` between
// attempts.
std::string OpticalClass(platform::Platform& platform, char letter, optical::MessagePump& pump);

// What a drive writes: the first of "DVD-RW", "DVD-R", "DVD-RAM", "DVD-ROM",
// "CD-RW", "CD-R" found in its "Write ..." lines ("DVD-RAM" contains
// "DVD-R", so a DVD-RAM writer is a "DVD-R" unless it writes "DVD-RW" too).
// A drive that writes none of them is classed by what it reads: "DVD-ROM"
// when a "Read ..." line names a DVD, else "CD-ROM" when it reads anything;
// empty when the text has neither.
std::string OpticalClassOf(std::string_view capabilityText);

}  // namespace tw::inventory
