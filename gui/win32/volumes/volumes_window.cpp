#include "gui/win32/volumes/volumes_window.h"

#include "app/tfrm_volumes.h"
#include "gui/win32/volumes/volumes_ids.h"

namespace tw::gui {

namespace {

const char* Name(VolumesControl id) { return ComponentName(id).data(); }

}  // namespace

VolumesWindow::VolumesWindow()
    : ListReportWindow(IDD_VOLUMES,
                       {IDC_VOLUMES_LIST, Name(VolumesControl::Volumes), IDC_VOLUMES_STATUS,
                        Name(VolumesControl::Status), IDC_VOLUMES_REFRESH, Name(VolumesControl::Refresh)}) {}

}  // namespace tw::gui
