// Reads a machine description (docs/machine-format.md). Unknown keys are
// refused so that a misspelt field does not silently fall back to a default.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include <nlohmann/json.hpp>

#include "platform/health_records.h"
#include "platform/printable.h"
#include "platform/sim/scsi_target.h"
#include "platform/sim/state.h"

namespace tw::sim {

namespace {

using platform::Printable;

using json = nlohmann::json;

struct Named {
    const char* name;
    DWORD value;
};

constexpr Named kErrorNames[] = {
    {"ERROR_SUCCESS", ERROR_SUCCESS},
    {"ERROR_INVALID_FUNCTION", ERROR_INVALID_FUNCTION},
    {"ERROR_NO_MEDIA_IN_DRIVE", ERROR_NO_MEDIA_IN_DRIVE},
    {"ERROR_IO_DEVICE", ERROR_IO_DEVICE},
    {"ERROR_FILE_NOT_FOUND", ERROR_FILE_NOT_FOUND},
    {"ERROR_PATH_NOT_FOUND", ERROR_PATH_NOT_FOUND},
    {"ERROR_ACCESS_DENIED", ERROR_ACCESS_DENIED},
    {"ERROR_INVALID_HANDLE", ERROR_INVALID_HANDLE},
    {"ERROR_INVALID_DRIVE", ERROR_INVALID_DRIVE},
    {"ERROR_WRITE_PROTECT", ERROR_WRITE_PROTECT},
    {"ERROR_FILE_EXISTS", ERROR_FILE_EXISTS},
    {"ERROR_DISK_FULL", ERROR_DISK_FULL},
    {"ERROR_ALREADY_EXISTS", ERROR_ALREADY_EXISTS},
    {"ERROR_NOT_READY", ERROR_NOT_READY},
    {"ERROR_SHARING_VIOLATION", ERROR_SHARING_VIOLATION},
    {"ERROR_GEN_FAILURE", ERROR_GEN_FAILURE},
    {"ERROR_BAD_NETPATH", ERROR_BAD_NETPATH},
    {"ERROR_DEV_NOT_EXIST", ERROR_DEV_NOT_EXIST},
    {"ERROR_INVALID_PARAMETER", ERROR_INVALID_PARAMETER},
    {"ERROR_NOT_SUPPORTED", ERROR_NOT_SUPPORTED},
    {"ERROR_CALL_NOT_IMPLEMENTED", ERROR_CALL_NOT_IMPLEMENTED},
    {"ERROR_UNRECOGNIZED_VOLUME", ERROR_UNRECOGNIZED_VOLUME},
    {"ERROR_BAD_DEVICE", ERROR_BAD_DEVICE},
    {"ERROR_CONNECTION_UNAVAIL", ERROR_CONNECTION_UNAVAIL},
    {"ERROR_NO_NETWORK", ERROR_NO_NETWORK},
    {"ERROR_NOT_CONNECTED", ERROR_NOT_CONNECTED},
    {"ERROR_NOT_ENOUGH_MEMORY", ERROR_NOT_ENOUGH_MEMORY},
    {"ERROR_BAD_FORMAT", ERROR_BAD_FORMAT},
    {"ERROR_OUTOFMEMORY", ERROR_OUTOFMEMORY},
    {"ERROR_NO_ASSOCIATION", ERROR_NO_ASSOCIATION},
    {"ERROR_DDE_FAIL", ERROR_DDE_FAIL},
    {"ERROR_DLL_NOT_FOUND", ERROR_DLL_NOT_FOUND},
    {"ERROR_EXTENDED_ERROR", ERROR_EXTENDED_ERROR},
    {"ERROR_CANCELLED", ERROR_CANCELLED},
    {"E_NOTIMPL", static_cast<DWORD>(E_NOTIMPL)},
    {"DISP_E_UNKNOWNNAME", static_cast<DWORD>(DISP_E_UNKNOWNNAME)},
    {"DISP_E_EXCEPTION", static_cast<DWORD>(DISP_E_EXCEPTION)},
    {"REGDB_E_CLASSNOTREG", static_cast<DWORD>(REGDB_E_CLASSNOTREG)},
    {"CO_E_CLASSSTRING", static_cast<DWORD>(CO_E_CLASSSTRING)},
};

// The requests a description may refuse.
constexpr SimCall kShellCalls[] = {
    SimCall::ShellExecuteA,        SimCall::ShellExecuteExA,        SimCall::WinExec,     SimCall::WNetConnectionDialog,
    SimCall::WNetDisconnectDialog, SimCall::CreateAutomationObject, SimCall::InvokeMethod};

// The calls a drive's "raises" may name: those that take the drive's path.
constexpr SimCall kRaisingCalls[] = {SimCall::GetDriveTypeA,       SimCall::GetVolumeInformationA,
                                     SimCall::GetDiskFreeSpaceExA, SimCall::GetDiskFreeSpaceA,
                                     SimCall::WNetGetConnectionA,  SimCall::QueryDosDeviceA};

// `name`'s call when it is one of `allowed`.
template <std::size_t N>
std::optional<SimCall> OneOf(const std::string& name, const SimCall (&allowed)[N]) {
    const std::optional<SimCall> call = FindCall(name);
    if (!call || std::find(std::begin(allowed), std::end(allowed), *call) == std::end(allowed)) return std::nullopt;
    return call;
}

constexpr Named kDriveTypes[] = {
    {"DRIVE_UNKNOWN", DRIVE_UNKNOWN}, {"DRIVE_NO_ROOT_DIR", DRIVE_NO_ROOT_DIR}, {"DRIVE_REMOVABLE", DRIVE_REMOVABLE},
    {"DRIVE_FIXED", DRIVE_FIXED},     {"DRIVE_REMOTE", DRIVE_REMOTE},           {"DRIVE_CDROM", DRIVE_CDROM},
    {"DRIVE_RAMDISK", DRIVE_RAMDISK},
};

constexpr Named kBusTypes[] = {
    {"BusTypeUnknown", BusTypeUnknown}, {"BusTypeScsi", BusTypeScsi}, {"BusTypeAtapi", BusTypeAtapi},
    {"BusTypeAta", BusTypeAta},         {"BusType1394", BusType1394}, {"BusTypeSsa", BusTypeSsa},
    {"BusTypeFibre", BusTypeFibre},     {"BusTypeUsb", BusTypeUsb},   {"BusTypeRAID", BusTypeRAID},
    {"BusTypeSas", BusTypeSas},         {"BusTypeSata", BusTypeSata}, {"BusTypeNvme", BusTypeNvme},
};

constexpr Named kScsiCommands[] = {
    {"TEST_UNIT_READY", kTestUnitReady},       {"INQUIRY", kInquiry},
    {"GET_CONFIGURATION", kGetConfiguration},  {"MODE_SENSE_10", kModeSense10},
    {"READ_DVD_STRUCTURE", kReadDvdStructure},
};

constexpr Named kRegTypes[] = {
    {"REG_NONE", REG_NONE},     {"REG_SZ", REG_SZ},       {"REG_EXPAND_SZ", REG_EXPAND_SZ},
    {"REG_BINARY", REG_BINARY}, {"REG_DWORD", REG_DWORD}, {"REG_MULTI_SZ", REG_MULTI_SZ},
    {"REG_QWORD", REG_QWORD},
};

class Reader {
public:
    explicit Reader(std::string origin) : origin_(std::move(origin)) {}

    [[noreturn]] void Fail(const std::string& where, const std::string& what) const {
        throw MachineFormatError(Printable(origin_ + ": " + (where.empty() ? "" : where + ": ") + what));
    }

    void OnlyKeys(const json& obj, const std::string& where, std::initializer_list<const char*> allowed) const {
        if (!obj.is_object()) Fail(where, "expected an object");
        std::set<std::string> ok(allowed.begin(), allowed.end());
        for (const auto& item : obj.items()) {
            if (!ok.count(item.key())) Fail(where, "unknown field \"" + item.key() + "\"");
        }
    }

    std::string Text(const json& v, const std::string& where) const {
        if (!v.is_string()) Fail(where, "expected a string");
        return v.get<std::string>();
    }

    ULONGLONG Number(const json& v, const std::string& where, ULONGLONG max) const {
        if (!v.is_number_unsigned() && !(v.is_number_integer() && v.get<long long>() >= 0)) {
            Fail(where, "expected a whole number from 0");
        }
        auto n = v.get<ULONGLONG>();
        if (n > max) Fail(where, "number too large");
        return n;
    }

    DWORD Dword(const json& v, const std::string& where) const {
        return static_cast<DWORD>(Number(v, where, 0xFFFFFFFFu));
    }

    // Reads the field `key` of `j`, when there is one, with `read` (Text,
    // Flag, Error, ...) into `out`, which otherwise keeps its default.
    template <typename T, typename Read>
    void Optional(const json& j, const std::string& where, const char* key, T& out, Read read) const {
        if (j.contains(key)) out = (this->*read)(j[key], where + "." + key);
    }

    DWORD NamedNumber(const json& v, const std::string& where, const Named* table, size_t count) const {
        if (v.is_string()) {
            for (size_t i = 0; i < count; ++i) {
                if (v.get<std::string>() == table[i].name) return table[i].value;
            }
            Fail(where, "unknown name \"" + v.get<std::string>() + "\"");
        }
        return Dword(v, where);
    }

    DWORD Error(const json& v, const std::string& where) const {
        DWORD e = NamedNumber(v, where, kErrorNames, std::size(kErrorNames));
        if (e == ERROR_SUCCESS) Fail(where, "an error code must not be 0");
        return e;
    }

    DWORD HexOrNumber(const json& v, const std::string& where) const {
        if (v.is_string()) {
            const std::string s = v.get<std::string>();
            if (s.empty() || s.size() > 8 || s.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
                Fail(where, "expected up to 8 hexadecimal digits");
            }
            return static_cast<DWORD>(std::stoul(s, nullptr, 16));
        }
        return Dword(v, where);
    }

    std::vector<BYTE> Hex(const std::string& s, const std::string& where) const {
        std::string digits;
        for (char c : s) {
            if (c == ' ') continue;
            if (!std::isxdigit(static_cast<unsigned char>(c))) Fail(where, "expected hexadecimal bytes");
            digits += c;
        }
        if (digits.size() % 2) Fail(where, "odd number of hexadecimal digits");
        std::vector<BYTE> out;
        for (size_t i = 0; i < digits.size(); i += 2) {
            out.push_back(static_cast<BYTE>(std::stoul(digits.substr(i, 2), nullptr, 16)));
        }
        return out;
    }

    void Drive(const std::string& key, const json& j, SimDrive& d) const {
        const std::string where = "drives." + key;
        if (key.size() != 1 || !((key[0] >= 'A' && key[0] <= 'Z'))) {
            Fail(where, "a drive is named by one upper-case letter A to Z");
        }
        OnlyKeys(j, where,
                 {"type", "present", "volume", "space", "connection", "dos_device", "define_error", "raises", "device",
                  "io", "comment"});
        d.letter = key[0];
        if (j.contains("type")) d.type = NamedNumber(j["type"], where + ".type", kDriveTypes, std::size(kDriveTypes));
        if (j.contains("present")) {
            if (!j["present"].is_boolean()) Fail(where + ".present", "expected true or false");
            d.present = j["present"].get<bool>();
        }
        if (!j.contains("type") && !d.present) d.type = DRIVE_NO_ROOT_DIR;
        d.volume.error = ERROR_UNRECOGNIZED_VOLUME;
        if (j.contains("volume")) Volume(j["volume"], where + ".volume", d);
        d.space.error = ERROR_NOT_READY;
        if (j.contains("space")) Space(j["space"], where + ".space", d);
        d.connection.error = ERROR_NOT_CONNECTED;
        if (j.contains("connection")) {
            const json& c = j["connection"];
            if (c.is_string()) {
                d.connection.value = c.get<std::string>();
            } else {
                OnlyKeys(c, where + ".connection", {"error"});
                if (!c.contains("error")) Fail(where + ".connection", "expected a remote name or an error");
                d.connection.error = Error(c["error"], where + ".connection.error");
            }
        }
        Optional(j, where, "dos_device", d.dosDevice, &Reader::Text);
        Optional(j, where, "define_error", d.defineError, &Reader::Error);
        if (j.contains("raises")) {
            if (!j["raises"].is_object()) Fail(where + ".raises", "expected an object");
            for (const auto& item : j["raises"].items()) {
                if (!OneOf(item.key(), kRaisingCalls)) Fail(where + ".raises", "unknown field \"" + item.key() + "\"");
            }
            for (const auto& item : j["raises"].items()) {
                d.raises[*FindCall(item.key())] = Text(item.value(), where + ".raises." + item.key());
            }
        }
        if (j.contains("device")) Device(j["device"], where + ".device", d.device.emplace());
        if (j.contains("io")) Io(j["io"], where + ".io", d.io);
    }

    void Io(const json& j, const std::string& where, SimIo& io) const {
        OnlyKeys(j, where, {"read_mb_s", "write_mb_s", "access_us", "write_error_after", "write_error"});
        auto rate = [&](const char* key, DWORD& out) {
            if (!j.contains(key)) return;
            out = static_cast<DWORD>(Number(j[key], where + "." + key, 0xFFFFFFFFu));
            if (out == 0) Fail(where + "." + key, "a rate is at least 1");
        };
        rate("read_mb_s", io.readMBs);
        rate("write_mb_s", io.writeMBs);
        if (j.contains("access_us")) {
            io.accessMicroseconds = static_cast<DWORD>(Number(j["access_us"], where + ".access_us", 0xFFFFFFFFu));
            if (io.accessMicroseconds == 0) Fail(where + ".access_us", "an access takes at least 1");
        }
        if (j.contains("write_error_after")) {
            io.writeErrorAfter = Number(j["write_error_after"], where + ".write_error_after", ~ULONGLONG{0});
        }
        Optional(j, where, "write_error", io.writeError, &Reader::Error);
    }

    // A check script: a list of steps, each one of {"progress": N},
    // {"output": "text"}, {"volume_in_use": true}, {"done": true|false}.
    std::vector<CheckStep> CheckScript(const json& j, const std::string& where) const {
        if (!j.is_array()) Fail(where, "expected a list of steps");
        std::vector<CheckStep> steps;
        for (size_t i = 0; i < j.size(); ++i) {
            const json& s = j[i];
            const std::string w = where + "." + std::to_string(i);
            OnlyKeys(s, w, {"progress", "output", "volume_in_use", "done"});
            if (s.size() != 1) Fail(w, "a step is one of progress, output, volume_in_use, done");
            CheckStep step;
            if (s.contains("progress")) {
                step.kind = CheckStep::Kind::Progress;
                step.percent = static_cast<DWORD>(Number(s["progress"], w + ".progress", 100));
            } else if (s.contains("output")) {
                step.kind = CheckStep::Kind::Output;
                step.text = Text(s["output"], w + ".output");
            } else if (s.contains("volume_in_use")) {
                step.kind = CheckStep::Kind::VolumeInUse;
                Flag(s["volume_in_use"], w + ".volume_in_use");
            } else {
                step.kind = CheckStep::Kind::Done;
                step.sound = Flag(s["done"], w + ".done");
            }
            steps.push_back(std::move(step));
        }
        return steps;
    }

    void Fmifs(const json& j, SimFmifs& f) const {
        OnlyKeys(j, "fmifs", {"check_entry", "drives", "comment"});
        f.present = true;
        Optional(j, "fmifs", "check_entry", f.checkEntry, &Reader::Flag);
        if (!j.contains("drives")) return;
        if (!j["drives"].is_object()) Fail("fmifs.drives", "expected an object");
        for (const auto& item : j["drives"].items()) {
            const std::string w = "fmifs.drives." + item.key();
            if (item.key().size() != 1 || item.key()[0] < 'A' || item.key()[0] > 'Z') {
                Fail(w, "a drive is named by one upper-case letter A to Z");
            }
            OnlyKeys(item.value(), w, {"check", "fix"});
            const char letter = item.key()[0];
            if (item.value().contains("check")) f.checks[letter] = CheckScript(item.value()["check"], w + ".check");
            if (item.value().contains("fix")) f.fixes[letter] = CheckScript(item.value()["fix"], w + ".fix");
        }
    }

    bool Flag(const json& v, const std::string& where) const {
        if (!v.is_boolean()) Fail(where, "expected true or false");
        return v.get<bool>();
    }

    void Device(const json& j, const std::string& where, SimDevice& d) const {
        OnlyKeys(j, where,
                 {"open_error", "in_use", "scsi", "storage", "eject_error", "load_error", "lock_error", "physical_disk",
                  "partition", "comment"});
        Optional(j, where, "open_error", d.openError, &Reader::Error);
        Optional(j, where, "in_use", d.inUse, &Reader::Flag);
        Optional(j, where, "eject_error", d.ejectError, &Reader::Error);
        Optional(j, where, "load_error", d.loadError, &Reader::Error);
        Optional(j, where, "lock_error", d.lockError, &Reader::Error);
        if (j.contains("physical_disk")) {
            d.physicalDisk = static_cast<DWORD>(Number(j["physical_disk"], where + ".physical_disk", 255));
        }
        if (j.contains("partition")) {
            if (!d.physicalDisk) Fail(where + ".partition", "a partition needs the physical_disk it is on");
            d.partition = static_cast<DWORD>(Number(j["partition"], where + ".partition", 127));
        }
        d.storage.error = ERROR_INVALID_FUNCTION;
        if (j.contains("storage")) {
            const json& s = j["storage"];
            const std::string sw = where + ".storage";
            OnlyKeys(s, sw, {"bus_type", "removable_media", "error"});
            if (s.contains("error")) {
                if (s.size() != 1) Fail(sw, "an error answer has no other fields");
                d.storage.error = Error(s["error"], sw + ".error");
            } else {
                DeviceDescriptor desc;
                if (s.contains("bus_type")) {
                    desc.busType = NamedNumber(s["bus_type"], sw + ".bus_type", kBusTypes, std::size(kBusTypes));
                }
                if (s.contains("removable_media"))
                    desc.removableMedia = Flag(s["removable_media"], sw + ".removable_media");
                d.storage.value = desc;
            }
        }
        if (j.contains("scsi")) Scsi(j["scsi"], where + ".scsi", d.scsi.emplace());
    }

    // A reply given as hexadecimal bytes, or built from an object's fields.
    template <class Build>
    std::vector<BYTE> Reply(const json& v, const std::string& where, Build build) const {
        if (v.is_string()) return Hex(v.get<std::string>(), where);
        return build(v);
    }

    void Scsi(const json& j, const std::string& where, ScsiTarget& t) const {
        OnlyKeys(j, where,
                 {"inquiry", "configuration", "capabilities", "dvd_structure", "medium", "not_ready", "fail",
                  "admin_only", "comment"});
        t.replies[kInquiry] = Reply(j.value("inquiry", json::object()), where + ".inquiry", [&](const json& v) {
            const std::string w = where + ".inquiry";
            OnlyKeys(v, w, {"device_type", "vendor", "product", "revision", "vendor_specific"});
            InquiryFields f;
            if (v.contains("device_type")) f.deviceType = static_cast<BYTE>(Number(v["device_type"], w, 0x1F));
            Optional(v, w, "vendor", f.vendor, &Reader::Text);
            Optional(v, w, "product", f.product, &Reader::Text);
            Optional(v, w, "revision", f.revision, &Reader::Text);
            Optional(v, w, "vendor_specific", f.vendorSpecific, &Reader::Text);
            if (f.vendor.size() > 8 || f.product.size() > 16 || f.revision.size() > 4 || f.vendorSpecific.size() > 20) {
                Fail(w, "vendor, product, revision and vendor_specific hold at most 8, 16, 4 and 20 characters");
            }
            return InquiryReply(f);
        });
        WORD current = 0;
        t.replies[kGetConfiguration] =
            Reply(j.value("configuration", json::object()), where + ".configuration", [&](const json& v) {
                const std::string w = where + ".configuration";
                OnlyKeys(v, w, {"current_profile", "profiles"});
                Optional(v, w, "current_profile", current, &Reader::Word);
                std::vector<WORD> profiles;
                if (v.contains("profiles")) {
                    if (!v["profiles"].is_array()) Fail(w + ".profiles", "expected a list of profiles");
                    for (const json& p : v["profiles"]) profiles.push_back(Word(p, w + ".profiles"));
                } else {
                    profiles.push_back(current);
                }
                return ConfigurationReply(current, profiles);
            });
        t.replies[kModeSense10] =
            Reply(j.value("capabilities", json::object()), where + ".capabilities", [&](const json& v) {
                const std::string w = where + ".capabilities";
                OnlyKeys(v, w, {"read", "write", "buffer_kb", "max_read_speed", "max_write_speed"});
                CapabilityFields f;
                auto byte = [&](const char* k) {
                    return v.contains(k) ? static_cast<BYTE>(Bits(v[k], w + "." + k)) : 0;
                };
                auto word = [&](const char* k) { return v.contains(k) ? Word(v[k], w + "." + k) : WORD{0}; };
                f.read = byte("read");
                f.write = byte("write");
                f.bufferKb = word("buffer_kb");
                f.maxReadSpeed = word("max_read_speed");
                f.maxWriteSpeed = word("max_write_speed");
                return CapabilitiesReply(f);
            });
        // A DVD medium answers its physical format; another medium has none.
        if (j.contains("dvd_structure")) {
            t.replies[kReadDvdStructure] = Hex(Text(j["dvd_structure"], where + ".dvd_structure"), where);
        } else if (current >= 0x10 && current <= 0x2F) {
            t.replies[kReadDvdStructure] = DvdPhysicalFormatReply(0x01);
        }
        if (j.contains("medium")) {
            const json& m = j["medium"];
            if (!m.is_string() || (m.get<std::string>() != "present" && m.get<std::string>() != "absent")) {
                Fail(where + ".medium", "expected \"present\" or \"absent\"");
            }
            t.medium = m.get<std::string>() == "present";
        }
        if (j.contains("not_ready")) {
            const json& n = j["not_ready"];
            if (n.is_string() && n.get<std::string>() == "always") {
                t.notReady = -1;
            } else {
                t.notReady = static_cast<int>(Number(n, where + ".not_ready", 1000000));
            }
        }
        if (j.contains("fail")) {
            OnlyKeys(j["fail"], where + ".fail",
                     {"TEST_UNIT_READY", "INQUIRY", "GET_CONFIGURATION", "MODE_SENSE_10", "READ_DVD_STRUCTURE"});
            for (const auto& item : j["fail"].items()) {
                const BYTE opcode =
                    static_cast<BYTE>(NamedNumber(json(item.key()), where, kScsiCommands, std::size(kScsiCommands)));
                const DWORD error = Error(item.value(), where + ".fail." + item.key());
                // The drive's own answer comes back in a request that is done.
                if (error == ERROR_NOT_READY || error == ERROR_NO_MEDIA_IN_DRIVE) {
                    Fail(where + ".fail." + item.key(),
                         "a drive without a disc, or not ready yet, does not fail pass-through: give \"medium\": "
                         "\"absent\" or \"not_ready\"");
                }
                t.failures[opcode] = error;
            }
        }
        Optional(j, where, "admin_only", t.adminOnly, &Reader::Flag);
    }

    // 16 bits: a number or hexadecimal digits ("0011").
    WORD Word(const json& v, const std::string& where) const {
        const DWORD n = HexOrNumber(v, where);
        if (n > 0xFFFF) Fail(where, "number too large");
        return static_cast<WORD>(n);
    }

    BYTE Bits(const json& v, const std::string& where) const {
        const DWORD n = HexOrNumber(v, where);
        if (n > 0xFF) Fail(where, "number too large");
        return static_cast<BYTE>(n);
    }

    // ---- Physical disks ----

    // Hexadecimal bytes in one string or in a list of strings (lines), at
    // most `most` of them.
    std::vector<BYTE> HexLines(const json& v, const std::string& where, std::size_t most,
                               const std::string& tooLong) const {
        std::string text;
        if (v.is_string()) {
            text = v.get<std::string>();
        } else {
            for (const json& line : v) text += Text(line, where);
        }
        std::vector<BYTE> bytes = Hex(text, where);
        if (bytes.size() > most) Fail(where, tooLong);
        return bytes;
    }

    std::vector<BYTE> SectorHex(const json& v, const std::string& where) const {
        return HexLines(v, where, smart_reply::kSectorSize, "a sector holds at most 512 bytes");
    }

    bool IsHexLines(const json& v) const { return v.is_string() || (v.is_array() && (v.empty() || v[0].is_string())); }

    SmartFailure Failure(const json& j, const std::string& where) const {
        OnlyKeys(j, where, {"error", "driver_error", "ide_error", "raises"});
        SmartFailure f;
        Optional(j, where, "error", f.error, &Reader::Error);
        Optional(j, where, "driver_error", f.driverError, &Reader::Bits);
        Optional(j, where, "ide_error", f.ideError, &Reader::Bits);
        Optional(j, where, "raises", f.raises, &Reader::Text);
        return f;
    }

    void Ide(const json& j, const std::string& where, IdeDevice& d) const {
        OnlyKeys(j, where, {"atapi", "smart", "identify", "attributes", "thresholds", "fail", "verdict", "comment"});
        Optional(j, where, "atapi", d.atapi, &Reader::Flag);
        if (j.contains("verdict")) {
            const std::string verdict = Text(j["verdict"], where + ".verdict");
            if (verdict != "passed" && verdict != "threshold exceeded") {
                Fail(where + ".verdict", "expected \"passed\" or \"threshold exceeded\"");
            }
            d.thresholdExceeded = verdict == "threshold exceeded";
        }
        if (j.contains("smart")) {
            const std::string smart = Text(j["smart"], where + ".smart");
            if (smart != "enabled" && smart != "disabled" && smart != "unsupported") {
                Fail(where + ".smart", "expected \"enabled\", \"disabled\" or \"unsupported\"");
            }
            d.smartEnabled = smart == "enabled";
            d.smartSupported = smart != "unsupported";
        }
        const json identify = j.value("identify", json::object());
        if (IsHexLines(identify)) {
            d.identify = SectorHex(identify, where + ".identify");
        } else {
            const std::string w = where + ".identify";
            OnlyKeys(identify, w, {"model", "serial", "firmware", "sectors", "lba48", "word47"});
            IdentifyFields f;
            Optional(identify, w, "model", f.model, &Reader::Text);
            Optional(identify, w, "serial", f.serial, &Reader::Text);
            Optional(identify, w, "firmware", f.firmware, &Reader::Text);
            if (f.model.size() > 40 || f.serial.size() > 20 || f.firmware.size() > 8) {
                Fail(w, "model, serial and firmware hold at most 40, 20 and 8 characters");
            }
            if (identify.contains("sectors")) f.sectors = Number(identify["sectors"], w + ".sectors", (1ull << 48) - 1);
            Optional(identify, w, "lba48", f.lba48, &Reader::Flag);
            Optional(identify, w, "word47", f.word47, &Reader::Word);
            d.identify = IdentifySector(f);
        }
        const json attributes = j.value("attributes", json::array());
        std::vector<AttributeFields> fields;
        if (IsHexLines(attributes) && !(attributes.is_array() && attributes.empty())) {
            d.attributes = SectorHex(attributes, where + ".attributes");
        } else {
            if (!attributes.is_array())
                Fail(where + ".attributes", "expected hexadecimal bytes or a list of attributes");
            if (attributes.size() > 30) Fail(where + ".attributes", "a disk has at most 30 attributes");
            for (const json& a : attributes) {
                const std::string w = where + ".attributes";
                OnlyKeys(a, w, {"id", "flags", "current", "worst", "raw", "threshold"});
                if (!a.contains("id")) Fail(w, "an attribute needs \"id\"");
                AttributeFields f;
                f.id = static_cast<BYTE>(Number(a["id"], w + ".id", 255));
                Optional(a, w, "flags", f.flags, &Reader::Word);
                if (a.contains("current")) f.current = static_cast<BYTE>(Number(a["current"], w + ".current", 255));
                if (a.contains("worst")) f.worst = static_cast<BYTE>(Number(a["worst"], w + ".worst", 255));
                if (a.contains("raw")) f.raw = Number(a["raw"], w + ".raw", (1ull << 48) - 1);
                if (a.contains("threshold"))
                    f.threshold = static_cast<BYTE>(Number(a["threshold"], w + ".threshold", 255));
                fields.push_back(f);
            }
            d.attributes = AttributeSector(fields);
        }
        d.thresholds =
            j.contains("thresholds") ? SectorHex(j["thresholds"], where + ".thresholds") : ThresholdSector(fields);
        if (j.contains("fail")) {
            OnlyKeys(j["fail"], where + ".fail", {"enable", "identify", "attributes", "thresholds"});
            constexpr std::pair<const char*, SmartStep> kSteps[] = {{"enable", SmartStep::kEnable},
                                                                    {"identify", SmartStep::kIdentify},
                                                                    {"attributes", SmartStep::kAttributes},
                                                                    {"thresholds", SmartStep::kThresholds}};
            for (const auto& [name, step] : kSteps) {
                if (j["fail"].contains(name)) d.failures[step] = Failure(j["fail"][name], where + ".fail." + name);
            }
        }
    }

    void Disk(const json& j, const std::string& where, PhysicalDisk& d) const {
        OnlyKeys(j, where,
                 {"open_error", "version_error", "devices", "bus", "answers", "administrator_only", "bridge_registers",
                  "nvme", "health_errors", "comment"});
        Optional(j, where, "open_error", d.openError, &Reader::Error);
        Optional(j, where, "version_error", d.versionError, &Reader::Error);
        HealthRoutes(j, where, d);
        if (!j.contains("devices")) return;
        if (!j["devices"].is_object()) Fail(where + ".devices", "expected an object");
        for (const auto& item : j["devices"].items()) {
            const std::string& key = item.key();
            if (key.size() != 1 || key[0] < '0' || key[0] > '3') Fail(where + ".devices." + key, "a device is 0 to 3");
            Ide(item.value(), where + ".devices." + key, d.devices[key[0] - '0']);
        }
    }

    // The bus and the health routes a disk answers; by default those its bus
    // has (an ATA or SATA disk the driver's requests and ATA pass-through, a
    // USB disk the 16- and 12-byte wrappers, an NVMe disk stornvme's queries).
    void HealthRoutes(const json& j, const std::string& where, PhysicalDisk& d) const {
        constexpr std::pair<const char*, DWORD> kBuses[] = {{"ATA", BusTypeAta},
                                                            {"SATA", BusTypeSata},
                                                            {"USB", BusTypeUsb},
                                                            {"SCSI", BusTypeScsi},
                                                            {"NVMe", BusTypeNvme}};
        std::string bus;
        if (j.contains("bus")) {
            bus = Text(j["bus"], where + ".bus");
            auto found =
                std::find_if(std::begin(kBuses), std::end(kBuses), [&](const auto& b) { return bus == b.first; });
            if (found == std::end(kBuses))
                Fail(where + ".bus", "expected \"ATA\", \"SATA\", \"USB\", \"SCSI\" or \"NVMe\"");
            d.busType = found->second;
        }
        std::set<std::string> answers;
        if (j.contains("answers")) {
            if (!j["answers"].is_array()) Fail(where + ".answers", "expected a list");
            for (const json& a : j["answers"]) {
                const std::string route = Text(a, where + ".answers");
                if (route != "smart" && route != "ata" && route != "sat16" && route != "sat12" && route != "nvme") {
                    Fail(where + ".answers", "expected \"smart\", \"ata\", \"sat16\", \"sat12\" or \"nvme\"");
                }
                answers.insert(route);
            }
        } else if (bus == "USB" || bus == "SCSI") {
            answers = {"sat16", "sat12"};
        } else if (bus == "NVMe") {
            answers = {"nvme"};
        } else {
            answers = {"smart", "ata"};
        }
        d.smartDriver = answers.count("smart") != 0;
        d.ataPassThrough = answers.count("ata") != 0;
        d.sat16 = answers.count("sat16") != 0;
        d.sat12 = answers.count("sat12") != 0;
        Optional(j, where, "administrator_only", d.administratorOnly, &Reader::Flag);
        Optional(j, where, "bridge_registers", d.bridgeRegisters, &Reader::Flag);
        if (j.contains("health_errors")) {
            const std::string w = where + ".health_errors";
            OnlyKeys(j["health_errors"], w, {"bus_query", "ata_pass_through", "scsi_pass_through", "nvme_query"});
            constexpr std::pair<const char*, HealthCall> kCalls[] = {
                {"bus_query", HealthCall::kBusQuery},
                {"ata_pass_through", HealthCall::kAtaPassThrough},
                {"scsi_pass_through", HealthCall::kScsiPassThrough},
                {"nvme_query", HealthCall::kNvmeQuery}};
            for (const auto& [name, call] : kCalls) {
                if (j["health_errors"].contains(name))
                    d.healthErrors[call] = Error(j["health_errors"][name], w + "." + name);
            }
        }
        if (answers.count("nvme")) {
            NvmeController& c = d.nvme.emplace();
            const json nvme = j.value("nvme", json::object());
            OnlyKeys(nvme, where + ".nvme", {"identify", "log", "comment"});
            c.identify = NvmeIdentify(nvme.value("identify", json::object()), where + ".nvme.identify");
            c.healthLog = NvmeLog(nvme.value("log", json::object()), where + ".nvme.log");
        } else if (j.contains("nvme")) {
            Fail(where + ".nvme", "only a disk that answers \"nvme\" has NVMe pages");
        }
    }

    // A 16-byte counter: a whole number, or decimal digits as text for one
    // past 2^64.
    std::array<BYTE, 16> Counter(const json& v, const std::string& where) const {
        std::string digits;
        if (v.is_string()) {
            digits = v.get<std::string>();
        } else {
            digits = std::to_string(Number(v, where, ~0ull));
        }
        const auto bytes = CounterBytes(digits);
        if (!bytes) Fail(where, "expected a whole number below 2^128");
        return *bytes;
    }

    std::vector<BYTE> PageHex(const json& v, const std::string& where, std::size_t most) const {
        return HexLines(v, where, most, "the page holds at most " + std::to_string(most) + " bytes");
    }

    std::vector<BYTE> NvmeIdentify(const json& j, const std::string& where) const {
        if (IsHexLines(j)) return PageHex(j, where, 4096);
        OnlyKeys(j, where, {"vendor_id", "model", "serial", "firmware", "capacity"});
        NvmeIdentifyFields f;
        Optional(j, where, "vendor_id", f.vendorId, &Reader::Word);
        Optional(j, where, "model", f.model, &Reader::Text);
        Optional(j, where, "serial", f.serial, &Reader::Text);
        Optional(j, where, "firmware", f.firmware, &Reader::Text);
        if (f.model.size() > 40 || f.serial.size() > 20 || f.firmware.size() > 8) {
            Fail(where, "model, serial and firmware hold at most 40, 20 and 8 characters");
        }
        if (j.contains("capacity")) f.capacity = Counter(j["capacity"], where + ".capacity");
        return NvmeIdentifyPage(f);
    }

    std::vector<BYTE> NvmeLog(const json& j, const std::string& where) const {
        if (IsHexLines(j)) return PageHex(j, where, 512);
        constexpr const char* kCounters[] = {"data_units_read",     "data_units_written",      "host_read_commands",
                                             "host_write_commands", "controller_busy_minutes", "power_cycles",
                                             "power_on_hours",      "unsafe_shutdowns",        "media_errors",
                                             "error_log_entries"};
        OnlyKeys(
            j, where,
            {"critical_warning", "temperature_kelvin", "available_spare", "spare_threshold", "percentage_used",
             "data_units_read", "data_units_written", "host_read_commands", "host_write_commands",
             "controller_busy_minutes", "power_cycles", "power_on_hours", "unsafe_shutdowns", "media_errors",
             "error_log_entries", "warning_temperature_minutes", "critical_temperature_minutes", "sensors_kelvin"});
        NvmeLogFields f;
        auto byte = [&](const char* key, BYTE& out) {
            if (j.contains(key)) out = static_cast<BYTE>(Number(j[key], where + "." + key, 255));
        };
        byte("critical_warning", f.criticalWarning);
        byte("available_spare", f.availableSpare);
        byte("spare_threshold", f.spareThreshold);
        byte("percentage_used", f.percentageUsed);
        Optional(j, where, "temperature_kelvin", f.temperatureKelvin, &Reader::Word);
        for (std::size_t i = 0; i < std::size(kCounters); ++i) {
            if (j.contains(kCounters[i])) f.counters[i] = Counter(j[kCounters[i]], where + "." + kCounters[i]);
        }
        Optional(j, where, "warning_temperature_minutes", f.warningTemperatureMinutes, &Reader::Dword);
        Optional(j, where, "critical_temperature_minutes", f.criticalTemperatureMinutes, &Reader::Dword);
        if (j.contains("sensors_kelvin")) {
            const json& s = j["sensors_kelvin"];
            if (!s.is_array() || s.size() > 8) Fail(where + ".sensors_kelvin", "expected a list of at most 8 numbers");
            for (std::size_t i = 0; i < s.size(); ++i) {
                f.sensorsKelvin[i] = static_cast<WORD>(Number(s[i], where + ".sensors_kelvin", 0xFFFF));
            }
        }
        return NvmeLogPage(f);
    }

    void Token(const json& j, SimToken& t) const {
        OnlyKeys(j, "token", {"administrator", "extra_groups", "thread_token", "open_error"});
        if (j.contains("administrator")) {
            const json& a = j["administrator"];
            if (a.is_boolean()) {
                t.administrator = a.get<bool>() ? SimToken::Admin::kYes : SimToken::Admin::kNo;
            } else if (a.is_string() && a.get<std::string>() == "deny_only") {
                t.administrator = SimToken::Admin::kDenyOnly;
            } else {
                Fail("token.administrator", "expected true, false or \"deny_only\"");
            }
        }
        if (j.contains("extra_groups")) {
            t.extraGroups = static_cast<int>(Number(j["extra_groups"], "token.extra_groups", 10000));
        }
        Optional(j, "token", "thread_token", t.threadToken, &Reader::Flag);
        Optional(j, "token", "open_error", t.openError, &Reader::Error);
    }

    void Mci(const json& j, SimMci& m) const {
        OnlyKeys(j, "mci", {"string_error", "open_error", "set_error", "close_error"});
        auto code = [&](const char* k, MCIERROR& out) {
            if (j.contains(k)) out = static_cast<MCIERROR>(Number(j[k], std::string("mci.") + k, 0xFFFFFFFFu));
        };
        code("string_error", m.stringError);
        code("open_error", m.openError);
        code("set_error", m.setError);
        code("close_error", m.closeError);
    }

    // The management service: an error every query fails with, or disks.
    void Wmi(const json& j, SimWmi& w) const {
        OnlyKeys(j, "wmi", {"error", "disk_drives", "comment"});
        if (j.contains("error")) {
            const json& e = j["error"];
            if (e.is_string() && platform::FindWmiError(e.get<std::string>())) {
                w.error = platform::FindWmiError(e.get<std::string>())->code;
            } else {
                w.error = static_cast<std::int32_t>(HexOrNumber(e, "wmi.error"));
            }
            if (w.error >= 0) Fail("wmi.error", "a failure code has its top bit set (80041003)");
        }
        if (!j.contains("disk_drives")) return;
        if (!j["disk_drives"].is_array()) Fail("wmi.disk_drives", "expected a list of disks");
        std::set<ULONGLONG> numbers;
        for (const json& d : j["disk_drives"]) {
            const std::string where = "wmi.disk_drives[" + std::to_string(w.disks.size()) + "]";
            OnlyKeys(d, where,
                     {"index", "model", "serial", "size", "media_type", "interface", "pnp_device_id", "partitions",
                      "comment"});
            SimDiskDrive disk;
            if (!d.contains("index")) Fail(where, "needs \"index\", the disk number");
            const ULONGLONG index = Number(d["index"], where + ".index", 255);
            if (!numbers.insert(index).second) Fail(where + ".index", "two disks with the same number");
            disk.index = static_cast<int>(index);
            auto text = [&](const char* k, std::optional<std::string>& out) {
                if (d.contains(k)) out = Text(d[k], where + "." + k);
            };
            text("model", disk.model);
            text("serial", disk.serial);
            text("media_type", disk.mediaType);
            text("interface", disk.interfaceType);
            text("pnp_device_id", disk.pnpDeviceId);
            if (d.contains("size")) disk.size = Number(d["size"], where + ".size", ~ULONGLONG{0});
            if (d.contains("partitions")) {
                if (!d["partitions"].is_array()) Fail(where + ".partitions", "expected a list of partitions");
                for (const json& p : d["partitions"]) {
                    const std::string pw = where + ".partitions[" + std::to_string(disk.partitions.size()) + "]";
                    OnlyKeys(p, pw, {"size", "letters"});
                    SimPartition part;
                    if (p.contains("size")) part.size = Number(p["size"], pw + ".size", ~ULONGLONG{0});
                    if (p.contains("letters")) part.letters = Letters(p["letters"], pw + ".letters");
                    disk.partitions.push_back(part);
                }
            }
            w.disks.push_back(disk);
        }
    }

    // "E", or a list of such letters.
    std::vector<char> Letters(const json& v, const std::string& where) const {
        std::vector<char> out;
        for (const json& l : v.is_array() ? v : json::array({v})) {
            const std::string s = Text(l, where);
            if (s.size() != 1 || s[0] < 'A' || s[0] > 'Z') Fail(where, "a drive letter is one of A to Z");
            out.push_back(s[0]);
        }
        return out;
    }

    // The volume manager's volumes, in the order the search finds them.
    void Volumes(const json& j, std::vector<SimVolume>& volumes) const {
        if (!j.is_array()) Fail("volumes", "expected a list of volumes");
        for (const json& v : j) {
            const std::string where = "volumes[" + std::to_string(volumes.size()) + "]";
            OnlyKeys(v, where, {"name", "letter", "mount_points", "type", "volume", "space", "comment"});
            SimVolume volume;
            if (!v.contains("name")) Fail(where, "needs \"name\"");
            volume.name = Text(v["name"], where + ".name");
            const std::string& n = volume.name;
            if (n.size() < 14 || n.compare(0, 11, "\\\\?\\Volume{") != 0 || n.compare(n.size() - 2, 2, "}\\") != 0) {
                Fail(where + ".name", "a volume is named like \\\\?\\Volume{GUID}\\");
            }
            for (const SimVolume& other : volumes) {
                if (UpperAscii(other.name) == UpperAscii(n)) Fail(where + ".name", "two volumes of the same name");
            }
            if (v.contains("letter")) {
                const std::vector<char> letters = Letters(v["letter"], where + ".letter");
                if (letters.size() != 1) Fail(where + ".letter", "a volume has one drive letter");
                volume.letter = letters[0];
                if (v.contains("type") || v.contains("volume") || v.contains("space")) {
                    Fail(where, "a volume with a letter answers through its drive");
                }
            }
            if (v.contains("mount_points")) {
                if (!v["mount_points"].is_array()) Fail(where + ".mount_points", "expected a list of folders");
                for (const json& f : v["mount_points"]) {
                    std::string folder = Text(f, where + ".mount_points");
                    if (folder.size() < 4 || folder[1] != ':' || folder[2] != '\\') {
                        Fail(where + ".mount_points", "a mount point is a folder like C:\\Mount\\Data");
                    }
                    if (folder.back() != '\\') folder += '\\';
                    volume.mountPoints.push_back(folder);
                }
            }
            SimDrive& d = volume.drive;
            d.letter = 0;
            if (v.contains("type")) {
                d.type = NamedNumber(v["type"], where + ".type", kDriveTypes, std::size(kDriveTypes));
            }
            d.volume.error = ERROR_UNRECOGNIZED_VOLUME;
            if (v.contains("volume")) Volume(v["volume"], where + ".volume", d);
            d.space.error = ERROR_NOT_READY;
            if (v.contains("space")) Space(v["space"], where + ".space", d);
            volumes.push_back(std::move(volume));
        }
    }

    void Volume(const json& v, const std::string& where, SimDrive& d) const {
        OnlyKeys(v, where, {"label", "serial", "file_system", "max_component_length", "flags", "error"});
        if (v.contains("error")) {
            if (v.size() != 1) Fail(where, "an error volume has no other fields");
            d.volume.error = Error(v["error"], where + ".error");
            return;
        }
        VolumeInfo info;
        Optional(v, where, "label", info.label, &Reader::Text);
        Optional(v, where, "serial", info.serial, &Reader::HexOrNumber);
        Optional(v, where, "file_system", info.fileSystem, &Reader::Text);
        Optional(v, where, "max_component_length", info.maxComponentLength, &Reader::Dword);
        Optional(v, where, "flags", info.flags, &Reader::HexOrNumber);
        d.volume.value = info;
    }

    void Space(const json& v, const std::string& where, SimDrive& d) const {
        OnlyKeys(v, where, {"total", "free", "free_to_caller", "bytes_per_sector", "sectors_per_cluster", "error"});
        if (v.contains("error")) {
            if (v.size() != 1) Fail(where, "an error answer has no other fields");
            d.space.error = Error(v["error"], where + ".error");
            return;
        }
        if (!v.contains("total") || !v.contains("free")) Fail(where, "needs \"total\" and \"free\"");
        SpaceInfo s;
        const ULONGLONG max = ~ULONGLONG{0};
        s.total = Number(v["total"], where + ".total", max);
        s.totalFree = Number(v["free"], where + ".free", max);
        s.freeToCaller =
            v.contains("free_to_caller") ? Number(v["free_to_caller"], where + ".free_to_caller", max) : s.totalFree;
        if (s.totalFree > s.total || s.freeToCaller > s.totalFree) Fail(where, "free space exceeds the total");
        Optional(v, where, "bytes_per_sector", s.bytesPerSector, &Reader::Dword);
        Optional(v, where, "sectors_per_cluster", s.sectorsPerCluster, &Reader::Dword);
        d.space.value = s;
    }

    void Key(const std::string& path, const json& j, RegKey& k) const {
        const std::string where = "registry." + path;
        if (path.rfind("HKEY_CURRENT_USER", 0) != 0 || (path.size() > 17 && path[17] != '\\')) {
            Fail(where, "only HKEY_CURRENT_USER keys are simulated");
        }
        OnlyKeys(j, where, {"values", "create_error", "set_error", "comment"});
        Optional(j, where, "create_error", k.createError, &Reader::Error);
        Optional(j, where, "set_error", k.setError, &Reader::Error);
        if (!j.contains("values")) return;
        if (!j["values"].is_object()) Fail(where + ".values", "expected an object");
        for (const auto& item : j["values"].items()) {
            const std::string vw = where + ".values." + item.key();
            const json& v = item.value();
            OnlyKeys(v, vw, {"type", "data", "hex"});
            if (!v.contains("type")) Fail(vw, "needs \"type\"");
            RegValue value;
            value.type = NamedNumber(v["type"], vw + ".type", kRegTypes, std::size(kRegTypes));
            if (v.contains("hex") == v.contains("data")) Fail(vw, "needs exactly one of \"data\" and \"hex\"");
            if (v.contains("hex")) {
                value.data = Hex(Text(v["hex"], vw + ".hex"), vw + ".hex");
            } else if (value.type == REG_DWORD) {
                auto n = static_cast<DWORD>(Number(v["data"], vw + ".data", 0xFFFFFFFFu));
                value.data = {static_cast<BYTE>(n), static_cast<BYTE>(n >> 8), static_cast<BYTE>(n >> 16),
                              static_cast<BYTE>(n >> 24)};
            } else if (value.type == REG_SZ || value.type == REG_EXPAND_SZ) {
                std::string s = Text(v["data"], vw + ".data");
                value.data.assign(s.begin(), s.end());
                value.data.push_back(0);
            } else {
                Fail(vw, "give \"hex\" for this type");
            }
            k.values[UpperAscii(item.key())] = value;
        }
    }

    void Version(const json& v, OSVERSIONINFOA& version) const {
        OnlyKeys(v, "version", {"major", "minor", "build", "platform_id"});
        Optional(v, "version", "major", version.dwMajorVersion, &Reader::Dword);
        Optional(v, "version", "minor", version.dwMinorVersion, &Reader::Dword);
        Optional(v, "version", "build", version.dwBuildNumber, &Reader::Dword);
        Optional(v, "version", "platform_id", version.dwPlatformId, &Reader::Dword);
    }

    void Faults(const json& j, MachineState& s) const {
        if (!j.is_array()) Fail("faults", "expected a list of faults");
        for (size_t i = 0; i < j.size(); ++i) {
            const std::string where = "faults." + std::to_string(i);
            const json& f = j[i];
            OnlyKeys(f, where, {"call", "drive", "nth", "error", "remove_medium", "remove_drive"});
            FaultRule rule;
            if (f.contains("call")) {
                const std::string name = Text(f["call"], where + ".call");
                rule.call = FindCall(name);
                if (!rule.call) Fail(where + ".call", "unknown call \"" + name + "\"");
                if (NeverFails(*rule.call)) Fail(where + ".call", name + " never fails");
            }
            if (f.contains("drive")) {
                const std::string letter = Text(f["drive"], where + ".drive");
                if (letter.size() != 1 || letter[0] < 'A' || letter[0] > 'Z') Fail(where + ".drive", "expected A to Z");
                rule.letter = letter[0];
            }
            if (f.contains("nth")) rule.nth = static_cast<int>(Number(f["nth"], where + ".nth", 1000000000));
            if (rule.nth < 1) Fail(where + ".nth", "calls are counted from 1");
            Optional(f, where, "remove_medium", rule.removeMedium, &Reader::Flag);
            Optional(f, where, "remove_drive", rule.removeDrive, &Reader::Flag);
            if (int{f.contains("error")} + int{rule.removeMedium} + int{rule.removeDrive} > 1) {
                Fail(where, "a fault either fails the call, removes the medium or removes the drive");
            }
            if (rule.removeMedium && rule.letter == 0) Fail(where, "\"remove_medium\" needs \"drive\"");
            if (rule.removeDrive && rule.letter == 0) Fail(where, "\"remove_drive\" needs \"drive\"");
            if (f.contains("error")) {
                rule.error = Error(f["error"], where + ".error");
            } else if (!rule.removeMedium && !rule.removeDrive) {
                Fail(where, "needs \"error\", \"remove_medium\" or \"remove_drive\"");
            }
            s.faults.emplace_back(rule, 0);
        }
    }

    void File(const std::string& path, const json& j, SimFile& f) const {
        const std::string where = "files." + path;
        if (path.size() < 3 || path[1] != ':' || path[2] != '\\')
            Fail(where, "a file is named by a full path like C:\\x");
        OnlyKeys(j, where, {"text", "open_error", "write_error", "comment"});
        Optional(j, where, "text", f.text, &Reader::Text);
        Optional(j, where, "open_error", f.openError, &Reader::Error);
        Optional(j, where, "write_error", f.writeError, &Reader::Error);
    }

private:
    std::string origin_;
};

}  // namespace

std::unique_ptr<Machine> Machine::FromJsonText(const std::string& text, const std::string& origin) {
    Reader r(origin);
    if (text.size() > kMaxMachineFileSize) r.Fail("", "larger than " + std::to_string(kMaxMachineFileSize) + " bytes");
    json j;
    // A description nests a few levels; anything deeper is not one, and
    // would only cost memory and stack.
    const json::parser_callback_t depthGuard = [&](int depth, json::parse_event_t, json&) {
        if (depth > kMaxMachineFileDepth)
            r.Fail("", "nested deeper than " + std::to_string(kMaxMachineFileDepth) + " levels");
        return true;
    };
    try {
        j = json::parse(text, depthGuard);
    } catch (const json::exception& e) {
        // Numbers out of range (1e400) are not parse errors but end the same way.
        r.Fail("", std::string("not valid JSON (") + e.what() + ")");
    }
    auto m = std::make_unique<Machine>();
    MachineState& s = *m->state_;
    try {
        r.OnlyKeys(
            j, "",
            {"name", "comment", "locale", "free_space_ex", "drives", "registry", "version", "files", "folders", "shell",
             "token", "mci", "physical_disks", "smartvsd", "faults", "directories", "fmifs", "wmi", "volumes"});
        if (j.contains("name")) s.name = r.Text(j["name"], "name");
        if (j.contains("locale")) {
            r.OnlyKeys(j["locale"], "locale", {"decimal", "thousand"});
            if (j["locale"].contains("decimal")) s.decimal = r.Text(j["locale"]["decimal"], "locale.decimal");
            if (j["locale"].contains("thousand")) s.thousand = r.Text(j["locale"]["thousand"], "locale.thousand");
        }
        if (j.contains("free_space_ex")) {
            if (!j["free_space_ex"].is_boolean()) r.Fail("free_space_ex", "expected true or false");
            s.freeSpaceEx = j["free_space_ex"].get<bool>();
        }
        if (j.contains("drives")) {
            if (!j["drives"].is_object()) r.Fail("drives", "expected an object");
            for (const auto& item : j["drives"].items()) {
                SimDrive d;
                r.Drive(item.key(), item.value(), d);
                s.drives[d.letter] = std::move(d);
            }
        }
        if (j.contains("version")) r.Version(j["version"], s.version);
        if (j.contains("physical_disks")) {
            if (!j["physical_disks"].is_object()) r.Fail("physical_disks", "expected an object");
            for (const auto& item : j["physical_disks"].items()) {
                const std::string& key = item.key();
                if (key.empty() || key.size() > 3 || key.find_first_not_of("0123456789") != std::string::npos) {
                    r.Fail("physical_disks." + key, "a disk is named by its number");
                }
                r.Disk(item.value(), "physical_disks." + key, s.physicalDisks[std::stoi(key)]);
            }
        }
        if (j.contains("smartvsd")) r.Disk(j["smartvsd"], "smartvsd", s.smartVsd.emplace());
        if (j.contains("token")) r.Token(j["token"], s.token);
        if (j.contains("mci")) r.Mci(j["mci"], s.mci);
        if (j.contains("fmifs")) r.Fmifs(j["fmifs"], s.fmifs);
        if (j.contains("wmi")) r.Wmi(j["wmi"], s.wmiData);
        if (j.contains("volumes")) r.Volumes(j["volumes"], s.volumes);
        if (j.contains("files")) {
            if (!j["files"].is_object()) r.Fail("files", "expected an object");
            for (const auto& item : j["files"].items())
                r.File(item.key(), item.value(), s.files[UpperAscii(item.key())]);
        }
        if (j.contains("folders")) {
            if (!j["folders"].is_array()) r.Fail("folders", "expected a list of paths");
            for (const json& f : j["folders"]) {
                std::string path = r.Text(f, "folders");
                if (path.size() < 3 || path[1] != ':' || path[2] != '\\')
                    r.Fail("folders", "a folder is named by a full path like C:\\x");
                while (path.size() > 3 && path.back() == '\\') path.pop_back();
                if (path.size() > 3) s.folders.insert(UpperAscii(path));
            }
        }
        if (j.contains("directories")) {
            const json& d = j["directories"];
            r.OnlyKeys(d, "directories", {"windows", "system"});
            auto folder = [&](const char* key, std::string& out) {
                if (!d.contains(key)) return;
                out = r.Text(d[key], std::string("directories.") + key);
                if (out.size() < 3 || out[1] != ':' || out[2] != '\\')
                    r.Fail(std::string("directories.") + key, "a folder is named by a full path like C:\\x");
            };
            folder("windows", s.windowsDirectory);
            folder("system", s.systemDirectory);
        }
        if (j.contains("shell")) {
            r.OnlyKeys(j["shell"], "shell", {"folder_browser", "refuse"});
            if (j["shell"].contains("refuse")) {
                const json& list = j["shell"]["refuse"];
                if (!list.is_array()) r.Fail("shell.refuse", "expected a list of refusals");
                for (const json& item : list) {
                    r.OnlyKeys(item, "shell.refuse", {"call", "file", "verb", "error", "description", "comment"});
                    ShellRefusal refusal;
                    if (!item.contains("call") || !item.contains("error"))
                        r.Fail("shell.refuse", "a refusal needs \"call\" and \"error\"");
                    const std::string call = r.Text(item["call"], "shell.refuse.call");
                    const std::optional<SimCall> refused = OneOf(call, kShellCalls);
                    if (!refused) r.Fail("shell.refuse.call", "unknown call \"" + call + "\"");
                    refusal.call = *refused;
                    if (item.contains("file")) refusal.file = r.Text(item["file"], "shell.refuse.file");
                    if (item.contains("verb")) refusal.verb = r.Text(item["verb"], "shell.refuse.verb");
                    refusal.error = r.Error(item["error"], "shell.refuse.error");
                    if (item.contains("description")) {
                        refusal.description = r.Text(item["description"], "shell.refuse.description");
                    }
                    s.shellRefusals.push_back(refusal);
                }
            }
            const json& answers = j["shell"].value("folder_browser", json::array());
            for (const json& a : answers.is_array() ? answers : json::array({answers})) {
                if (a.is_null()) {
                    s.browserAnswers.push_back(std::nullopt);
                } else {
                    s.browserAnswers.push_back(r.Text(a, "shell.folder_browser"));
                }
            }
        }
        if (j.contains("faults")) r.Faults(j["faults"], s);
        if (j.contains("registry")) {
            if (!j["registry"].is_object()) r.Fail("registry", "expected an object");
            for (const auto& item : j["registry"].items()) {
                std::string path = UpperAscii(item.key());
                while (!path.empty() && path.back() == '\\') path.pop_back();
                r.Key(item.key(), item.value(), s.keys[path]);
            }
        }
    } catch (const json::exception& e) {
        r.Fail("", e.what());
    }
    return m;
}

std::unique_ptr<Machine> Machine::FromFile(const std::string& path) {
    if (path.empty()) throw MachineFormatError("the machine file name is empty");
    const std::string name = Printable(path);
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) throw MachineFormatError(name + ": is a folder, not a machine file");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw MachineFormatError(name + ": cannot read the machine file");
    // Read at most one byte past the limit: a device such as /dev/zero never ends.
    std::string text(kMaxMachineFileSize + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad()) throw MachineFormatError(name + ": cannot read the machine file");
    text.resize(static_cast<size_t>(in.gcount()));
    return FromJsonText(text, path);
}

}  // namespace tw::sim
