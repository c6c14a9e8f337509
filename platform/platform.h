// The operating-system services the program uses, grouped by service. Logic
// receives a Platform by reference; the real Windows API and the simulated
// machine each provide one.
#pragma once
#include "platform/desktop.h"
#include "platform/device.h"
#include "platform/kernel.h"
#include "platform/locale.h"
#include "platform/modules.h"
#include "platform/multimedia.h"
#include "platform/network.h"
#include "platform/registry.h"
#include "platform/security.h"
#include "platform/shell.h"
#include "platform/wmi.h"

namespace tw::platform {

class Platform {
public:
    virtual ~Platform() = default;

    virtual Kernel& kernel() = 0;
    virtual Registry& registry() = 0;
    virtual Network& network() = 0;
    virtual Locale& locale() = 0;
    virtual Shell& shell() = 0;
    virtual Device& device() = 0;
    virtual Security& security() = 0;
    virtual Multimedia& multimedia() = 0;
    virtual Modules& modules() = 0;
    virtual Wmi& wmi() = 0;
    virtual Desktop& desktop() = 0;
};

}  // namespace tw::platform
