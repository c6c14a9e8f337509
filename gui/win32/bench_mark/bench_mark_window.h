// "Drive Benchmark" as a real dialog over TfrmBenchMark's logic, beside the
// main window. The benchmark runs on a thread of its own; the chart draws
// the throughput samples as they arrive, one colour per stage.
#pragma once
#include <cstddef>

#include "gui/win32/work_window.h"

namespace tw::gui {

class BenchMarkWindow final : public WorkWindow {
public:
    BenchMarkWindow();

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void SyncMore() override;

private:
    void PaintChart(HDC dc, const RECT& area) const;
    std::size_t chartSamples_ = 0;  // samples the chart shows now
};

}  // namespace tw::gui
