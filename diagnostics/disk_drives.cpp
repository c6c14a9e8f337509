#include "diagnostics/disk_drives.h"

#include <algorithm>

namespace tw::diagnostics {

using namespace tw::platform;

namespace {

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
        if (upper(text[i]) != upper(prefix[i])) return false;
    }
    return true;
}

bool IsUsb(const DiskDrive& d) {
    return (d.interfaceType.size() == 3 && StartsWithNoCase(d.interfaceType, "USB")) ||
           StartsWithNoCase(d.pnpDeviceId, "USBSTOR\\");
}

std::string Associators(const std::string& className, const std::string& key, const char* assocClass) {
    return "ASSOCIATORS OF " + ObjectPath(className, key) + " WHERE AssocClass = " + assocClass;
}

// The service pads some texts (serial numbers of older drivers) with spaces.
std::string Trimmed(std::string text) {
    const size_t last = text.find_last_not_of(' ');
    text.erase(last == std::string::npos ? 0 : last + 1);
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

// The letters on one disk; the first failing result code, or S_OK.
HRESULT ReadLetters(Wmi& wmi, DiskDrive& disk) {
    std::vector<WmiObject> partitions;
    HRESULT hr =
        wmi.ExecQuery(Associators("Win32_DiskDrive", disk.deviceId, "Win32_DiskDriveToDiskPartition"), partitions);
    if (Failed(hr)) return hr;
    // The partitions in their order on the disk, whatever order they come in.
    std::stable_sort(partitions.begin(), partitions.end(), [](const WmiObject& a, const WmiObject& b) {
        return a.Number("Index").value_or(0) < b.Number("Index").value_or(0);
    });
    for (const WmiObject& partition : partitions) {
        std::vector<WmiObject> logical;
        hr = wmi.ExecQuery(
            Associators("Win32_DiskPartition", partition.Text("DeviceID"), "Win32_LogicalDiskToPartition"), logical);
        if (Failed(hr)) return hr;
        for (const WmiObject& l : logical) {
            const std::string id = l.Text("DeviceID");
            if (!id.empty()) disk.driveLetters.push_back(id);
        }
    }
    return S_OK;
}

}  // namespace

std::string ObjectPath(const std::string& className, const std::string& key) {
    std::string escaped;
    for (char c : key) {
        if (c == '\\' || c == '\'') escaped += '\\';
        escaped += c;
    }
    return "{" + className + ".DeviceID='" + escaped + "'}";
}

DiskDriveReport ReadDiskDrives(Wmi& wmi, bool allDisks) {
    DiskDriveReport report;
    std::vector<WmiObject> objects;
    report.result = wmi.ExecQuery("SELECT * FROM Win32_DiskDrive", objects);
    if (Failed(report.result)) return report;
    for (const WmiObject& o : objects) {
        DiskDrive d;
        if (const auto index = o.Number("Index"); index && *index <= 0x7FFFFFFF) d.index = static_cast<int>(*index);
        d.deviceId = o.Text("DeviceID");
        d.model = Trimmed(o.Text("Model"));
        d.serial = Trimmed(o.Text("SerialNumber"));
        d.mediaType = o.Text("MediaType");
        d.interfaceType = o.Text("InterfaceType");
        d.pnpDeviceId = o.Text("PNPDeviceID");
        d.size = o.Number("Size");
        d.partitions = o.Number("Partitions");
        d.usb = IsUsb(d);
        if (!allDisks && !d.usb) continue;
        if (!d.deviceId.empty()) {
            const HRESULT hr = ReadLetters(wmi, d);
            if (Failed(hr) && !Failed(report.lettersResult)) report.lettersResult = hr;
        }
        report.disks.push_back(std::move(d));
    }
    std::stable_sort(report.disks.begin(), report.disks.end(),
                     [](const DiskDrive& a, const DiskDrive& b) { return a.index < b.index; });
    return report;
}

}  // namespace tw::diagnostics
