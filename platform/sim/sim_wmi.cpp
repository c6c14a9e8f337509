// The management service of the simulated machine. It reads the query text
// the way the service does: "SELECT * FROM class" and "ASSOCIATORS OF
// {class.DeviceID='key'} WHERE AssocClass = class", keys with their
// backslashes escaped; anything else is refused with the service's codes.
#include <regex>

#include "platform/sim/state.h"

namespace tw::sim {

namespace {

WmiValue TextValue(const std::optional<std::string>& text) {
    WmiValue v;
    if (text) {
        v.kind = WmiValue::Kind::Text;
        v.text = *text;
    }
    return v;
}

WmiValue NumberValue(std::int64_t n) {
    WmiValue v;
    v.kind = WmiValue::Kind::Number;
    v.number = n;
    return v;
}

// 64-bit integers reach callers as decimal text, as the service hands them.
WmiValue Uint64Value(const std::optional<ULONGLONG>& n) { return n ? TextValue(std::to_string(*n)) : WmiValue{}; }

std::string DiskDeviceId(const SimDiskDrive& d) { return "\\\\.\\PHYSICALDRIVE" + std::to_string(d.index); }

std::string PartitionDeviceId(const SimDiskDrive& d, size_t i) {
    return "Disk #" + std::to_string(d.index) + ", Partition #" + std::to_string(i);
}

WmiObject DiskObject(const SimDiskDrive& d) {
    return {{{"BytesPerSector", NumberValue(512)},
             {"Caption", TextValue(d.model)},
             {"DeviceID", TextValue(DiskDeviceId(d))},
             {"Index", NumberValue(d.index)},
             {"InterfaceType", TextValue(d.interfaceType)},
             {"MediaType", TextValue(d.mediaType)},
             {"Model", TextValue(d.model)},
             {"Partitions", NumberValue(static_cast<std::int64_t>(d.partitions.size()))},
             {"PNPDeviceID", TextValue(d.pnpDeviceId)},
             {"SerialNumber", TextValue(d.serial)},
             {"Size", Uint64Value(d.size)}}};
}

WmiObject PartitionObject(const SimDiskDrive& d, size_t i) {
    return {{{"DeviceID", TextValue(PartitionDeviceId(d, i))},
             {"DiskIndex", NumberValue(d.index)},
             {"Index", NumberValue(static_cast<std::int64_t>(i))},
             {"Size", Uint64Value(d.partitions[i].size)}}};
}

WmiObject LogicalDiskObject(MachineState& s, char letter) {
    const std::string id = std::string(1, letter) + ":";
    WmiObject o{{{"DeviceID", TextValue(id)}, {"Name", TextValue(id)}}};
    if (SimDrive* d = s.Effective(letter)) {
        o.properties.push_back({"DriveType", NumberValue(d->type)});
        if (d->volume.value) {
            o.properties.push_back({"FileSystem", TextValue(d->volume.value->fileSystem)});
            o.properties.push_back({"VolumeName", TextValue(d->volume.value->label)});
        }
    }
    return o;
}

bool Same(const std::string& a, const std::string& b) { return UpperAscii(a) == UpperAscii(b); }

// A key string of an object path without its escapes; none when a backslash
// escapes anything but a backslash or a quote.
std::optional<std::string> Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (i + 1 >= text.size() || (text[i + 1] != '\\' && text[i + 1] != '\'' && text[i + 1] != '"')) {
            return std::nullopt;
        }
        out += text[++i];
    }
    return out;
}

}  // namespace

HRESULT SimWmiService::ExecQuery(const std::string& wql, std::vector<WmiObject>& objects) {
    objects.clear();
    s_.Enter(SimCall::ExecQuery);
    if (s_.wmiData.error != 0) return s_.wmiData.error;
    const auto icase = std::regex::icase | std::regex::ECMAScript;
    static const std::regex select(R"(^\s*SELECT\s+\*\s+FROM\s+(\w+)\s*$)", icase);
    static const std::regex associators(
        R"(^\s*ASSOCIATORS\s+OF\s+\{(\w+)\.(\w+)\s*=\s*'((?:[^'\\]|\\.)*)'\}\s*(?:WHERE\s+ASSOCCLASS\s*=\s*(\w+))?\s*$)",
        icase);
    std::vector<SimDiskDrive>& disks = s_.wmiData.disks;
    std::smatch m;
    if (std::regex_match(wql, m, select)) {
        const std::string cls = m[1];
        if (Same(cls, "Win32_DiskDrive")) {
            for (const SimDiskDrive& d : disks) objects.push_back(DiskObject(d));
        } else if (Same(cls, "Win32_DiskPartition")) {
            for (const SimDiskDrive& d : disks) {
                for (size_t i = 0; i < d.partitions.size(); ++i) objects.push_back(PartitionObject(d, i));
            }
        } else if (Same(cls, "Win32_LogicalDisk")) {
            for (char letter = 'A'; letter <= 'Z'; ++letter) {
                if (s_.Present(letter)) objects.push_back(LogicalDiskObject(s_, letter));
            }
        } else {
            return WBEM_E_INVALID_CLASS;
        }
        return S_OK;
    }
    if (!std::regex_match(wql, m, associators)) return WBEM_E_INVALID_QUERY;
    const std::string cls = m[1];
    const std::string assoc = m[4];
    if (!Same(m[2], "DeviceID")) return WBEM_E_INVALID_OBJECT_PATH;
    const std::optional<std::string> key = Unescape(m[3]);
    if (!key) return WBEM_E_INVALID_OBJECT_PATH;
    if (Same(cls, "Win32_DiskDrive")) {
        for (const SimDiskDrive& d : disks) {
            if (!Same(DiskDeviceId(d), *key)) continue;
            if (assoc.empty() || Same(assoc, "Win32_DiskDriveToDiskPartition")) {
                for (size_t i = 0; i < d.partitions.size(); ++i) objects.push_back(PartitionObject(d, i));
            }
            return S_OK;
        }
        return WBEM_E_NOT_FOUND;
    }
    if (Same(cls, "Win32_DiskPartition")) {
        for (const SimDiskDrive& d : disks) {
            for (size_t i = 0; i < d.partitions.size(); ++i) {
                if (!Same(PartitionDeviceId(d, i), *key)) continue;
                if (assoc.empty() || Same(assoc, "Win32_LogicalDiskToPartition")) {
                    for (char letter : d.partitions[i].letters) {
                        if (s_.Present(letter)) objects.push_back(LogicalDiskObject(s_, letter));
                    }
                }
                if (assoc.empty() || Same(assoc, "Win32_DiskDriveToDiskPartition")) objects.push_back(DiskObject(d));
                return S_OK;
            }
        }
        return WBEM_E_NOT_FOUND;
    }
    return WBEM_E_INVALID_CLASS;
}

}  // namespace tw::sim
