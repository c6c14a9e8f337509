// "Volumes" as a real dialog over TfrmVolumes's logic.
#pragma once
#include "gui/win32/list_report_window.h"

namespace tw::gui {

class VolumesWindow final : public ListReportWindow {
public:
    VolumesWindow();
};

}  // namespace tw::gui
