// What a refresh learns about one drive letter, as typed values: the list's
// cells, image and colours and the kind filters are all made from these.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "inventory/kind_table.h"
#include "platform/win_types.h"

namespace tw::inventory {

// How far the probing of a letter got. A call that raises ends it; the row
// then shows what was learnt before.
enum class ProbeStep : int {
    kStarted = 0,  // the letter is listed, nothing asked yet
    kVolume,       // label (and file system) asked
    kKind,         // drive type and what its kind asks
    kSpace,        // free space probed
    kSerial,       // serial asked
    kVisibility,   // hidden-drive policy read
    kDone,         // identity asked: complete
};

struct DriveFacts {
    char letter = 'C';
    ProbeStep reached = ProbeStep::kStarted;

    // Drive type, connection, substitution, external bus and optical class.
    KindFacts kind;
    bool disconnected = false;            // remembered connection whose server is unavailable
    bool notMounted = false;              // the space probe failed
    bool spaceProbeRaised = false;        // the space probe raised; the counts stay those of an empty volume
    std::string label;                    // empty when the volume can't be asked
    std::string fileSystem;               // at most 20 characters; empty when not mounted
    std::optional<std::uint32_t> serial;  // none when not mounted or the second ask fails
    // Exact byte counts; none when the space probe failed. A letter whose
    // space is not probed (disconnected) counts as an empty volume.
    std::optional<std::uint64_t> totalBytes;
    std::optional<std::uint64_t> freeBytes;
    long double percentFree = 0;  // 0 unless both counts are known and the total is not 0
    bool hidden = false;          // hidden from the shell by the policy
    // Vendor (characters 1-8), product (9-24) and revision: eight spaces for a
    // letter that is not mounted, empty when the device can't be asked.
    std::string identityText = std::string(8, ' ');

    bool Reached(ProbeStep step) const { return reached >= step; }
};

}  // namespace tw::inventory
