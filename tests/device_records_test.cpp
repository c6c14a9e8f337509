// The device request records as bytes: every field at its offset and width,
// little-endian, for this build's pointer width; what the decoders refuse.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/device_records.h"
#include "platform/shell.h"

using namespace tw::platform;

namespace {

std::uint64_t LittleEndian(std::span<const BYTE> bytes, std::size_t at, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i) value |= std::uint64_t{bytes[at + i]} << (8 * i);
    return value;
}

PassThroughRequest Inquiry(std::uintptr_t buffer) {
    PassThroughRequest r;
    r.cdbLength = 6;
    r.senseInfoLength = 24;
    r.dataTransferLength = 100;
    r.timeOutValue = 2;
    r.dataBuffer = buffer;
    r.cdb[0] = 0x12;
    r.cdb[4] = 100;
    return r;
}

}  // namespace

TEST(PassThroughRecord, EveryFieldLandsAtItsOffsetAndWidth) {
    PassThroughRequest r;
    r.length = 0x1234;
    r.scsiStatus = 0x21;
    r.pathId = 0x22;
    r.targetId = 0x23;
    r.lun = 0x24;
    r.cdbLength = 0x25;
    r.senseInfoLength = 0x26;
    r.dataIn = 0x27;
    r.dataTransferLength = 0xA1A2A3A4;
    r.timeOutValue = 0xB1B2B3B4;
    r.dataBuffer = static_cast<std::uintptr_t>(0xC1C2C3C4C5C6C7C8ull);
    r.senseInfoOffset = 0xD1D2D3D4;
    for (std::size_t i = 0; i < r.cdb.size(); ++i) r.cdb[i] = static_cast<BYTE>(0xE0 + i);
    const PassThroughRecord bytes = Encode(r);

    ASSERT_EQ(bytes.size(), kPassThrough.recordSize);
    const struct {
        std::size_t offset, width;
        std::uint64_t value;
    } fields[] = {
        {0, 2, 0x1234},
        {2, 1, 0x21},
        {3, 1, 0x22},
        {4, 1, 0x23},
        {5, 1, 0x24},
        {6, 1, 0x25},
        {7, 1, 0x26},
        {8, 1, 0x27},
        {9, 3, 0},  // alignment
        {12, 4, 0xA1A2A3A4},
        {16, 4, 0xB1B2B3B4},
        {kPassThrough.dataBuffer, kPassThrough.pointerSize, static_cast<std::uint64_t>(r.dataBuffer)},
        {kPassThrough.senseInfoOffset, 4, 0xD1D2D3D4},
        {kPassThrough.filler, 4, 0},
    };
    for (const auto& f : fields) {
        EXPECT_EQ(LittleEndian(bytes, f.offset, f.width), f.value) << "offset " << f.offset;
    }
    for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(bytes[kPassThrough.cdb + i], 0xE0 + i) << "cdb byte " << i;
    for (std::size_t i = kPassThrough.sense; i < bytes.size(); ++i) EXPECT_EQ(bytes[i], 0) << "sense byte " << i;
}

TEST(PassThroughRecord, ThisBuildsLayoutIsTheSystemsOwn) {
    if (sizeof(void*) == 4) {
        EXPECT_EQ(kPassThrough.directSize, 44u);
        EXPECT_EQ(kPassThrough.dataBuffer, 20u);
        EXPECT_EQ(kPassThrough.senseInfoOffset, 24u);
        EXPECT_EQ(kPassThrough.cdb, 28u);
        EXPECT_EQ(kPassThrough.sense, 48u);
        EXPECT_EQ(kPassThrough.recordSize, 80u);
    } else {
        EXPECT_EQ(kPassThrough.directSize, 56u);
        EXPECT_EQ(kPassThrough.dataBuffer, 24u);
        EXPECT_EQ(kPassThrough.senseInfoOffset, 32u);
        EXPECT_EQ(kPassThrough.cdb, 36u);
        EXPECT_EQ(kPassThrough.sense, 60u);
        EXPECT_EQ(kPassThrough.recordSize, 96u);
    }
    // A request left at its defaults names this build's record.
    const PassThroughRecord bytes = Encode(PassThroughRequest{});
    EXPECT_EQ(LittleEndian(bytes, 0, 2), kPassThrough.directSize);
    EXPECT_EQ(LittleEndian(bytes, kPassThrough.senseInfoOffset, 4), kPassThrough.sense);
    EXPECT_EQ(bytes[8], SCSI_IOCTL_DATA_IN);
}

TEST(PassThroughRecord, InquiryRecordOfThe32BitBuildByteForByte) {
    if (sizeof(void*) != 4) GTEST_SKIP() << "the 80-byte record is the 32-bit build's";
    const PassThroughRecord bytes = Encode(Inquiry(0x00402010));
    const std::vector<BYTE> expected = {
        44,   0,    0,    0,    0,   0, 6, 24, 1, 0, 0, 0,        // Length .. DataIn, alignment
        100,  0,    0,    0,    2,   0, 0, 0,                     // DataTransferLength, TimeOutValue
        0x10, 0x20, 0x40, 0x00, 48,  0, 0, 0,                     // DataBuffer, SenseInfoOffset
        0x12, 0,    0,    0,    100, 0, 0, 0,  0, 0, 0, 0, 0, 0,  // Cdb
        0,    0,                                                  // Cdb (end)
        0,    0,    0,    0,                                      // filler
    };
    ASSERT_EQ(bytes.size(), 80u);
    EXPECT_EQ(std::vector<BYTE>(bytes.begin(), bytes.begin() + 48), expected);
    EXPECT_EQ(std::vector<BYTE>(bytes.begin() + 48, bytes.end()), std::vector<BYTE>(32, 0));
}

TEST(PassThroughRecord, DecodeReadsBackWhatEncodeWrote) {
    std::vector<BYTE> reply(100);
    const PassThroughRequest sent = Inquiry(reinterpret_cast<std::uintptr_t>(reply.data()));
    const PassThroughRecord bytes = Encode(sent);
    const auto back = DecodePassThrough(bytes);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, sent);
    // The direct record alone is enough; one byte less is not.
    EXPECT_TRUE(DecodePassThrough(std::span(bytes).first(kPassThrough.directSize)).has_value());
    EXPECT_FALSE(DecodePassThrough(std::span(bytes).first(kPassThrough.directSize - 1)).has_value());
    EXPECT_FALSE(DecodePassThrough({}).has_value());
}

TEST(StorageRecords, PropertyQueryIsTwelveBytes) {
    const auto standard = Encode(StoragePropertyQuery{});
    EXPECT_EQ(std::vector<BYTE>(standard.begin(), standard.end()), std::vector<BYTE>(12, 0));
    const auto other = Encode(StoragePropertyQuery{0x01020304, 0x05060708, 0x09});
    EXPECT_EQ(std::vector<BYTE>(other.begin(), other.end()), (std::vector<BYTE>{4, 3, 2, 1, 8, 7, 6, 5, 9, 0, 0, 0}));
    const auto back = DecodePropertyQuery(other);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->propertyId, 0x01020304u);
    EXPECT_EQ(back->queryType, 0x05060708u);
    EXPECT_EQ(back->additionalParameters, 9);
    EXPECT_FALSE(DecodePropertyQuery(std::span(other).first(7)).has_value());
}

TEST(StorageRecords, DescriptorBufferHasItsSizePreset) {
    const auto buffer = NewDeviceDescriptorBuffer();
    ASSERT_EQ(buffer.size(), 548u);
    EXPECT_EQ(LittleEndian(buffer, 4, 4), 548u);
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        if (i < 4 || i > 7) {
            EXPECT_EQ(buffer[i], 0) << "byte " << i;
        }
    }
}

TEST(StorageRecords, DescriptorFieldsRoundTripAtTheirOffsets) {
    DeviceDescriptor d;
    d.version = 40;
    d.size = 120;
    d.deviceType = 5;
    d.removableMedia = true;
    d.vendorIdOffset = 40;
    d.productIdOffset = 49;
    d.busType = BusTypeUsb;
    std::vector<BYTE> bytes(64, 0xEE);
    EncodeDeviceDescriptor(d, bytes);
    EXPECT_EQ(bytes[8], 5);
    EXPECT_EQ(bytes[10], 1);
    EXPECT_EQ(LittleEndian(bytes, 12, 4), 40u);
    EXPECT_EQ(LittleEndian(bytes, 16, 4), 49u);
    EXPECT_EQ(LittleEndian(bytes, 28, 4), 7u);
    // The head is 36 bytes; what follows is the caller's.
    EXPECT_EQ(bytes[36], 0xEE);
    EXPECT_EQ(DecodeDeviceDescriptor(bytes), d);

    // A reply cut before BusType is refused; one that reaches it is read.
    EXPECT_FALSE(DecodeDeviceDescriptor(std::span(bytes).first(31)).has_value());
    const auto cut = DecodeDeviceDescriptor(std::span(bytes).first(32));
    ASSERT_TRUE(cut.has_value());
    EXPECT_EQ(cut->busType, BusTypeUsb);
    EXPECT_EQ(cut->rawPropertiesLength, 0u);
}

TEST(StorageRecords, PreventMediaRemovalIsOneByte) {
    EXPECT_EQ(EncodePreventMediaRemoval(true)[0], 1);
    EXPECT_EQ(EncodePreventMediaRemoval(false)[0], 0);
    const BYTE two[] = {2};
    EXPECT_EQ(DecodePreventMediaRemoval(two), true);
    EXPECT_FALSE(DecodePreventMediaRemoval({}).has_value());
}

TEST(TokenGroupsRecord, EntriesPointAtTheSidsInsideTheBuffer) {
    const TokenGroup groups[] = {
        {{1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}, 7},                          // S-1-1-0
        {{1, 2, 0, 0, 0, 0, 0, 5, 0x20, 0, 0, 0, 0x20, 0x02, 0, 0}, 0x10},  // S-1-5-32-544
    };
    const std::size_t size = TokenGroupsSize(groups);
    EXPECT_EQ(size, kTokenGroups.groups + 2 * kTokenGroups.entrySize + 12 + 16);
    std::vector<BYTE> buffer(size, 0xEE);
    EncodeTokenGroups(groups, buffer);
    EXPECT_EQ(LittleEndian(buffer, 0, 4), 2u);

    const auto decoded = DecodeTokenGroups(buffer);
    ASSERT_TRUE(decoded.has_value());
    ASSERT_EQ(decoded->size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ((*decoded)[i].attributes, groups[i].attributes);
        const auto* sid = reinterpret_cast<const BYTE*>((*decoded)[i].sid);
        ASSERT_GE(sid, buffer.data());
        ASSERT_LE(sid + groups[i].sid.size(), buffer.data() + buffer.size());
        EXPECT_EQ(std::vector<BYTE>(sid, sid + SidLength(sid[1])), groups[i].sid);
    }
}

TEST(TokenGroupsRecord, ACountBeyondTheBufferIsRefused) {
    std::vector<BYTE> buffer(kTokenGroups.groups + kTokenGroups.entrySize, 0);
    buffer[0] = 1;
    EXPECT_TRUE(DecodeTokenGroups(buffer).has_value());
    buffer[0] = 2;
    EXPECT_FALSE(DecodeTokenGroups(buffer).has_value());
    buffer[0] = buffer[1] = buffer[2] = buffer[3] = 0xFF;
    EXPECT_FALSE(DecodeTokenGroups(buffer).has_value());
    EXPECT_FALSE(DecodeTokenGroups(std::span(buffer).first(3)).has_value());
}

TEST(ShellExecuteRecord, ThePropertiesRequestOfThe32BitLayoutByteForByte) {
    ShellExecuteRequest r;
    r.cbSize = 60;
    r.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    r.hwnd = 0x000A0B0C;
    r.lpVerb = reinterpret_cast<const char*>(std::uintptr_t{0x00403000});
    r.lpFile = reinterpret_cast<const char*>(std::uintptr_t{0x00403010});
    const std::vector<BYTE> bytes = EncodeShellExecuteInfo(r, kShellExecuteInfo32);
    std::vector<BYTE> expected = {
        60,   0,    0,    0, 0x4C, 0x04, 0,    0,  // cbSize, fMask
        0x0C, 0x0B, 0x0A, 0, 0,    0x30, 0x40, 0,  // hwnd, lpVerb
        0x10, 0x30, 0x40, 0,                       // lpFile
    };
    expected.resize(60, 0);  // parameters, directory, nShow, hInstApp, lpIDList and the unset fields
    EXPECT_EQ(bytes, expected);
}

TEST(ShellExecuteRecord, DecodeReadsBackWhatEncodeWroteAndRefusesAnotherSize) {
    ShellExecuteRequest r;
    r.fMask = SEE_MASK_NOCLOSEPROCESS;
    r.lpVerb = "properties";
    r.lpFile = "E:";
    r.nShow = -1;
    r.hProcess = 0x1234;
    ShellExecuteRecord bytes = EncodeShellExecuteInfo(r);
    const auto back = DecodeShellExecuteInfo(bytes);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->cbSize, kShellExecuteInfo.size);
    EXPECT_EQ(back->fMask, SEE_MASK_NOCLOSEPROCESS);
    EXPECT_STREQ(back->lpVerb, "properties");
    EXPECT_STREQ(back->lpFile, "E:");
    EXPECT_EQ(back->lpParameters, nullptr);
    EXPECT_EQ(back->nShow, -1);
    EXPECT_EQ(back->hProcess, 0x1234u);
    bytes[0] = 59;
    EXPECT_FALSE(DecodeShellExecuteInfo(bytes).has_value());
}
