// The simulated drive's side of SCSI pass-through: checking the request record
// as the port driver does, answering its CDB from the machine file, and the
// reply layouts that the machine file's fields are turned into.
#pragma once
#include <span>
#include <string>
#include <vector>

#include "platform/sim/machine.h"

namespace tw::sim {

struct PassThroughOutcome {
    DWORD error = ERROR_SUCCESS;  // the request failed with this
    DWORD returned = 0;           // bytes of the output record written
};

// Runs one IOCTL_SCSI_PASS_THROUGH_DIRECT request: `input` is the request
// record, `out` receives the record back (status, transferred length, sense),
// the reply goes to the data buffer whose address the record holds. `cdb`
// receives the command block as sent, once the record could be read.
PassThroughOutcome RunPassThrough(ScsiTarget& target, std::span<const BYTE> input, void* out, DWORD outSize,
                                  std::vector<BYTE>& cdb);

struct InquiryFields {
    BYTE deviceType = 0x05;      // CD/DVD device
    std::string vendor;          // 8 characters, padded with spaces
    std::string product;         // 16
    std::string revision;        // 4
    std::string vendorSpecific;  // up to 20; absent: zero bytes
};
std::vector<BYTE> InquiryReply(const InquiryFields& fields);

// A feature header with the current profile, then the Profile List feature.
std::vector<BYTE> ConfigurationReply(WORD currentProfile, const std::vector<WORD>& profiles);

struct CapabilityFields {
    BYTE read = 0;   // reply byte 10
    BYTE write = 0;  // reply byte 11
    WORD bufferKb = 0;
    WORD maxReadSpeed = 0;  // kB/s
    WORD maxWriteSpeed = 0;
};
// The mode parameter header (no block descriptors) and page 2Ah.
std::vector<BYTE> CapabilitiesReply(const CapabilityFields& fields);

// Format 0 (physical format information) of a DVD medium of `bookType`.
std::vector<BYTE> DvdPhysicalFormatReply(BYTE bookType);

}  // namespace tw::sim
