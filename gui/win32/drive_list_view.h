// ListView1: a virtual report list over the form's rows. It asks the rows
// for its text and images, paints them with the logic's row colours and
// reports the user's selection, double clicks and right clicks.
#pragma once
#include <functional>
#include <vector>

#include "gui/win32/win_headers.h"
#include "inventory/drive_row.h"

namespace tw::gui {

class DriveListView {
public:
    struct Events {
        // The user changed the selection: the row the actions act on (the
        // focused one, -1: none) and every selected row, for copying.
        std::function<void(int index, std::vector<int> selected)> selected;
        std::function<void()> doubleClicked;
        std::function<void(POINT screen)> rightClicked;
    };

    DriveListView(const std::vector<inventory::DriveRow>& rows, Events events)
        : rows_(rows), events_(std::move(events)) {}
    ~DriveListView();
    DriveListView(const DriveListView&) = delete;
    DriveListView& operator=(const DriveListView&) = delete;

    void Create(HWND parent, UINT controlId, UINT dpi);
    HWND hwnd() const { return hwnd_; }

    // New DPI: column widths, images and fonts follow.
    void SetDpi(UINT dpi);
    void SetBold(bool bold);
    // The rows changed: new count, then the given row selected and focused
    // (-1: none) and the marked rows selected too.
    void ShowRows(int selected, const std::vector<int>& marked);
    // Handles the list's notifications; true when handled.
    bool OnNotify(const NMHDR* header, LRESULT& result);

private:
    void CreateFonts();
    void CreateImages();
    int ColumnWidth(size_t column) const;
    void ApplyFont();
    void SizeColumns();
    LRESULT CustomDraw(NMLVCUSTOMDRAW* draw);
    void ReportSelection();
    void FillItem(LVITEMA& item) const;

    const std::vector<inventory::DriveRow>& rows_;
    Events events_;
    HWND hwnd_ = nullptr;
    UINT dpi_ = 96;
    bool bold_ = false;
    bool syncing_ = false;  // our own selection changes are not the user's
    HFONT normalFont_ = nullptr;
    HFONT boldFont_ = nullptr;
    HIMAGELIST images_ = nullptr;
};

}  // namespace tw::gui
