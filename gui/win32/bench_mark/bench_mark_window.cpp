#include "gui/win32/bench_mark/bench_mark_window.h"

#include <algorithm>
#include <string>

#include "app/tfrm_bench_mark.h"
#include "gui/win32/bench_mark/bench_mark_ids.h"

namespace tw::gui {

namespace {

using diagnostics::BenchPhase;

std::vector<ControlBinding> Bindings() {
    using B = BenchControl;
    auto bind = [](B id, int control) { return ControlBinding{KeyOf(id), control}; };
    return {bind(B::DriveChooser, IDC_BENCH_DRIVE),
            bind(B::SizeChooser, IDC_BENCH_SIZE),
            bind(B::Start, IDC_BENCH_START),
            bind(B::Cancel, IDC_BENCH_CANCEL),
            bind(B::CopyResults, IDC_BENCH_COPY),
            bind(B::Progress, IDC_BENCH_PROGRESS),
            bind(B::Log, IDC_BENCH_LOG)};
}

struct PhaseStyle {
    BenchPhase phase;
    COLORREF colour;
    const char* name;
};

constexpr PhaseStyle kPhases[] = {
    {BenchPhase::SequentialWrite, RGB(200, 60, 40), "Seq. write"},
    {BenchPhase::SequentialRead, RGB(40, 110, 200), "Seq. read"},
    {BenchPhase::RandomRead, RGB(40, 150, 70), "Random read"},
    {BenchPhase::RandomWrite, RGB(190, 130, 20), "Random write"},
};

// A round top for the MB/s axis: 1, 2 or 5 times a power of ten.
double NiceCeiling(double value) {
    double step = 1;
    while (step * 10 <= value) step *= 10;
    for (const double m : {1.0, 2.0, 5.0, 10.0}) {
        if (step * m >= value) return step * m;
    }
    return step * 10;
}

}  // namespace

BenchMarkWindow::BenchMarkWindow() : WorkWindow(IDD_BENCH_MARK, Bindings()) {}

INT_PTR BenchMarkWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DRAWITEM && wParam == IDC_BENCH_CHART) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (!item) return FALSE;
        PaintChart(item->hDC, item->rcItem);
        return TRUE;
    }
    return WorkWindow::HandleMessage(message, wParam, lParam);
}

void BenchMarkWindow::SyncMore() {
    const auto* bench = dynamic_cast<const TfrmBenchMark*>(form_);
    if (!bench || bench->Samples().size() == chartSamples_) return;
    chartSamples_ = bench->Samples().size();
    InvalidateRect(Item(IDC_BENCH_CHART), nullptr, FALSE);
}

void BenchMarkWindow::PaintChart(HDC dc, const RECT& area) const {
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    FrameRect(dc, &area, GetSysColorBrush(COLOR_BTNSHADOW));
    const auto* bench = dynamic_cast<const TfrmBenchMark*>(form_);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(hwnd(), WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const int line = metrics.tmHeight;
    // The legend has the top row to itself; the plot starts below it.
    const RECT plot{area.left + 8 * metrics.tmAveCharWidth, area.top + 2 * line + 2, area.right - 8,
                    area.bottom - line - 6};

    const std::vector<diagnostics::ThroughputSample> none;
    const auto& samples = bench ? bench->Samples() : none;
    double top = 1;
    double end = 1;
    for (const auto& s : samples) {
        top = std::max(top, s.mbPerSecond);
        end = std::max(end, s.seconds);
    }
    top = NiceCeiling(top);

    // Axes, the top value and "MB/s", the seconds at the right.
    HPEN axisPen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    HGDIOBJ oldPen = SelectObject(dc, axisPen);
    MoveToEx(dc, plot.left, plot.top, nullptr);
    LineTo(dc, plot.left, plot.bottom);
    LineTo(dc, plot.right, plot.bottom);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    const std::string topText = std::to_string(static_cast<long long>(top));
    TextOutA(dc, area.left + 4, plot.top - line / 2, topText.c_str(), static_cast<int>(topText.size()));
    TextOutA(dc, area.left + 4, plot.bottom - line, "MB/s", 4);
    const std::string seconds = std::to_string(static_cast<long long>(end + 0.5)) + " s";
    SIZE extent{};
    GetTextExtentPoint32A(dc, seconds.c_str(), static_cast<int>(seconds.size()), &extent);
    TextOutA(dc, plot.right - extent.cx, plot.bottom + 2, seconds.c_str(), static_cast<int>(seconds.size()));

    // The legend along the top.
    int x = plot.left + 6;
    for (const PhaseStyle& p : kPhases) {
        SetTextColor(dc, p.colour);
        const int n = static_cast<int>(std::char_traits<char>::length(p.name));
        TextOutA(dc, x, area.top + 1, p.name, n);
        GetTextExtentPoint32A(dc, p.name, n, &extent);
        x += extent.cx + 12;
    }

    // One line per stage through its samples.
    const int width = plot.right - plot.left;
    const int height = plot.bottom - plot.top;
    for (const PhaseStyle& p : kPhases) {
        HPEN pen = CreatePen(PS_SOLID, 2, p.colour);
        SelectObject(dc, pen);
        bool first = true;
        for (const auto& s : samples) {
            if (s.phase != p.phase) continue;
            const int px = plot.left + static_cast<int>(width * (s.seconds / end));
            const int py = plot.bottom - static_cast<int>(height * (s.mbPerSecond / top));
            if (first) {
                MoveToEx(dc, px, py, nullptr);
                first = false;
            } else {
                LineTo(dc, px, py);
            }
        }
        SelectObject(dc, axisPen);
        DeleteObject(pen);
    }
    SelectObject(dc, oldPen);
    DeleteObject(axisPen);
    SelectObject(dc, oldFont);
}

}  // namespace tw::gui
