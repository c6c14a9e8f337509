#include "optical/inquiry_identity.h"

#include <algorithm>

namespace tw::optical {
namespace {

constexpr std::size_t kIdentityOffset = 8;
constexpr std::size_t kInquiryDataSize = 100;

// Characters, counted from 1, `first` to `last` of `text`; as many as there are.
std::string Characters(const std::string& text, std::size_t first, std::size_t last) {
    if (text.size() < first) return {};
    return text.substr(first - 1, std::min(last, text.size()) - (first - 1));
}

bool IsSpaceOrControl(char c) { return static_cast<unsigned char>(c) <= 0x20; }

}  // namespace

std::string IdentityString(std::span<const std::uint8_t> reply) {
    const std::size_t end = std::min(reply.size(), kInquiryDataSize);
    std::string identity;
    for (std::size_t i = kIdentityOffset; i < end && reply[i] != 0; ++i) {
        identity.push_back(static_cast<char>(reply[i]));
    }
    return identity;
}

std::string TrimSpacesAndControls(const std::string& text) {
    const auto first = std::find_if_not(text.begin(), text.end(), IsSpaceOrControl);
    const auto last = std::find_if_not(text.rbegin(), std::make_reverse_iterator(first), IsSpaceOrControl).base();
    return std::string(first, last);
}

InquiryFields SplitIdentity(const std::string& identity) {
    InquiryFields fields;
    fields.vendor = Characters(identity, 1, 8);
    fields.product = Characters(identity, 9, 24);
    // A revision field is shown in a one-line edit: what is left of control
    // and upper-half characters inside it would show as boxes.
    fields.revision = TrimSpacesAndControls(Characters(identity, 25, 28));
    for (char& c : fields.revision) {
        const auto code = static_cast<unsigned char>(c);
        if ((code >= 1 && code <= 31) || code >= 128) c = ' ';
    }
    fields.vendorSpecific = TrimSpacesAndControls(Characters(identity, 29, 48));
    return fields;
}

}  // namespace tw::optical
