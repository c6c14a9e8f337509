// Resource ids of the "USB Drives" window, shared by its template and its code.
#pragma once

#define IDD_USB_DRIVES 900
#define IDC_USB_DISKS 901
#define IDC_USB_STATUS 902
#define IDC_USB_SHOW_ALL 903
#define IDC_USB_REFRESH 904
