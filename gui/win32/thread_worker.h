// The real program's Worker: the work runs on a thread of its own and posts
// each event to a queue, then WM_APP to the window, which takes the queued
// events on its own thread through Deliver. Stop asks the work to stop and
// waits for its thread; the work only posts, so the window's thread can
// wait without a deadlock.
#pragma once
#include <atomic>
#include <deque>

#include "app/worker.h"
#include "gui/win32/win_headers.h"

namespace tw::gui {

// The message that tells a window that events of its work are waiting.
constexpr UINT kWorkMessage = WM_APP;

class ThreadWorker final : public Worker {
public:
    explicit ThreadWorker(HWND window);
    ~ThreadWorker() override;
    ThreadWorker(const ThreadWorker&) = delete;
    ThreadWorker& operator=(const ThreadWorker&) = delete;

    void Start(Work work, WorkReceiver receiver) override;
    void Cancel() override { stop_ = true; }
    void Stop() override;
    bool Running() const override { return running_; }
    void Deliver() override;

private:
    class Context;
    static DWORD WINAPI ThreadMain(void* self);
    void Post(WorkEvent event);
    bool Pop(WorkEvent& event);
    void Join();

    HWND window_;
    Work work_;
    WorkReceiver receiver_;
    HANDLE thread_ = nullptr;
    CRITICAL_SECTION lock_;
    std::deque<WorkEvent> queue_;
    std::atomic<bool> stop_{false};
    bool running_ = false;     // from Start until Done is delivered or Stop
    bool delivering_ = false;  // a receiver's message box pumps WM_APP again
};

}  // namespace tw::gui
