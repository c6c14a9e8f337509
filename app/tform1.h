// The main window's state and event handlers, free of any toolkit. The real
// window and the script runner drive it through the same entry points.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "actions/media_control.h"
#include "actions/shell_actions.h"
#include "app/application.h"
#include "app/dialogs.h"
#include "app/form_logic.h"
#include "app/main_components.h"
#include "app/main_view.h"
#include "app/taboutbox.h"
#include "app/tfrm_bench_mark.h"
#include "app/tfrm_check_disk.h"
#include "app/tfrm_disk_info.h"
#include "app/tfrm_optical_info.h"
#include "app/tfrm_smart.h"
#include "app/tfrm_subst_dialog.h"
#include "app/tfrm_usb_drives.h"
#include "app/tfrm_volumes.h"
#include "inventory/drive_row.h"
#include "platform/platform.h"

namespace tw {

inline constexpr int kTimerInterval = 20000;                // ms
inline constexpr unsigned kTrayCallbackMessage = 1025;      // WM_USER + 1
inline constexpr std::intptr_t kTrayRightButtonDown = 516;  // WM_RBUTTONDOWN
// WM_DEVICECHANGE events and the device type of their record.
inline constexpr unsigned kDeviceArrival = 0x8000;         // DBT_DEVICEARRIVAL
inline constexpr unsigned kDeviceRemoveComplete = 0x8004;  // DBT_DEVICEREMOVECOMPLETE
inline constexpr unsigned kDeviceTypeVolume = 2;           // DBT_DEVTYP_VOLUME
// A burst of device notifications gives one refresh this long after the last.
inline constexpr int kDeviceChangeDelay = 1000;  // ms

class TForm1 : public FormLogic {
public:
    TForm1(platform::Platform& platform, MainView& view, Dialogs& dialogs, Application& app);

    // Window events.
    void FormCreate();
    void ApplicationEvents1Activate();
    void Timer1Timer();
    // WM_DEVICECHANGE: a volume arrived or went (drives, subst and network
    // mappings); the list is refreshed once the notifications have stopped
    // for a second.
    void DeviceChange(unsigned event, unsigned deviceType);
    // The second after the last device notification has passed.
    void DeviceChangeTimer();
    // Window messages the main window handles itself; the answer for the
    // private menu-loop messages, nothing for those that go on to the default.
    std::optional<std::intptr_t> WndProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    // The list as the window shows it.
    const std::vector<inventory::DriveRow>& Rows() const { return rows_; }
    int Selected() const { return selected_; }  // -1: none
    void Select(int index);
    // The rows selected for copying (the list allows several); the actions
    // act on the selected row alone. Rows out of range are dropped.
    void Mark(std::vector<int> rows);
    const std::vector<int>& Marked() const { return marked_; }
    bool SkipAB() const { return skipAB_; }
    bool TimerEnabled() const { return timerEnabled_; }

    // Handlers.
    void Refresh1Click();
    void AutoRefresh1Click();
    void CheckBox6Click();
    void Stayontop2Click();
    void CheckBox7Click();
    void Bold1Click();
    void SkipAandBdrives1Click();
    void HideDrive1Click();
    void UnhideDrive1Click();
    void CreateSubstituteDrive1Click();
    void RemoveSubstituteDrive1Click();
    void Query1Click();
    void LoadMedia1Click();
    void EjectMedia1Click();
    void LockCDDoor1Click();
    void UnlockCDDoor1Click();
    void OpendefaultCD1Click();
    void CloseDefaultCD1Click();
    void InsertedMedia1Click();
    void ListView1DblClick();
    void ToolButton2Click();
    void Properties1Click();
    void SearchDrive1Click();
    void MinimizeAll1Click();
    void MinimizeAll2Click();
    void MapNetworkDrive1Click();
    void DisconnectNetworkDrive1Click();
    void FormatDisk1Click();
    void Defrag1Click();
    void NTBackup1Click();
    void NTBackupRestore2Click();
    void RemoveUSBDrive1Click();
    void TarnwellHomepage1Click();
    void Donate1Click();
    void Label2Click();
    void SaveListAs1Click();
    void RestartAsAdministrator1Click();
    void Copy1Click();
    void SelectAll1Click();
    // "E: Contains disk type: DVD-ROM"; raises for a drive that is not a CD or DVD drive.
    static std::string InsertedMediaReport(platform::Platform& platform, char letter,
                                           actions::MediaOutcome* asked = nullptr);

    // The secondary windows the main window shows.
    TFrmSubstDialog& SubstDialog() { return substDialog_; }
    TAboutBox& AboutBox() { return aboutBox_; }
    TfrmOpticalInfo& OpticalInfo() { return opticalInfo_; }
    TfrmSmart& Smart() { return smart_; }
    TfrmDiskInfo& DiskInfo() { return diskInfo_; }
    TfrmCheckDisk& CheckDisk() { return checkDisk_; }
    TfrmBenchMark& BenchMark() { return benchMark_; }
    std::vector<FormLogic*> SecondaryForms() {
        return {&aboutBox_,  &substDialog_, &opticalInfo_, &smart_,  &diskInfo_,
                &checkDisk_, &benchMark_,   &usbDrives_,   &volumes_};
    }
    TfrmUSBDrives& UsbDrives() { return usbDrives_; }
    TfrmVolumes& Volumes() { return volumes_; }

private:
    void DeclareCommandSurface();
    // One walk of the drives into the list.
    void RefreshOnce();
    // The letter of the selected row: the first character of its caption.
    std::optional<char> SelectedLetter() const;
    // Locks or unlocks the selected drive's door and says how it went; true
    // when the request was done.
    bool SetDoorLock(bool lock);
    // Opens the selected drive in the shell's explorer view, with or without
    // the hourglass; nothing without a selection.
    void ExploreSelected(bool hourglass);
    // A refused shell request in a box: what could not be started and why.
    void Report(const actions::ShellOutcome& outcome);
    // Registers a new substitution to come back (the logon entry on the NT
    // family, the start-up file's line everywhere); what did not succeed, in
    // words, or empty.
    std::string AddToStartup(char letter, const std::string& path);

    platform::Platform& platform_;
    MainView& view_;
    Application& app_;
    TAboutBox aboutBox_;
    TFrmSubstDialog substDialog_;
    TfrmOpticalInfo opticalInfo_;
    TfrmSmart smart_;
    TfrmDiskInfo diskInfo_;
    TfrmCheckDisk checkDisk_;
    TfrmBenchMark benchMark_;
    TfrmUSBDrives usbDrives_;
    TfrmVolumes volumes_;

    std::vector<inventory::DriveRow> rows_;
    int selected_ = -1;
    std::vector<int> marked_;
    bool deviceChangeWaiting_ = false;
    bool skipAB_ = false;
    bool timerEnabled_ = true;
    bool refreshRequested_ = false;  // asked for while a refresh ran
    std::map<char, int> doorLocks_;  // door locks this program set, by drive
};

}  // namespace tw
