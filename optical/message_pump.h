// One pass of the caller's window message pump. The disc library's wait for
// a drive runs on the user-interface thread and lets the caller's window
// stay responsive between attempts; the window layer pumps real messages.
#pragma once

namespace tw::optical {

class MessagePump {
public:
    virtual ~MessagePump() = default;
    virtual void ProcessMessages() = 0;
};

}  // namespace tw::optical
