// Every window of the program by a typed identifier, with the class name that
// scripts and tests know it by and its caption.
#pragma once
#include <iterator>
#include <string_view>

#include "app/component_table.h"

namespace tw {

enum class FormId {
    Main,
    AboutBox,
    SubstDialog,
    Settings,
    Form5,
    Form6,
    Volumes,
    BenchMark,
    CheckDisk,
    OpticalInfo,
    Smart,
    DiskInfo,
    UsbDrives,
};

struct FormEntry {
    FormId id;
    std::string_view className;
    std::string_view caption;
};

inline constexpr FormEntry kForms[] = {
    {FormId::Main, "TForm1", "Tarnwell"},
    {FormId::AboutBox, "TAboutBox", "About"},
    {FormId::SubstDialog, "TFrmSubstDialog", "Substitute Drive"},
    {FormId::Settings, "TfrmSettings", "Settings"},
    {FormId::Form5, "TForm5", ""},
    {FormId::Form6, "TForm6", ""},
    {FormId::Volumes, "TfrmVolumes", "Volumes"},
    {FormId::BenchMark, "TfrmBenchMark", "Drive Benchmark"},
    {FormId::CheckDisk, "TfrmCheckDisk", "Check Disk"},
    {FormId::OpticalInfo, "TfrmOpticalInfo", "Optical Information"},
    {FormId::Smart, "TfrmSmart", "SMART Information"},
    {FormId::DiskInfo, "TfrmDiskInfo", "Disk Information"},
    {FormId::UsbDrives, "TfrmUSBDrives", "USB Drives"},
};
inline constexpr int kFormCount = static_cast<int>(std::size(kForms));

constexpr bool FormsListedInOrder() {
    for (int i = 0; i < kFormCount; ++i) {
        if (static_cast<int>(kForms[i].id) != i) return false;
    }
    return true;
}
static_assert(FormsListedInOrder());

constexpr std::string_view FormClassName(FormId id) { return kForms[static_cast<int>(id)].className; }
constexpr std::string_view FormCaption(FormId id) { return kForms[static_cast<int>(id)].caption; }

}  // namespace tw
