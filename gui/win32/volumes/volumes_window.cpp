#include "gui/win32/volumes/volumes_window.h"

#include "app/tfrm_volumes.h"
#include "gui/win32/volumes/volumes_ids.h"

namespace tw::gui {

namespace {}  // namespace

VolumesWindow::VolumesWindow()
    : ListReportWindow(IDD_VOLUMES,
                       {IDC_VOLUMES_LIST, KeyOf(VolumesControl::Volumes), IDC_VOLUMES_STATUS,
                        KeyOf(VolumesControl::Status), IDC_VOLUMES_REFRESH, KeyOf(VolumesControl::Refresh)}) {}

}  // namespace tw::gui
