// The health decoders and encoders over byte layouts taken from the
// standards: ATA pass-through records (both pointer widths), the SAT
// command blocks and sense data, the storage protocol query, and the NVMe
// identify data and SMART / Health log.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "diagnostics/nvme_health.h"
#include "diagnostics/sat_commands.h"
#include "diagnostics/wide_counter.h"
#include "platform/health_records.h"

namespace {

using namespace tw::diagnostics;
using namespace tw::platform;
using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& b, std::size_t at, std::uint64_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) b[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void PutText(Bytes& b, std::size_t at, std::size_t width, const std::string& text) {
    for (std::size_t i = 0; i < width; ++i) b[at + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : ' ';
}

TEST(WideCounter, DecimalIsExactOverTheWhole128Bits) {
    struct Case {
        Counter128 value;
        const char* text;
    } cases[] = {
        {{0, 0}, "0"},
        {{18446744073709551615ull, 0}, "18446744073709551615"},
        {{0, 1}, "18446744073709551616"},
        {{1000000000, 0}, "1000000000"},
        {{~0ull, ~0ull}, "340282366920938463463374607431768211455"},
    };
    for (const Case& c : cases) EXPECT_EQ(CounterDecimal(c.value), c.text);
}

TEST(WideCounter, DataUnitsAsBytesAreExactPast128Bits) {
    EXPECT_EQ(CounterTimesDecimal({0, 0}, 512000), "0");
    EXPECT_EQ(CounterTimesDecimal({3, 0}, 512000), "1536000");
    // 2^64 + 1 units.
    EXPECT_EQ(CounterTimesDecimal({1, 1}, 512000), "9444732965739290427904000");
    EXPECT_EQ(CounterTimesDecimal({~0ull, ~0ull}, 512000), "174224571863520493293247799005065324264960000");
}

TEST(WideCounter, ReadsSixteenLittleEndianBytes) {
    Bytes b(20, 0);
    b[2] = 0x01;   // low byte
    b[17] = 0x80;  // top byte
    EXPECT_EQ(ReadCounter128(b, 2), (Counter128{1, 0x8000000000000000ull}));
}

// The 32-bit record is 40 bytes with DataBufferOffset at 20, the 64-bit one
// 48 with it at 24 (ULONG_PTR alignment); the task files follow it.
TEST(AtaPassThroughRecord, BothPointerWidthsLayTheFieldsOutAtTheirOffsets) {
    AtaPassThroughRecord r;
    r.ataFlags = ATA_FLAGS_DRDY_REQUIRED | ATA_FLAGS_DATA_IN;
    r.dataTransferLength = 512;
    r.timeOutValue = 10;
    r.currentTaskFile = {0xD0, 1, 1, 0x4F, 0xC2, 0xA0, 0xB0, 0};
    struct Case {
        const AtaPassThroughLayout& layout;
        Bytes expected;
    } cases[] = {
        // Length, flags, path/target/lun/reserved, transfer length, timeout,
        // ReservedAsUlong, DataBufferOffset (4 bytes), previous, current.
        {kAtaPassThrough32, {40, 0, 3, 0, 0, 0, 0, 0, 0, 2, 0, 0, 10,   0, 0, 0,    0,    0,    0,    0,
                             0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xD0, 1, 1, 0x4F, 0xC2, 0xA0, 0xB0, 0}},
        // The same, then 4 bytes of padding before the 8-byte DataBufferOffset.
        {kAtaPassThrough64, {48, 0, 3, 0, 0, 0, 0, 0, 0, 2, 0, 0, 10, 0, 0, 0, 0,    0, 0, 0,    0,    0,    0,    0,
                             0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0xD0, 1, 1, 0x4F, 0xC2, 0xA0, 0xB0, 0}},
    };
    for (const Case& c : cases) {
        r.length = static_cast<WORD>(c.layout.size);
        r.dataBufferOffset = c.layout.size;
        Bytes out(c.layout.size, 0xEE);
        EncodeAtaPassThrough(r, out, c.layout);
        // DataBufferOffset: the sector follows the record.
        Bytes expected = c.expected;
        expected[c.layout.dataBufferOffset] = static_cast<std::uint8_t>(c.layout.size);
        EXPECT_EQ(out, expected) << c.layout.size;
        EXPECT_EQ(DecodeAtaPassThrough(out, c.layout), r);
        EXPECT_FALSE(DecodeAtaPassThrough(Bytes(c.layout.size - 1), c.layout).has_value());
    }
}

// SAT-3: opcode, protocol << 1, T_DIR | BYT_BLOK | T_LENGTH=2 for data-in,
// CK_COND for the status; registers in their low-order bytes.
TEST(SatCommandBlock, SixteenAndTwelveByteFormsOfEachCommand) {
    struct Case {
        AtaCommand command;
        Bytes sixteen;
        Bytes twelve;
    } cases[] = {
        {IdentifyDeviceCommand(),
         {0x85, 0x08, 0x0E, 0, 0x00, 0, 0x01, 0, 0x00, 0, 0x00, 0, 0x00, 0xA0, 0xEC, 0},
         {0xA1, 0x08, 0x0E, 0x00, 0x01, 0x00, 0x00, 0x00, 0xA0, 0xEC, 0, 0}},
        {SmartReadDataCommand(),
         {0x85, 0x08, 0x0E, 0, 0xD0, 0, 0x01, 0, 0x01, 0, 0x4F, 0, 0xC2, 0xA0, 0xB0, 0},
         {0xA1, 0x08, 0x0E, 0xD0, 0x01, 0x01, 0x4F, 0xC2, 0xA0, 0xB0, 0, 0}},
        {SmartReadThresholdsCommand(),
         {0x85, 0x08, 0x0E, 0, 0xD1, 0, 0x01, 0, 0x01, 0, 0x4F, 0, 0xC2, 0xA0, 0xB0, 0},
         {0xA1, 0x08, 0x0E, 0xD1, 0x01, 0x01, 0x4F, 0xC2, 0xA0, 0xB0, 0, 0}},
        {SmartReturnStatusCommand(),
         {0x85, 0x06, 0x20, 0, 0xDA, 0, 0x01, 0, 0x01, 0, 0x4F, 0, 0xC2, 0xA0, 0xB0, 0},
         {0xA1, 0x06, 0x20, 0xDA, 0x01, 0x01, 0x4F, 0xC2, 0xA0, 0xB0, 0, 0}},
    };
    for (const Case& c : cases) {
        const auto s = SatCdb16(c.command);
        const auto t = SatCdb12(c.command);
        EXPECT_EQ(Bytes(s.begin(), s.end()), c.sixteen);
        EXPECT_EQ(Bytes(t.begin(), t.end()), c.twelve);
    }
}

Bytes DescriptorSense(std::uint8_t key, std::uint8_t asc, std::uint8_t ascq, Bytes descriptors) {
    Bytes s = {0x72, key, asc, ascq, 0, 0, 0, static_cast<std::uint8_t>(descriptors.size())};
    s.insert(s.end(), descriptors.begin(), descriptors.end());
    return s;
}

// ATA Status Return descriptor: 09h, 0Ch, extend, error, count (2), LBA low,
// mid, high (2 each, low byte second), device, status.
Bytes AtaDescriptor(std::uint8_t mid, std::uint8_t high, std::uint8_t status) {
    return {0x09, 0x0C, 0, 0x00, 0, 0x01, 0, 0x01, 0, mid, 0, high, 0xA0, status};
}

TEST(SatSense, DescriptorFormatCarriesTheRegisters) {
    const auto r = DecodeSense(DescriptorSense(kSenseRecoveredError, 0, 0x1D, AtaDescriptor(0xF4, 0x2C, 0x50)));
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->key, kSenseRecoveredError);
    ASSERT_TRUE(r->registers.has_value());
    EXPECT_EQ(r->registers->lbaMid, 0xF4);
    EXPECT_EQ(r->registers->lbaHigh, 0x2C);
    EXPECT_EQ(r->registers->status, 0x50);
    EXPECT_EQ(VerdictOf(r->registers), DiskVerdict::kThresholdExceeded);
}

TEST(SatSense, DescriptorAfterAnotherIsFoundAndALyingLengthIsNotRead) {
    Bytes two = {0x00, 0x02, 0xAA, 0xBB};
    const Bytes ata = AtaDescriptor(0x4F, 0xC2, 0x50);
    two.insert(two.end(), ata.begin(), ata.end());
    EXPECT_EQ(VerdictOf(DecodeSense(DescriptorSense(1, 0, 0x1D, two))->registers), DiskVerdict::kPassed);

    // The head promises the whole descriptor; the bytes stop short of it.
    Bytes cut = DescriptorSense(1, 0, 0x1D, ata);
    cut.resize(cut.size() - 3);
    EXPECT_FALSE(DecodeSense(cut)->registers.has_value());
    // The descriptor claims more bytes than the head's additional length.
    Bytes lying = DescriptorSense(1, 0, 0x1D, {0x09, 0x20, 0, 0, 0, 0});
    EXPECT_FALSE(DecodeSense(lying)->registers.has_value());
}

TEST(SatSense, FixedFormatRegistersOnlyWithAtaInformationAvailable) {
    Bytes s(18, 0);
    s[0] = 0x70;
    s[2] = kSenseRecoveredError;
    s[7] = 10;
    s[3] = 0x00;   // error
    s[4] = 0x50;   // status
    s[9] = 0xC2;   // LBA high
    s[10] = 0x4F;  // LBA mid
    s[12] = 0x00;
    s[13] = kAscqAtaInformation;
    EXPECT_EQ(VerdictOf(DecodeSense(s)->registers), DiskVerdict::kPassed);
    s[13] = 0x00;
    EXPECT_FALSE(DecodeSense(s)->registers.has_value());
}

TEST(SatSense, IllegalRequestForTheOpcodeOrAFieldIsTheBridgeRefusing) {
    struct Case {
        std::uint8_t key, asc;
        bool refused;
    } cases[] = {
        {kSenseIllegalRequest, kAscInvalidOpcode, true},
        {kSenseIllegalRequest, kAscInvalidField, true},
        {kSenseIllegalRequest, 0x21, false},
        {kSenseAbortedCommand, 0x00, false},
        {kSenseRecoveredError, 0x00, false},
    };
    for (const Case& c : cases) {
        Bytes fixed(18, 0);
        fixed[0] = 0x70;
        fixed[2] = c.key;
        fixed[7] = 10;
        fixed[12] = c.asc;
        EXPECT_EQ(BridgeRefused(*DecodeSense(fixed)), c.refused);
        EXPECT_EQ(BridgeRefused(*DecodeSense(DescriptorSense(c.key, c.asc, 0, {}))), c.refused);
    }
}

TEST(SatSense, UnknownOrTooShortSenseIsNone) {
    EXPECT_FALSE(DecodeSense(Bytes{}).has_value());
    EXPECT_FALSE(DecodeSense(Bytes{0x7F, 0, 0, 0, 0, 0, 0, 0}).has_value());
    EXPECT_FALSE(DecodeSense(Bytes{0x72, 5, 0x20}).has_value());
    EXPECT_FALSE(DecodeSense(Bytes{0x70, 0}).has_value());
}

TEST(DiskVerdictRegisters, OnlyTheTwoSignaturesGiveAVerdict) {
    auto regs = [](std::uint8_t mid, std::uint8_t high) {
        AtaReturn r;
        r.lbaMid = mid;
        r.lbaHigh = high;
        return std::optional<AtaReturn>(r);
    };
    EXPECT_EQ(VerdictOf(regs(0x4F, 0xC2)), DiskVerdict::kPassed);
    EXPECT_EQ(VerdictOf(regs(0xF4, 0x2C)), DiskVerdict::kThresholdExceeded);
    EXPECT_EQ(VerdictOf(regs(0x00, 0x00)), DiskVerdict::kNotGiven);
    EXPECT_EQ(VerdictOf(regs(0x4F, 0x2C)), DiskVerdict::kNotGiven);
    EXPECT_EQ(VerdictOf(std::nullopt), DiskVerdict::kNotGiven);
}

// STORAGE_PROPERTY_QUERY with the protocol record as AdditionalParameters;
// the reply's record counts its data offset from itself.
TEST(ProtocolQuery, QueryAndReplyLayouts) {
    ProtocolSpecificData d;
    d.dataType = NVMeDataTypeLogPage;
    d.requestValue = 2;
    d.dataLength = 512;
    const Bytes q = EncodeProtocolQuery(StorageDeviceProtocolSpecificProperty, d);
    ASSERT_EQ(q.size(), 8u + 40u + 512u);
    const Bytes head(q.begin(), q.begin() + 32);
    EXPECT_EQ(head, (Bytes{50, 0, 0, 0, 0, 0, 0, 0, 3,  0, 0, 0, 2, 0, 0, 0,
                           2,  0, 0, 0, 0, 0, 0, 0, 40, 0, 0, 0, 0, 2, 0, 0}));

    Bytes reply(8 + 40 + 512, 0);
    EncodeProtocolData(d, reply, protocol_data::kInDescriptor);
    reply[48] = 0x5A;
    const auto data = ProtocolReplyData(reply);
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(data->size(), 512u);
    EXPECT_EQ((*data)[0], 0x5A);
    // A reply cut short, or whose record points past what came back.
    EXPECT_FALSE(ProtocolReplyData(Bytes(reply.begin(), reply.end() - 1)).has_value());
    d.dataOffset = 0xFFFFFFF0u;
    EncodeProtocolData(d, reply, protocol_data::kInDescriptor);
    EXPECT_FALSE(ProtocolReplyData(reply).has_value());
    d.dataOffset = 4;
    EncodeProtocolData(d, reply, protocol_data::kInDescriptor);
    EXPECT_FALSE(ProtocolReplyData(reply).has_value());
}

// NVMe 1.4, Identify Controller: VID 1:0, SN 23:04, MN 63:24, FR 71:64,
// TNVMCAP 295:280.
TEST(NvmeIdentify, TextsAndTheExactCapacity) {
    Bytes id(4096, 0);
    Put(id, 0, 0x144D, 2);
    PutText(id, 4, 20, "  S4EWNX0R123456");
    PutText(id, 24, 40, "Samsung SSD 970 EVO Plus 1TB");
    PutText(id, 64, 8, "2B2QEXM7");
    Put(id, 280, 1000204886016ull, 8);
    Put(id, 288, 2, 8);
    const auto d = DecodeNvmeIdentify(id);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->vendorId, 0x144D);
    EXPECT_EQ(d->serialNumber, "S4EWNX0R123456");
    EXPECT_EQ(d->modelNumber, "Samsung SSD 970 EVO Plus 1TB");
    EXPECT_EQ(d->firmwareRev, "2B2QEXM7");
    EXPECT_EQ(CounterDecimal(d->capacityBytes), "36893489147623989248");
    EXPECT_FALSE(DecodeNvmeIdentify(Bytes(295)).has_value());
    EXPECT_TRUE(DecodeNvmeIdentify(Bytes(296)).has_value());
}

// NVMe 1.4, SMART / Health Information (log 02h).
TEST(NvmeHealthLogDecode, FieldsAtTheirOffsets) {
    Bytes log(512, 0);
    log[0] = 0x05;
    Put(log, 1, 310, 2);
    log[3] = 9;
    log[4] = 10;
    log[5] = 255;
    Put(log, 32, 7, 8);
    Put(log, 40, 1, 8);  // data units read: 2^64 + 7
    for (std::size_t i = 1; i < 10; ++i) Put(log, 32 + 16 * i, 100 + i, 8);
    Put(log, 192, 61, 4);
    Put(log, 196, 0xFFFFFFFFu, 4);
    Put(log, 200, 305, 2);
    Put(log, 214, 330, 2);
    const auto h = DecodeNvmeHealthLog(log);
    ASSERT_TRUE(h.has_value());
    EXPECT_EQ(h->criticalWarning, 0x05);
    EXPECT_EQ(KelvinToCelsius(h->compositeKelvin), 37);
    EXPECT_EQ(h->percentageUsed, 255);
    EXPECT_TRUE(SpareBelowThreshold(*h));
    EXPECT_EQ(CounterDecimal(h->dataUnitsRead), "18446744073709551623");
    EXPECT_EQ(CounterTimesDecimal(h->dataUnitsRead, nvme_log::kDataUnitBytes), "9444732965739290430976000");
    const Counter128 expected[] = {h->dataUnitsWritten,      h->hostReadCommands, h->hostWriteCommands,
                                   h->controllerBusyMinutes, h->powerCycles,      h->powerOnHours,
                                   h->unsafeShutdowns,       h->mediaErrors,      h->errorLogEntries};
    for (std::size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(expected[i].low, 101 + i);
    EXPECT_EQ(h->warningTempMinutes, 61u);
    EXPECT_EQ(h->criticalTempMinutes, 0xFFFFFFFFu);
    EXPECT_EQ(h->sensorKelvin[0], 305);
    EXPECT_EQ(h->sensorKelvin[1], 0);
    EXPECT_EQ(h->sensorKelvin[7], 330);
    EXPECT_FALSE(DecodeNvmeHealthLog(Bytes(511)).has_value());
}

TEST(NvmeHealthLogDecode, BoundaryValues) {
    EXPECT_FALSE(KelvinToCelsius(0).has_value());
    EXPECT_EQ(KelvinToCelsius(1), -272);
    EXPECT_EQ(KelvinToCelsius(273), 0);
    EXPECT_EQ(KelvinToCelsius(65535), 65262);
    NvmeHealthLog h;
    h.availableSpare = 10, h.spareThreshold = 10;
    EXPECT_FALSE(SpareBelowThreshold(h));
    h.availableSpare = 9;
    EXPECT_TRUE(SpareBelowThreshold(h));
}

TEST(NvmeHealthLogDecode, EachCriticalWarningBitIsNamedOnItsOwn) {
    std::vector<std::string> seen;
    for (unsigned bit = 0; bit < 8; ++bit) {
        const auto words = CriticalWarnings(static_cast<std::uint8_t>(1u << bit));
        ASSERT_EQ(words.size(), 1u) << bit;
        for (const std::string& s : seen) EXPECT_NE(s, words[0]);
        seen.push_back(words[0]);
    }
    EXPECT_NE(seen[0].find("spare"), std::string::npos);
    EXPECT_NE(seen[1].find("temperature"), std::string::npos);
    EXPECT_NE(seen[3].find("read-only"), std::string::npos);
    EXPECT_TRUE(CriticalWarnings(0).empty());
    EXPECT_EQ(CriticalWarnings(0xFF).size(), 8u);
}

}  // namespace
