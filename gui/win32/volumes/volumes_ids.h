// Resource ids of the "Volumes" window, shared by its template and its code.
#pragma once

#define IDD_VOLUMES 420
#define IDC_VOLUMES_LIST 421
#define IDC_VOLUMES_STATUS 422
#define IDC_VOLUMES_REFRESH 423
