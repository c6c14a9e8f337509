// Resource ids of the "Volumes" window, shared by its template and its code.
#pragma once

#define IDD_VOLUMES 950
#define IDC_VOLUMES_LIST 951
#define IDC_VOLUMES_STATUS 952
#define IDC_VOLUMES_REFRESH 953
