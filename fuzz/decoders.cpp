// Entry points for the decoders of device replies and of the policy value.
#include <span>
#include <string>
#include <vector>

#include "actions/drive_hiding.h"
#include "actions/drive_visibility.h"
#include "diagnostics/ata_identify.h"
#include "diagnostics/nvme_health.h"
#include "diagnostics/sat_commands.h"
#include "diagnostics/smart_scan.h"
#include "fuzz/targets.h"
#include "optical/capability_text.h"
#include "optical/inquiry_identity.h"
#include "optical/profile_table.h"
#include "platform/drive_names.h"
#include "platform/health_records.h"
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

int SatSense(const std::uint8_t* data, std::size_t size) {
    const auto sense = diagnostics::DecodeSense(Bytes(data, size));
    if (!sense) return 0;
    TW_FUZZ_CHECK(sense->key <= 0x0F, "sense key has four bits");
    TW_FUZZ_CHECK(!diagnostics::BridgeRefused(*sense) || sense->key == diagnostics::kSenseIllegalRequest,
                  "a refusal is an illegal request");
    // Registers need the head and the whole descriptor (or information fields).
    if (sense->registers) TW_FUZZ_CHECK(size >= 12, "registers from a short sense");
    diagnostics::VerdictOf(sense->registers);
    return 0;
}

int AtaPassThrough(const std::uint8_t* data, std::size_t size) {
    for (const platform::AtaPassThroughLayout* layout : {&platform::kAtaPassThrough32, &platform::kAtaPassThrough64}) {
        const auto record = platform::DecodeAtaPassThrough(Bytes(data, size), *layout);
        TW_FUZZ_CHECK(record.has_value() == (size >= layout->size), "a whole record decodes");
        if (!record) continue;
        // Encoding gives the bytes back, reserved fields and padding zero.
        std::vector<std::uint8_t> again(layout->size);
        platform::EncodeAtaPassThrough(*record, again, *layout);
        for (std::size_t i = 0; i < layout->size; ++i) {
            const bool reserved = i == 7 || (i >= 16 && i < layout->dataBufferOffset);
            TW_FUZZ_CHECK(again[i] == (reserved ? 0 : data[i]), "record round trip");
        }
    }
    return 0;
}

int ProtocolReply(const std::uint8_t* data, std::size_t size) {
    const auto reply = platform::ProtocolReplyData(Bytes(data, size));
    if (!reply) return 0;
    const auto record = platform::DecodeProtocolData(Bytes(data, size), platform::protocol_data::kInDescriptor);
    TW_FUZZ_CHECK(record.has_value(), "data without a record");
    TW_FUZZ_CHECK(reply->size() == record->dataLength, "the stated length");
    TW_FUZZ_CHECK(reply->data() >= data + platform::protocol_data::kDescriptorSize || reply->empty(),
                  "data inside the record");
    TW_FUZZ_CHECK(reply->data() + reply->size() <= data + size, "data past the reply");
    return 0;
}

int NvmeIdentify(const std::uint8_t* data, std::size_t size) {
    namespace ni = diagnostics::nvme_identify;
    const auto id = diagnostics::DecodeNvmeIdentify(Bytes(data, size));
    TW_FUZZ_CHECK(id.has_value() == (size >= ni::kTotalCapacity + 16), "identify needs its fields");
    if (!id) return 0;
    for (const std::string* text : {&id->serialNumber, &id->modelNumber, &id->firmwareRev}) {
        TW_FUZZ_CHECK(text->size() <= ni::kModelLength, "text too long");
        TW_FUZZ_CHECK(text->empty() || (static_cast<unsigned char>(text->front()) > 32 &&
                                        static_cast<unsigned char>(text->back()) > 32),
                      "text not trimmed");
    }
    TW_FUZZ_CHECK(diagnostics::CounterDecimal(id->capacityBytes).size() <= 39, "capacity digits");
    return 0;
}

int NvmeHealthLog(const std::uint8_t* data, std::size_t size) {
    const auto log = diagnostics::DecodeNvmeHealthLog(Bytes(data, size));
    TW_FUZZ_CHECK(log.has_value() == (size >= diagnostics::nvme_log::kSize), "the log is 512 bytes");
    if (!log) return 0;
    for (const auto* c : {&log->dataUnitsRead, &log->dataUnitsWritten, &log->hostReadCommands, &log->powerOnHours,
                          &log->mediaErrors, &log->errorLogEntries}) {
        const std::string digits = diagnostics::CounterDecimal(*c);
        TW_FUZZ_CHECK(!digits.empty() && digits.size() <= 39, "counter digits");
        TW_FUZZ_CHECK(digits == "0" || digits[0] != '0', "leading zero");
        const std::string bytes = diagnostics::CounterTimesDecimal(*c, diagnostics::nvme_log::kDataUnitBytes);
        // x 512,000 is x 512 x 1000: three more zeros, and never fewer digits.
        TW_FUZZ_CHECK(digits == "0" ? bytes == "0" : bytes.size() >= digits.size() + 5, "bytes digits");
        TW_FUZZ_CHECK(digits == "0" || bytes.compare(bytes.size() - 3, 3, "000") == 0, "bytes end in 000");
    }
    TW_FUZZ_CHECK(diagnostics::CriticalWarnings(log->criticalWarning).size() <= 8, "at most eight warnings");
    diagnostics::KelvinToCelsius(log->compositeKelvin);
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
