// Resource ids of the "Check Disk" window, shared by its template and its code.
#pragma once

#define IDD_CHECK_DISK 700
#define IDC_CHECK_DISK_DRIVE_LABEL 701
#define IDC_CHECK_DISK_DRIVE 702
#define IDC_CHECK_DISK_FIX 703
#define IDC_CHECK_DISK_START 704
#define IDC_CHECK_DISK_CANCEL 705
#define IDC_CHECK_DISK_PROGRESS 706
#define IDC_CHECK_DISK_LOG 707
#define IDC_CHECK_DISK_RIGHTS 790
#define IDC_CHECK_DISK_RESTART 791
