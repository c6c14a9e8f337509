#include "gui/win32/disk_info/disk_info_window.h"

#include "app/tfrm_disk_info.h"
#include "gui/win32/disk_info/disk_info_ids.h"

namespace tw::gui {

namespace {

constexpr ReportField kFields[] = {
    {KeyOf(DiskInfoControl::Model), IDC_DISK_INFO_MODEL},
    {KeyOf(DiskInfoControl::Serial), IDC_DISK_INFO_SERIAL},
    {KeyOf(DiskInfoControl::Firmware), IDC_DISK_INFO_FIRMWARE},
    {KeyOf(DiskInfoControl::Size), IDC_DISK_INFO_SIZE},
    {KeyOf(DiskInfoControl::Disk), IDC_DISK_INFO_DISK},
    {KeyOf(DiskInfoControl::Partition), IDC_DISK_INFO_PARTITION},
    {KeyOf(DiskInfoControl::BusType), IDC_DISK_INFO_BUS},
    {KeyOf(DiskInfoControl::FileSystem), IDC_DISK_INFO_FILE_SYSTEM},
    {KeyOf(DiskInfoControl::VolumeLabel), IDC_DISK_INFO_LABEL},
    {KeyOf(DiskInfoControl::VolumeSerial), IDC_DISK_INFO_VOLUME_SERIAL},
    {KeyOf(DiskInfoControl::ClusterSize), IDC_DISK_INFO_CLUSTER},
};

ReportLayout Layout() {
    ReportLayout layout{
        IDD_DISK_INFO, IDC_DISK_INFO_TITLE,  IDC_DISK_INFO_DRIVE,           KeyOf(DiskInfoControl::DriveChooser),
        kFields,       IDC_DISK_INFO_STATUS, KeyOf(DiskInfoControl::Status)};
    layout.rights = {IDC_DISK_INFO_RIGHTS, IDC_DISK_INFO_RESTART};
    return layout;
}

}  // namespace

DiskInfoWindow::DiskInfoWindow() : DiskReportWindow(Layout()) {}

}  // namespace tw::gui
