// The identity a drive gives in its standard INQUIRY data: the text from the
// vendor field on, and the four fields the optical window shows.
#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace tw::optical {

// The INQUIRY reply from byte 8 (the vendor field) up to the first zero
// byte, and never past the end of the reply or its first 100 bytes.
// Characters are counted from 1 in it: 1-8 vendor, 9-24 product, 25-28
// revision, 29-48 vendor specific.
std::string IdentityString(std::span<const std::uint8_t> reply);

struct InquiryFields {
    std::string vendor;          // characters 1-8 as they stand
    std::string product;         // characters 9-24 as they stand
    std::string revision;        // characters 25-28, trimmed, control and high characters as spaces
    std::string vendorSpecific;  // characters 29-48, trimmed
};

// The fields of an identity string; a short string gives short or empty
// fields.
InquiryFields SplitIdentity(const std::string& identity);

// Spaces and control characters (codes 0-32) removed at both ends.
std::string TrimSpacesAndControls(const std::string& text);

}  // namespace tw::optical
