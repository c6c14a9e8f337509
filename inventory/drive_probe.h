// Probing one drive letter: the platform calls a refresh makes for it, each
// question asked once, and nothing about how the answers are shown.
#pragma once
#include <optional>
#include <string>

#include "inventory/drive_facts.h"
#include "optical/message_pump.h"
#include "platform/platform.h"

namespace tw::inventory {

// The answer of the connection query of a letter ("X:", 260-byte buffer).
struct Connection {
    platform::DWORD result = platform::ERROR_NOT_CONNECTED;
    std::string remoteName;  // when the query succeeded

    // A remembered network connection whose server is unavailable; such a
    // letter is listed even when it is missing from the mask.
    bool Disconnected() const { return result == platform::ERROR_CONNECTION_UNAVAIL; }
};

Connection AskConnection(platform::Network& network, char letter);

// What one refresh asks once for all its letters: the hidden-drive policy,
// read when the first letter's visibility is wanted. A refresh that lists no
// letter never opens the key.
class RefreshAnswers {
public:
    explicit RefreshAnswers(platform::Registry& registry) : registry_(registry) {}
    bool Hidden(char letter);

private:
    platform::Registry& registry_;
    std::optional<std::optional<platform::DWORD>> policy_;
};

// Fills `facts` (letter and disconnected already set) step by step, marking
// each step it completes. `connection` is the letter's connection answer,
// already asked by the walk; a remote letter's remote name comes from it. A
// platform call that raises outside the space and device probes, which absorb
// their own faults, leaves the steps done so far and raises on.
void ProbeDrive(platform::Platform& platform, optical::MessagePump& pump, const Connection& connection,
                RefreshAnswers& shared, DriveFacts& facts);

}  // namespace tw::inventory
