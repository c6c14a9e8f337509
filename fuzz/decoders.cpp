// Entry points for the decoders of device replies and of the policy value.
#include <span>
#include <string>

#include "actions/drive_hiding.h"
#include "actions/drive_visibility.h"
#include "diagnostics/ata_identify.h"
#include "diagnostics/smart_scan.h"
#include "fuzz/targets.h"
#include "optical/capability_text.h"
#include "optical/inquiry_identity.h"
#include "optical/profile_table.h"
#include "platform/drive_names.h"
#include "platform/sim/machine.h"

namespace tw::fuzz {

namespace {

std::span<const std::uint8_t> Bytes(const std::uint8_t* data, std::size_t size) { return {data, size}; }

bool Printable(const std::string& text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 32 && c != '\r' && c != '\n') return false;
    }
    return true;
}

constexpr const char* kPolicyPath =
    "HKEY_CURRENT_USER\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\POLICIES\\EXPLORER";

}  // namespace

int SmartIdentify(const std::uint8_t* data, std::size_t size) {
    const auto decoded = diagnostics::DecodeIdentify(Bytes(data, size));
    TW_FUZZ_CHECK(decoded.has_value() == (size >= diagnostics::identify::kSectorSize), "identify needs 512 bytes");
    if (decoded) {
        TW_FUZZ_CHECK(decoded->modelNumber.size() <= diagnostics::identify::kModelLength, "model too long");
        TW_FUZZ_CHECK(decoded->serialNumber.size() <= diagnostics::identify::kSerialLength, "serial too long");
        TW_FUZZ_CHECK(decoded->sizeBytes >= 0, "negative size");
    }
    diagnostics::IdentifySerialUntrimmed(Bytes(data, size));
    return 0;
}

int SmartAttributes(const std::uint8_t* data, std::size_t size) {
    const std::size_t half = std::min(size, diagnostics::smart_sector::kSectorSize);
    diagnostics::TSmartResult result;
    const bool scanned = diagnostics::ScanAttributes(Bytes(data, half), Bytes(data + half, size - half), result);
    TW_FUZZ_CHECK(scanned == (size >= 2 * diagnostics::smart_sector::kSectorSize), "two sectors needed");
    TW_FUZZ_CHECK(result.AttrCount >= 0 && result.AttrCount <= diagnostics::kAttributeEntries, "attribute count");
    TW_FUZZ_CHECK(result.FailingCount + result.WarningCount <= result.AttrCount, "more ratings than attributes");
    for (int i = 0; i < result.AttrCount; ++i) {
        TW_FUZZ_CHECK(!result.Attr[static_cast<std::size_t>(i)].AttrName.empty(), "unnamed attribute");
    }
    return 0;
}

int InquiryIdentity(const std::uint8_t* data, std::size_t size) {
    const std::string identity = optical::IdentityString(Bytes(data, size));
    TW_FUZZ_CHECK(identity.size() <= 100, "identity longer than the reply allows");
    TW_FUZZ_CHECK(identity.find('\0') == std::string::npos, "identity holds a zero");
    const optical::InquiryFields fields = optical::SplitIdentity(identity);
    TW_FUZZ_CHECK(fields.vendor.size() <= 8 && fields.product.size() <= 16, "field too long");
    TW_FUZZ_CHECK(fields.revision.size() <= 4 && fields.vendorSpecific.size() <= 20, "field too long");
    const std::string trimmed = optical::TrimSpacesAndControls(identity);
    TW_FUZZ_CHECK(trimmed.empty() || (static_cast<unsigned char>(trimmed.front()) > 32 &&
                                      static_cast<unsigned char>(trimmed.back()) > 32),
                  "trimmed text starts or ends with a space");
    return 0;
}

int ConfigurationProfile(const std::uint8_t* data, std::size_t size) {
    const auto number = optical::CurrentProfileNumber(Bytes(data, size));
    TW_FUZZ_CHECK(number.has_value() == (size >= 8), "profile number needs 8 bytes");
    const int index = optical::CurrentProfileIndex(Bytes(data, size));
    TW_FUZZ_CHECK(index == optical::kNoProfile || (index >= 0 && index < optical::kProfileCount), "profile index");
    TW_FUZZ_CHECK(optical::ProfileName(index).empty() == (index == optical::kNoProfile), "profile name");
    optical::IsDvdProfile(index);
    return 0;
}

int CapabilityPage(const std::uint8_t* data, std::size_t size) {
    const std::string text = optical::CapabilityText(Bytes(data, size));
    TW_FUZZ_CHECK(Printable(text), "capability text holds control characters");
    return 0;
}

int PolicyValue(const std::uint8_t* data, std::size_t size) {
    if (size < 5) return 0;
    sim::Machine machine;
    sim::RegValue value;
    value.type = platform::DWORD{data[0]} | platform::DWORD{data[1]} << 8 | platform::DWORD{data[2]} << 16 |
                 platform::DWORD{data[3]} << 24;
    const char letter = static_cast<char>(data[4]);
    value.data.assign(data + 5, data + size);
    machine.RegistryKeys()[kPolicyPath].values["NODRIVES"] = value;
    // The value decodes the same for every letter; the input's letter and a
    // fixed one are enough, and keep the target fast.
    for (const char l : {letter, 'C'}) {
        const int visibility = actions::GetDriveVisibility(machine.registry(), l);
        TW_FUZZ_CHECK(visibility >= actions::kHidden && visibility <= actions::kNoPolicy, "visibility");
    }
    const platform::DWORD bit = platform::DriveBit(letter);
    try {
        const auto change = (size % 2) ? actions::HideDrive(machine.registry(), letter)
                                       : actions::UnhideDrive(machine.registry(), letter);
        if (change == actions::PolicyChange::Written) {
            const auto stored = machine.RegistryValue(kPolicyPath, "NoDrives");
            TW_FUZZ_CHECK(stored && stored->type == platform::REG_DWORD && stored->data.size() == 4, "written value");
            const platform::DWORD now = platform::DWORD{stored->data[0]} | platform::DWORD{stored->data[1]} << 8 |
                                        platform::DWORD{stored->data[2]} << 16 | platform::DWORD{stored->data[3]} << 24;
            TW_FUZZ_CHECK(((now & bit) != 0) == ((size % 2) != 0), "the letter's bit is not as asked");
        }
    } catch (const std::exception&) {
        // An unreadable value is refused with a message; it is never written over.
        TW_FUZZ_CHECK(machine.RegistryWrites().empty(), "a refused value was written");
    }
    TW_FUZZ_CHECK(machine.OpenKeyCount() == 0, "a key was left open");
    return 0;
}

}  // namespace tw::fuzz
