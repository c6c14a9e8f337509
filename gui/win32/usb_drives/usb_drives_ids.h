// Resource ids of the "USB Drives" window, shared by its template and its code.
#pragma once

#define IDD_USB_DRIVES 400
#define IDC_USB_DISKS 401
#define IDC_USB_STATUS 402
#define IDC_USB_SHOW_ALL 403
#define IDC_USB_REFRESH 404
