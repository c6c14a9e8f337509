// The platform's contract, case by case: each is what Windows does with the
// call, checked on every backend that instantiates PlatformContract.
#include "platform_contract.h"

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "platform/device_records.h"
#include "platform/smart_records.h"

namespace tw::contract {

using namespace tw::platform;

void PlatformContract::SetUp() {
    if (GetParam().clearRegistry) GetParam().clearRegistry();
    platform_ = GetParam().make();
}

void PlatformContract::TearDown() {
    platform_.reset();
    if (GetParam().clearRegistry) GetParam().clearRegistry();
}

char PlatformContract::UnusedLetter() {
    const DWORD mask = kernel().GetLogicalDrives();
    for (char c = 'Y'; c >= 'D'; --c) {
        if (!(mask & (1u << (c - 'A')))) return c;
    }
    ADD_FAILURE() << "every letter from D to Y has a drive";
    return 'Y';
}

namespace {

std::string Root(char letter) { return std::string(1, letter) + ":\\"; }
std::string Name(char letter) { return std::string(1, letter) + ":"; }
bool HasLetter(DWORD mask, char letter) { return (mask >> (letter - 'A')) & 1; }

// A request no driver knows (function codes from 0x800 are the vendors').
constexpr DWORD kUnknownRequest = CtlCode(0x22, 0x800, METHOD_BUFFERED, FILE_ANY_ACCESS);

constexpr DWORD kReadShareBoth = FILE_SHARE_READ | FILE_SHARE_WRITE;

// ---- The program's own file ----

TEST_P(PlatformContract, TheProgramsOwnFileIsNamedInFullAndCutWhereItDoesNotFit) {
    std::array<char, MAX_PATH + 1> path{};
    const DWORD length = kernel().GetModuleFileNameA(0, path.data(), static_cast<DWORD>(path.size()));
    ASSERT_GT(length, 4u) << kernel().GetLastError();
    const std::string name(path.data(), length);
    EXPECT_EQ(name.substr(1, 2), ":\\") << name;
    std::string extension = name.substr(name.size() - 4);
    for (char& c : extension) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    EXPECT_EQ(extension, ".EXE") << name;
    // Cut to the room there is, with its zero, and said to be cut.
    std::array<char, 4> shortBuffer{'x', 'x', 'x', 'x'};
    EXPECT_EQ(kernel().GetModuleFileNameA(0, shortBuffer.data(), 4), 4u);
    EXPECT_EQ(kernel().GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(std::string(shortBuffer.data(), 3), name.substr(0, 3));
    EXPECT_WINDOWS_ANSWER(shortBuffer[3], '\0', name[3],
                          "Wine cuts the name to the whole buffer without a zero, as Windows XP did");
}

// ---- Drives, volumes and free space ----

TEST_P(PlatformContract, TheSystemDriveIsAFixedDiskByEverySpellingOfItsRoot) {
    EXPECT_TRUE(HasLetter(kernel().GetLogicalDrives(), 'C'));
    for (const char* root : {"C:\\", "c:\\", "C:"}) EXPECT_EQ(kernel().GetDriveTypeA(root), DRIVE_FIXED) << root;
}

TEST_P(PlatformContract, ALetterWithoutADriveHasNoRootDirectory) {
    EXPECT_EQ(kernel().GetDriveTypeA(Root(UnusedLetter()).c_str()), DRIVE_NO_ROOT_DIR);
}

TEST_P(PlatformContract, VolumeInformationOfARootNamesItsFileSystem) {
    std::array<char, MAX_PATH + 1> label{}, fileSystem{};
    DWORD serial = 0, maxComponent = 0, flags = 0;
    kernel().SetLastError(0xdeadbeef);
    ASSERT_TRUE(kernel().GetVolumeInformationA("C:\\", label.data(), MAX_PATH + 1, &serial, &maxComponent, &flags,
                                               fileSystem.data(), MAX_PATH + 1))
        << kernel().GetLastError();
    EXPECT_NE(std::string(fileSystem.data()), "");
    EXPECT_GT(maxComponent, 0u);
    // Outputs the caller leaves out are skipped; the others answer the same.
    DWORD again = ~serial;
    EXPECT_TRUE(kernel().GetVolumeInformationA("C:\\", nullptr, 0, &again, nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(again, serial);
}

TEST_P(PlatformContract, VolumeInformationNeedsRoomForTheFileSystemNamesZero) {
    std::array<char, MAX_PATH + 1> fileSystem{};
    ASSERT_TRUE(
        kernel().GetVolumeInformationA("C:\\", nullptr, 0, nullptr, nullptr, nullptr, fileSystem.data(), MAX_PATH + 1));
    const auto length = static_cast<DWORD>(std::strlen(fileSystem.data()));
    ASSERT_GT(length, 0u);
    fileSystem.fill('x');
    EXPECT_FALSE(
        kernel().GetVolumeInformationA("C:\\", nullptr, 0, nullptr, nullptr, nullptr, fileSystem.data(), length));
    EXPECT_EQ(kernel().GetLastError(), ERROR_BAD_LENGTH);
    EXPECT_TRUE(
        kernel().GetVolumeInformationA("C:\\", nullptr, 0, nullptr, nullptr, nullptr, fileSystem.data(), length + 1));
    EXPECT_EQ(std::strlen(fileSystem.data()), length);
}

TEST_P(PlatformContract, VolumeInformationOfALetterWithoutADriveIsPathNotFound) {
    std::array<char, 64> label{};
    kernel().SetLastError(0);
    EXPECT_FALSE(kernel().GetVolumeInformationA(Root(UnusedLetter()).c_str(), label.data(), 64, nullptr, nullptr,
                                                nullptr, nullptr, 0));
    EXPECT_EQ(kernel().GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_P(PlatformContract, FreeSpaceOfARootAndOfAFolderOnIt) {
    ULONGLONG freeToCaller = 0, total = 0, totalFree = 0;
    ASSERT_TRUE(kernel().GetDiskFreeSpaceExA("C:\\", &freeToCaller, &total, &totalFree)) << kernel().GetLastError();
    EXPECT_GT(total, 0u);
    EXPECT_LE(totalFree, total);
    EXPECT_LE(freeToCaller, totalFree);
    // Any folder of the disk tells the disk's size; outputs left out are skipped.
    ULONGLONG folderTotal = 0;
    EXPECT_TRUE(kernel().GetDiskFreeSpaceExA("C:\\windows\\", nullptr, &folderTotal, nullptr));
    EXPECT_EQ(folderTotal, total);
}

TEST_P(PlatformContract, ClusterCountsCoverTheWholeDisk) {
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    ASSERT_TRUE(kernel().GetDiskFreeSpaceA("C:\\", &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters));
    ULONGLONG total = 0;
    ASSERT_TRUE(kernel().GetDiskFreeSpaceExA("C:\\", nullptr, &total, nullptr));
    const ULONGLONG cluster = ULONGLONG{sectorsPerCluster} * bytesPerSector;
    ASSERT_GT(cluster, 0u);
    EXPECT_LE(freeClusters, totalClusters);
    // Whole clusters: at most one cluster's bytes short of the disk.
    if (total / cluster <= 0xFFFFFFFFu) {
        EXPECT_LE(ULONGLONG{totalClusters} * cluster, total);
        EXPECT_GT(ULONGLONG{totalClusters} * cluster + cluster, total);
    }
}

TEST_P(PlatformContract, FreeSpaceOfALetterWithoutADriveIsPathNotFound) {
    const std::string root = Root(UnusedLetter());
    ULONGLONG total = 0;
    kernel().SetLastError(0);
    EXPECT_FALSE(kernel().GetDiskFreeSpaceExA(root.c_str(), nullptr, &total, nullptr));
    EXPECT_EQ(kernel().GetLastError(), ERROR_PATH_NOT_FOUND);
    DWORD a = 0, b = 0, c = 0, d = 0;
    kernel().SetLastError(0);
    EXPECT_FALSE(kernel().GetDiskFreeSpaceA(root.c_str(), &a, &b, &c, &d));
    EXPECT_EQ(kernel().GetLastError(), ERROR_PATH_NOT_FOUND);
}

// ---- Device names ----

// QueryDosDeviceA's answer: the names listed, the count reported, or the error.
struct Mapping {
    DWORD count = 0;
    DWORD error = 0;
    std::vector<std::string> names;
};

Mapping Query(Kernel& kernel, char letter) {
    std::array<char, 1024> buffer{};
    kernel.SetLastError(0);
    Mapping m;
    m.count = kernel.QueryDosDeviceA(Name(letter).c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    m.error = m.count ? 0 : kernel.GetLastError();
    for (const char* p = buffer.data(); m.count && *p; p += std::strlen(p) + 1) m.names.emplace_back(p);
    return m;
}

TEST_P(PlatformContract, DeviceNameOfTheSystemDriveEndsWithTwoZeros) {
    const Mapping c = Query(kernel(), 'C');
    ASSERT_EQ(c.names.size(), 1u) << c.error;
    EXPECT_EQ(c.names[0].rfind("\\Device\\", 0), 0u) << c.names[0];
    EXPECT_EQ(c.count, c.names[0].size() + 2);
}

TEST_P(PlatformContract, DeviceNameInATooSmallBufferIsInsufficientBuffer) {
    const Mapping c = Query(kernel(), 'C');
    ASSERT_GT(c.count, 2u);
    std::vector<char> buffer(c.count, 'x');
    EXPECT_EQ(kernel().QueryDosDeviceA("C:", buffer.data(), c.count), c.count);
    kernel().SetLastError(0);
    EXPECT_EQ(kernel().QueryDosDeviceA("C:", buffer.data(), c.count - 1), 0u);
    EXPECT_EQ(kernel().GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST_P(PlatformContract, DeviceNameOfALetterWithoutADriveIsFileNotFound) {
    EXPECT_EQ(Query(kernel(), UnusedLetter()).error, ERROR_FILE_NOT_FOUND);
}

TEST_P(PlatformContract, ADefinedLetterReadsBackInItsSystemFormUntilRemoved) {
    const char letter = UnusedLetter();
    ASSERT_TRUE(kernel().DefineDosDeviceA(0, Name(letter).c_str(), "C:\\windows")) << kernel().GetLastError();
    EXPECT_TRUE(HasLetter(kernel().GetLogicalDrives(), letter));
    const Mapping defined = Query(kernel(), letter);
    ASSERT_FALSE(defined.names.empty()) << defined.error;
    EXPECT_EQ(defined.names[0], "\\??\\C:\\windows");
    EXPECT_TRUE(kernel().DefineDosDeviceA(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, Name(letter).c_str(),
                                          "C:\\windows"));
    EXPECT_FALSE(HasLetter(kernel().GetLogicalDrives(), letter));
    EXPECT_EQ(Query(kernel(), letter).error, ERROR_FILE_NOT_FOUND);
}

TEST_P(PlatformContract, ARawTargetIsKeptAsGivenAndANullTargetRemovesIt) {
    const char letter = UnusedLetter();
    ASSERT_TRUE(kernel().DefineDosDeviceA(DDD_RAW_TARGET_PATH, Name(letter).c_str(), "\\??\\C:\\windows"));
    const Mapping defined = Query(kernel(), letter);
    ASSERT_FALSE(defined.names.empty()) << defined.error;
    EXPECT_EQ(defined.names[0], "\\??\\C:\\windows");
    EXPECT_TRUE(kernel().DefineDosDeviceA(DDD_REMOVE_DEFINITION, Name(letter).c_str(), nullptr));
    EXPECT_EQ(Query(kernel(), letter).error, ERROR_FILE_NOT_FOUND);
}

TEST_P(PlatformContract, RemovingADefinitionThatIsNotThereIsFileNotFound) {
    const char letter = UnusedLetter();
    kernel().SetLastError(0);
    EXPECT_FALSE(kernel().DefineDosDeviceA(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, Name(letter).c_str(),
                                           "C:\\windows"));
    EXPECT_EQ(kernel().GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_P(PlatformContract, ASubstitutedLetterAnswersAsTheDriveItStandsOn) {
    const char letter = UnusedLetter();
    ASSERT_TRUE(kernel().DefineDosDeviceA(0, Name(letter).c_str(), "C:\\windows"));
    EXPECT_WINDOWS_ANSWER(kernel().GetDriveTypeA(Root(letter).c_str()), DRIVE_FIXED, DRIVE_NO_ROOT_DIR,
                          "Wine's drive type looks for the letter among its drives, not through the definition");
    ULONGLONG total = 0;
    EXPECT_WINDOWS_ANSWER(kernel().GetDiskFreeSpaceExA(Root(letter).c_str(), nullptr, &total, nullptr) != FALSE, true,
                          false, "Wine's file names do not follow a definition made at run time");
    kernel().DefineDosDeviceA(DDD_REMOVE_DEFINITION, Name(letter).c_str(), nullptr);
}

TEST_P(PlatformContract, DefinitionsStackAndAnExactRemovalTakesOnlyItsOwn) {
    const char letter = UnusedLetter();
    const std::string name = Name(letter);
    ASSERT_TRUE(kernel().DefineDosDeviceA(0, name.c_str(), "C:\\windows"));
    const bool second = kernel().DefineDosDeviceA(0, name.c_str(), "C:\\users") != FALSE;
    EXPECT_WINDOWS_ANSWER(second, true, false, "Wine refuses a second definition of a letter (ERROR_PATH_NOT_FOUND)");
    if (second) {
        // The newest first, then the one beneath it.
        const Mapping both = Query(kernel(), letter);
        EXPECT_EQ(both.names, (std::vector<std::string>{"\\??\\C:\\users", "\\??\\C:\\windows"}));
        // Both names with their zeros, and the list's closing zero.
        EXPECT_EQ(both.count, 12u + 1 + 14 + 1 + 1);
        EXPECT_TRUE(
            kernel().DefineDosDeviceA(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, name.c_str(), "C:\\users"));
    }
    // An exact removal of a target that is not defined fails and keeps the rest.
    const bool mismatch =
        kernel().DefineDosDeviceA(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, name.c_str(), "C:\\win") != FALSE;
    EXPECT_WINDOWS_ANSWER(mismatch, false, true, "Wine removes the letter's definition whatever the target given");
    if (!mismatch) {
        const Mapping left = Query(kernel(), letter);
        EXPECT_EQ(left.names, std::vector<std::string>{"\\??\\C:\\windows"});
    }
    kernel().DefineDosDeviceA(DDD_REMOVE_DEFINITION, name.c_str(), nullptr);
}

// ---- Volume paths ----

TEST_P(PlatformContract, AVolumePathOpensInEitherCaseAndClosesOnce) {
    for (const char* path : {"\\\\.\\C:", "\\\\.\\c:"}) {
        const HANDLE h = device().CreateFileA(path, 0, kReadShareBoth, nullptr, OPEN_EXISTING, 0, 0);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << path << ": " << device().GetLastError();
        EXPECT_TRUE(device().CloseHandle(h));
        device().SetLastError(0);
        EXPECT_FALSE(device().CloseHandle(h));
        EXPECT_EQ(device().GetLastError(), ERROR_INVALID_HANDLE);
    }
}

TEST_P(PlatformContract, TheVolumePathOfALetterWithoutADriveIsFileNotFound) {
    const std::string path = "\\\\.\\" + Name(UnusedLetter());
    device().SetLastError(0);
    EXPECT_EQ(device().CreateFileA(path.c_str(), 0, kReadShareBoth, nullptr, OPEN_EXISTING, 0, 0),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(device().GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_P(PlatformContract, OpensThatShareWhatTheOthersUseCoexist) {
    const HANDLE a = device().CreateFileA("\\\\.\\C:", GENERIC_READ, kReadShareBoth, nullptr, OPEN_EXISTING, 0, 0);
    ASSERT_NE(a, INVALID_HANDLE_VALUE) << device().GetLastError();
    const HANDLE b = device().CreateFileA("\\\\.\\C:", GENERIC_READ, kReadShareBoth, nullptr, OPEN_EXISTING, 0, 0);
    EXPECT_NE(b, INVALID_HANDLE_VALUE);
    // An open without data access takes no part in sharing.
    const HANDLE c = device().CreateFileA("\\\\.\\C:", 0, 0, nullptr, OPEN_EXISTING, 0, 0);
    EXPECT_NE(c, INVALID_HANDLE_VALUE);
    for (HANDLE h : {a, b, c}) {
        if (h != INVALID_HANDLE_VALUE) device().CloseHandle(h);
    }
}

constexpr const char* kWineShares = "Wine checks sharing only between opens of a file, not between opens of a volume";

TEST_P(PlatformContract, AnOpenThatSharesNothingKeepsOtherReadersOut) {
    const HANDLE only = device().CreateFileA("\\\\.\\C:", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, 0);
    ASSERT_NE(only, INVALID_HANDLE_VALUE) << device().GetLastError();
    device().SetLastError(0);
    const HANDLE other = device().CreateFileA("\\\\.\\C:", GENERIC_READ, kReadShareBoth, nullptr, OPEN_EXISTING, 0, 0);
    EXPECT_WINDOWS_ANSWER(other == INVALID_HANDLE_VALUE, true, false, kWineShares);
    if (other == INVALID_HANDLE_VALUE) {
        EXPECT_EQ(device().GetLastError(), ERROR_SHARING_VIOLATION);
    } else {
        device().CloseHandle(other);
    }
    device().CloseHandle(only);
}

TEST_P(PlatformContract, AnOpenThatWouldShareNothingWaitsForTheReadersToClose) {
    const HANDLE reader = device().CreateFileA("\\\\.\\C:", GENERIC_READ, kReadShareBoth, nullptr, OPEN_EXISTING, 0, 0);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE) << device().GetLastError();
    device().SetLastError(0);
    HANDLE only = device().CreateFileA("\\\\.\\C:", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, 0);
    EXPECT_WINDOWS_ANSWER(only == INVALID_HANDLE_VALUE, true, false, kWineShares);
    if (only == INVALID_HANDLE_VALUE) {
        EXPECT_EQ(device().GetLastError(), ERROR_SHARING_VIOLATION);
    } else {
        device().CloseHandle(only);
    }
    device().CloseHandle(reader);
    // Once the reader is gone the same open succeeds.
    only = device().CreateFileA("\\\\.\\C:", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, 0);
    EXPECT_NE(only, INVALID_HANDLE_VALUE) << device().GetLastError();
    if (only != INVALID_HANDLE_VALUE) device().CloseHandle(only);
}

// ---- Requests the device refuses ----

TEST_P(PlatformContract, ARequestNoDriverKnowsIsAnInvalidFunction) {
    const HANDLE h = device().CreateFileA("\\\\.\\C:", GENERIC_READ, kReadShareBoth, nullptr, OPEN_EXISTING, 0, 0);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << device().GetLastError();
    std::array<BYTE, 64> out{};
    DWORD returned = 99;
    device().SetLastError(0);
    EXPECT_FALSE(device().DeviceIoControl(h, kUnknownRequest, nullptr, 0, out.data(), 64, &returned, nullptr));
    EXPECT_WINDOWS_ANSWER(device().GetLastError(), ERROR_INVALID_FUNCTION, DWORD{50},
                          "Wine answers ERROR_NOT_SUPPORTED (50) where a Windows driver completes the request "
                          "with STATUS_INVALID_DEVICE_REQUEST");
    device().CloseHandle(h);
}

TEST_P(PlatformContract, ARequestOnAClosedHandleIsAnInvalidHandle) {
    const HANDLE h = device().CreateFileA("\\\\.\\C:", GENERIC_READ, kReadShareBoth, nullptr, OPEN_EXISTING, 0, 0);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << device().GetLastError();
    ASSERT_TRUE(device().CloseHandle(h));
    std::array<BYTE, 64> out{};
    DWORD returned = 0;
    for (DWORD code : {kUnknownRequest, IOCTL_STORAGE_QUERY_PROPERTY, IOCTL_STORAGE_GET_DEVICE_NUMBER}) {
        device().SetLastError(0);
        const auto query = Encode(StoragePropertyQuery{});
        EXPECT_FALSE(device().DeviceIoControl(h, code, query.data(), static_cast<DWORD>(query.size()), out.data(), 64,
                                              &returned, nullptr));
        EXPECT_EQ(device().GetLastError(), ERROR_INVALID_HANDLE) << code;
    }
}

TEST_P(PlatformContract, ARequestNeedingReadAndWriteIsRefusedOnAReadingHandle) {
    const HANDLE h = device().CreateFileA("\\\\.\\C:", GENERIC_READ, kReadShareBoth, nullptr, OPEN_EXISTING, 0, 0);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << device().GetLastError();
    std::vector<BYTE> data(36);
    PassThroughRequest inquiry;
    inquiry.cdbLength = 6;
    inquiry.dataTransferLength = 36;
    inquiry.dataBuffer = reinterpret_cast<std::uintptr_t>(data.data());
    inquiry.cdb[0] = 0x12;
    inquiry.cdb[4] = 36;
    PassThroughRecord record = Encode(inquiry);
    DWORD returned = 0;
    device().SetLastError(0);
    EXPECT_FALSE(device().DeviceIoControl(h, IOCTL_SCSI_PASS_THROUGH_DIRECT, record.data(),
                                          static_cast<DWORD>(record.size()), record.data(),
                                          static_cast<DWORD>(record.size()), &returned, nullptr));
    EXPECT_EQ(device().GetLastError(), ERROR_ACCESS_DENIED);
    device().CloseHandle(h);
}

TEST_P(PlatformContract, TheDeviceNumberNeedsRoomForTheWholeRecord) {
    const HANDLE h = device().CreateFileA("\\\\.\\C:", 0, kReadShareBoth, nullptr, OPEN_EXISTING, 0, 0);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << device().GetLastError();
    std::array<BYTE, 64> out{};
    DWORD returned = 0;
    ASSERT_TRUE(
        device().DeviceIoControl(h, IOCTL_STORAGE_GET_DEVICE_NUMBER, nullptr, 0, out.data(), 64, &returned, nullptr))
        << device().GetLastError();
    EXPECT_EQ(returned, storage_device_number::kSize);
    device().SetLastError(0);
    const bool shortOk = device().DeviceIoControl(h, IOCTL_STORAGE_GET_DEVICE_NUMBER, nullptr, 0, out.data(), 4,
                                                  &returned, nullptr) != FALSE;
    EXPECT_WINDOWS_ANSWER(shortOk, false, true, "Wine cuts the record to the buffer and succeeds");
    if (!shortOk) {
        EXPECT_EQ(device().GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    }
    device().CloseHandle(h);
}

// ---- The registry ----

class Key {
public:
    Key(Registry& registry, HKEY parent, const std::string& subKey) : registry_(registry) {
        result_ = registry.RegCreateKeyExA(parent, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                           nullptr, &key_, &disposition_);
    }
    ~Key() {
        if (result_ == ERROR_SUCCESS) registry_.RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    LONG result() const { return result_; }
    DWORD disposition() const { return disposition_; }
    HKEY get() const { return key_; }

private:
    Registry& registry_;
    HKEY key_ = 0;
    DWORD disposition_ = 0;
    LONG result_ = 0;
};

const std::string kScratch = kScratchKey;

TEST_P(PlatformContract, ACreatedKeyOpensAgainAsExisting) {
    {
        Key created(registry(), HKEY_CURRENT_USER, kScratch);
        ASSERT_EQ(created.result(), ERROR_SUCCESS);
        EXPECT_EQ(created.disposition(), REG_CREATED_NEW_KEY);
    }
    for (const std::string& path : {kScratch, kScratch + "\\", std::string("software\\tarnwellcontractcases")}) {
        Key again(registry(), HKEY_CURRENT_USER, path);
        ASSERT_EQ(again.result(), ERROR_SUCCESS) << path;
        EXPECT_EQ(again.disposition(), REG_OPENED_EXISTING_KEY) << path;
    }
}

TEST_P(PlatformContract, CreatingADeepKeyCreatesTheKeysOnTheWay) {
    {
        Key deep(registry(), HKEY_CURRENT_USER, kScratch + "\\Outer\\Inner");
        ASSERT_EQ(deep.result(), ERROR_SUCCESS);
        EXPECT_EQ(deep.disposition(), REG_CREATED_NEW_KEY);
    }
    Key outer(registry(), HKEY_CURRENT_USER, kScratch + "\\Outer");
    ASSERT_EQ(outer.result(), ERROR_SUCCESS);
    EXPECT_EQ(outer.disposition(), REG_OPENED_EXISTING_KEY);
    // A key below an open handle is the same key.
    Key inner(registry(), outer.get(), "Inner");
    ASSERT_EQ(inner.result(), ERROR_SUCCESS);
    EXPECT_EQ(inner.disposition(), REG_OPENED_EXISTING_KEY);
}

TEST_P(PlatformContract, ASubKeyStartingWithABackslashIsABadPathName) {
    HKEY key = 0;
    EXPECT_EQ(registry().RegCreateKeyExA(HKEY_CURRENT_USER, ("\\" + kScratch).c_str(), 0, nullptr,
                                         REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              161);  // ERROR_BAD_PATHNAME
}

TEST_P(PlatformContract, ValuesComeBackWithTheirTypeAndBytesByAnySpellingOfTheirName) {
    Key key(registry(), HKEY_CURRENT_USER, kScratch);
    ASSERT_EQ(key.result(), ERROR_SUCCESS);
    const DWORD number = 0x01020304;
    const std::array<BYTE, 5> bytes{0xde, 0xad, 0xbe, 0xef, 0x01};
    ASSERT_EQ(registry().RegSetValueExA(key.get(), "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4),
              ERROR_SUCCESS);
    ASSERT_EQ(registry().RegSetValueExA(key.get(), "Text", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 4),
              ERROR_SUCCESS);
    ASSERT_EQ(registry().RegSetValueExA(key.get(), "Bytes", 0, REG_BINARY, bytes.data(), 5), ERROR_SUCCESS);
    ASSERT_EQ(registry().RegSetValueExA(key.get(), "Empty", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);

    struct Expected {
        const char* name;
        DWORD type;
        std::vector<BYTE> data;
    };
    const Expected expected[] = {
        {"NUMBER", REG_DWORD, {0x04, 0x03, 0x02, 0x01}},
        {"text", REG_SZ, {'a', 'b', 'c', 0}},
        {"Bytes", REG_BINARY, {0xde, 0xad, 0xbe, 0xef, 0x01}},
        {"Empty", REG_BINARY, {}},
    };
    for (const auto& e : expected) {
        std::array<BYTE, 16> data{};
        DWORD type = 0, size = 16;
        ASSERT_EQ(registry().RegQueryValueExA(key.get(), e.name, nullptr, &type, data.data(), &size), ERROR_SUCCESS)
            << e.name;
        EXPECT_EQ(type, e.type) << e.name;
        EXPECT_EQ(std::vector<BYTE>(data.begin(), data.begin() + size), e.data) << e.name;
    }
    // Setting a value again replaces its type and data.
    ASSERT_EQ(registry().RegSetValueExA(key.get(), "number", 0, REG_BINARY, bytes.data(), 2), ERROR_SUCCESS);
    DWORD type = 0, size = 0;
    ASSERT_EQ(registry().RegQueryValueExA(key.get(), "Number", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(size, 2u);
}

TEST_P(PlatformContract, AValueTooLargeForTheBufferIsMoreDataWithTheSizeNeeded) {
    Key key(registry(), HKEY_CURRENT_USER, kScratch);
    ASSERT_EQ(key.result(), ERROR_SUCCESS);
    const std::array<BYTE, 8> blob{1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_EQ(registry().RegSetValueExA(key.get(), "Blob", 0, REG_BINARY, blob.data(), 8), ERROR_SUCCESS);
    // No buffer: the size alone.
    DWORD type = 0, size = 0;
    EXPECT_EQ(registry().RegQueryValueExA(key.get(), "Blob", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 8u);
    std::array<BYTE, 8> small{};
    type = 0;
    size = 4;
    EXPECT_EQ(registry().RegQueryValueExA(key.get(), "Blob", nullptr, &type, small.data(), &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(type, REG_BINARY);
    // A buffer without its size is refused.
    EXPECT_EQ(registry().RegQueryValueExA(key.get(), "Blob", nullptr, &type, small.data(), nullptr),
              ERROR_INVALID_PARAMETER);
}

TEST_P(PlatformContract, AValueThatIsNotThereIsFileNotFound) {
    Key key(registry(), HKEY_CURRENT_USER, kScratch);
    ASSERT_EQ(key.result(), ERROR_SUCCESS);
    DWORD type = 0, size = 4;
    std::array<BYTE, 4> data{};
    EXPECT_EQ(registry().RegQueryValueExA(key.get(), "NoSuchValue", nullptr, &type, data.data(), &size),
              ERROR_FILE_NOT_FOUND);
}

TEST_P(PlatformContract, AnOpenedKeyReadsWhatWasWrittenAndAMissingOneIsFileNotFound) {
    {
        Key key(registry(), HKEY_CURRENT_USER, kScratch);
        ASSERT_EQ(key.result(), ERROR_SUCCESS);
        const DWORD number = 42;
        ASSERT_EQ(
            registry().RegSetValueExA(key.get(), "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4),
            ERROR_SUCCESS);
    }
    HKEY opened = 0;
    ASSERT_EQ(registry().RegOpenKeyExA(HKEY_CURRENT_USER, kScratch.c_str(), 0, KEY_READ, &opened), ERROR_SUCCESS);
    DWORD number = 0, size = 4;
    EXPECT_EQ(registry().RegQueryValueExA(opened, "Number", nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(number, 42u);
    EXPECT_EQ(registry().RegCloseKey(opened), ERROR_SUCCESS);

    // Opening does not create: the key is still missing afterwards.
    const std::string missing = kScratch + "\\Missing";
    HKEY none = 0;
    EXPECT_EQ(registry().RegOpenKeyExA(HKEY_CURRENT_USER, missing.c_str(), 0, KEY_READ, &none), ERROR_FILE_NOT_FOUND);
    Key created(registry(), HKEY_CURRENT_USER, missing);
    ASSERT_EQ(created.result(), ERROR_SUCCESS);
    EXPECT_EQ(created.disposition(), REG_CREATED_NEW_KEY);
}

TEST_P(PlatformContract, ADeletedValueIsGoneAndItsNeighboursStay) {
    Key key(registry(), HKEY_CURRENT_USER, kScratch);
    ASSERT_EQ(key.result(), ERROR_SUCCESS);
    const DWORD number = 7;
    for (const char* name : {"Gone", "Stays"}) {
        ASSERT_EQ(registry().RegSetValueExA(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4),
                  ERROR_SUCCESS);
    }
    EXPECT_EQ(registry().RegDeleteValueA(key.get(), "GONE"), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(registry().RegQueryValueExA(key.get(), "Gone", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(registry().RegDeleteValueA(key.get(), "Gone"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(registry().RegQueryValueExA(key.get(), "Stays", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
}

TEST_P(PlatformContract, AClosedKeyIsAnInvalidHandleForEveryCall) {
    HKEY key = 0;
    ASSERT_EQ(registry().RegCreateKeyExA(HKEY_CURRENT_USER, kScratch.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                         KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(registry().RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(registry().RegCloseKey(key), ERROR_INVALID_HANDLE);
    DWORD size = 0;
    const DWORD one = 1;
    EXPECT_EQ(registry().RegQueryValueExA(key, "Any", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
    EXPECT_EQ(registry().RegSetValueExA(key, "Any", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4),
              ERROR_INVALID_HANDLE);
    HKEY below = 0;
    EXPECT_EQ(registry().RegCreateKeyExA(key, "Below", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                         &below, nullptr),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(registry().RegOpenKeyExA(key, "", 0, KEY_READ, &below), ERROR_INVALID_HANDLE);
    EXPECT_EQ(registry().RegDeleteValueA(key, "Any"), ERROR_INVALID_HANDLE);
}

}  // namespace
}  // namespace tw::contract
