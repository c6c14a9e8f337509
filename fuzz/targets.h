// The fuzz entry points. Each takes one input of any bytes and returns 0; it
// aborts, through a sanitizer, an exception that escapes or TW_FUZZ_CHECK,
// when the program mishandles the input. libFuzzer drives each on its own
// (libfuzzer_entry.cpp); corpus_runner.cpp feeds them their saved inputs.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define TW_FUZZ_CHECK(condition, what)                                              \
    do {                                                                            \
        if (!(condition)) {                                                         \
            std::fprintf(stderr, "fuzz check failed: %s (%s)\n", what, #condition); \
            std::abort();                                                           \
        }                                                                           \
    } while (0)

namespace tw::fuzz {

using Entry = int (*)(const std::uint8_t* data, std::size_t size);

// A machine description: loaded, and when it loads, its drive list refreshed.
int MachineFile(const std::uint8_t* data, std::size_t size);
// A script run against the workstation example.
int Script(const std::uint8_t* data, std::size_t size);
// A machine description, a line "%%", then a script; after every line of the
// script nothing is open and every success box stands for a change made.
int MachineScript(const std::uint8_t* data, std::size_t size);
// An ATA identify sector.
int SmartIdentify(const std::uint8_t* data, std::size_t size);
// An attribute sector followed by a threshold sector.
int SmartAttributes(const std::uint8_t* data, std::size_t size);
// A standard INQUIRY reply.
int InquiryIdentity(const std::uint8_t* data, std::size_t size);
// A GET CONFIGURATION reply.
int ConfigurationProfile(const std::uint8_t* data, std::size_t size);
// A MODE SENSE(10) reply with the capabilities page.
int CapabilityPage(const std::uint8_t* data, std::size_t size);
// Sense data a bridge returns for a wrapped ATA command.
int SatSense(const std::uint8_t* data, std::size_t size);
// An ATA_PASS_THROUGH_EX record as the driver hands it back, both layouts.
int AtaPassThrough(const std::uint8_t* data, std::size_t size);
// A storage protocol query's reply: descriptor head, record, data.
int ProtocolReply(const std::uint8_t* data, std::size_t size);
// NVMe Identify Controller data.
int NvmeIdentify(const std::uint8_t* data, std::size_t size);
// An NVMe SMART / Health Information log page.
int NvmeHealthLog(const std::uint8_t* data, std::size_t size);
// The hidden-drive policy value: its type (4 bytes), then its data.
int PolicyValue(const std::uint8_t* data, std::size_t size);

struct Target {
    const char* name;  // of its folder under fuzz/corpus and its dictionary
    Entry entry;
};

inline constexpr Target kTargets[] = {
    {"smart_identify", SmartIdentify},
    {"smart_attributes", SmartAttributes},
    {"inquiry_identity", InquiryIdentity},
    {"configuration_profile", ConfigurationProfile},
    {"capability_page", CapabilityPage},
    {"policy_value", PolicyValue},
    {"sat_sense", SatSense},
    {"ata_pass_through", AtaPassThrough},
    {"protocol_reply", ProtocolReply},
    {"nvme_identify", NvmeIdentify},
    {"nvme_health_log", NvmeHealthLog},
    {"machine_file", MachineFile},
    {"script", Script},
    {"machine_script", MachineScript},
};

}  // namespace tw::fuzz
