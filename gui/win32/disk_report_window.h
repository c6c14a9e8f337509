// The real window of a disk report (SMART, Disk Information) over its logic:
// a chooser of drives, read-only fields, a status line, and optionally a
// coloured verdict badge and a table whose rows take the colours the logic
// gives them; Refresh (F5), Copy (Ctrl+C) and Save As buttons. The window is
// resizable, its controls anchored as the layout says. Every user event goes
// to the logic, and after each one the controls show the logic's components
// again.
#pragma once
#include <span>
#include <string>
#include <vector>

#include "gui/win32/anchored_layout.h"
#include "gui/win32/form_dialog.h"
#include "gui/win32/report_table.h"
#include "gui/win32/rights_line.h"

namespace tw::gui {

// A read-only field and the control that shows it.
struct ReportField {
    ComponentKey component;
    int control;
};

// Which controls of the template show which components.
struct ReportLayout {
    int templateId;
    int title;    // the heading, set in a larger bold font
    int chooser;  // drop-down list of drives
    ComponentKey chooserComponent;
    std::span<const ReportField> fields;
    int status;  // the status line, red when the logic says so
    ComponentKey statusComponent;
    int badge = 0;  // 0: none; an owner-drawn static showing a label in its tone
    ComponentKey badgeComponent = {};
    int table = 0;  // 0: none; a report-style list view
    ComponentKey tableComponent = {};
    // The buttons and the logic's entries they click.
    int refresh = 0;
    ComponentKey refreshComponent = {};
    int copy = 0;
    ComponentKey copyComponent = {};
    int saveAs = 0;
    ComponentKey saveAsComponent = {};
    // How the controls follow the window's edges; the others keep their place.
    std::span<const ControlAnchor> anchors = {};
    RightsLineControls rights = {};  // none: the window never asks for rights
};

class DiskReportWindow : public FormDialog {
public:
    explicit DiskReportWindow(const ReportLayout& layout);
    ~DiskReportWindow() override;

protected:
    void OnInitDialog() override;
    bool OnCommand(int id, int notifyCode) override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Sync() override;

private:
    // F5 refreshes; Ctrl+C copies the report unless a field has text selected,
    // which it copies as fields do.
    bool TakeKey(WPARAM key, bool control);
    // The window moved to a monitor of another DPI: fonts for it, every
    // control scaled, the window where the system suggests.
    void ApplyDpi(UINT dpi, const RECT* suggested);
    void Click(ComponentKey component);
    void SyncChooser();
    void DrawBadge(const DRAWITEMSTRUCT& item) const;

    ReportLayout layout_;
    std::vector<std::string> chooserItems_;
    ReportTable table_;
    AnchoredLayout anchors_;
    HFONT headingFont_ = nullptr;
    HFONT badgeFont_ = nullptr;
    HFONT scaledFont_ = nullptr;  // the dialog's font at another DPI than it was made for
    UINT dpi_ = 96;
};

}  // namespace tw::gui
