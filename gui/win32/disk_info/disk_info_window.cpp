#include "gui/win32/disk_info/disk_info_window.h"

#include "app/tfrm_disk_info.h"
#include "gui/win32/disk_info/disk_info_ids.h"

namespace tw::gui {

namespace {

constexpr const char* Name(DiskInfoControl id) { return ComponentName(id).data(); }

constexpr ReportField kFields[] = {
    {Name(DiskInfoControl::Model), IDC_DISK_INFO_MODEL},
    {Name(DiskInfoControl::Serial), IDC_DISK_INFO_SERIAL},
    {Name(DiskInfoControl::Firmware), IDC_DISK_INFO_FIRMWARE},
    {Name(DiskInfoControl::Size), IDC_DISK_INFO_SIZE},
    {Name(DiskInfoControl::Disk), IDC_DISK_INFO_DISK},
    {Name(DiskInfoControl::Partition), IDC_DISK_INFO_PARTITION},
    {Name(DiskInfoControl::BusType), IDC_DISK_INFO_BUS},
    {Name(DiskInfoControl::FileSystem), IDC_DISK_INFO_FILE_SYSTEM},
    {Name(DiskInfoControl::VolumeLabel), IDC_DISK_INFO_LABEL},
    {Name(DiskInfoControl::VolumeSerial), IDC_DISK_INFO_VOLUME_SERIAL},
    {Name(DiskInfoControl::ClusterSize), IDC_DISK_INFO_CLUSTER},
};

}  // namespace

DiskInfoWindow::DiskInfoWindow()
    : DiskReportWindow(ReportLayout{IDD_DISK_INFO, IDC_DISK_INFO_TITLE, IDC_DISK_INFO_DRIVE,
                                    Name(DiskInfoControl::DriveChooser), kFields, IDC_DISK_INFO_STATUS,
                                    Name(DiskInfoControl::Status)}) {}

}  // namespace tw::gui
