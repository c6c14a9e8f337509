// A report-style list view showing a table component: its headings, a line
// per row in the row's colour, and each column as wide as its widest cell or
// its heading. The list is filled again only when the component changed.
#pragma once
#include <string>
#include <vector>

#include "app/component.h"
#include "gui/win32/win_headers.h"

namespace tw::gui {

class ReportTable {
public:
    // Full-row selection and grid lines; call once the control exists.
    static void Style(HWND list);
    void Show(HWND list, const Component& table);
    // The NM_CUSTOMDRAW answer that colours the rows.
    LRESULT CustomDraw(NMLVCUSTOMDRAW& draw) const;

private:
    std::vector<std::string> columns_;  // what the list shows now
    std::vector<std::vector<std::string>> rows_;
    std::vector<Tone> tones_;
};

// The colour a tone is drawn in: text on a pale background for a row, a
// full fill for a badge.
COLORREF ToneFill(Tone tone);
COLORREF ToneText(Tone tone);
COLORREF TonePale(Tone tone);

}  // namespace tw::gui
