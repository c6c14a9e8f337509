#include "gui/win32/thread_worker.h"

#include <exception>

namespace tw::gui {

class ThreadWorker::Context final : public WorkContext {
public:
    explicit Context(ThreadWorker& worker) : worker_(worker) {}
    void Post(WorkEvent event) override { worker_.Post(std::move(event)); }
    bool StopRequested() const override { return worker_.stop_; }

private:
    ThreadWorker& worker_;
};

ThreadWorker::ThreadWorker(HWND window) : window_(window) { InitializeCriticalSection(&lock_); }

ThreadWorker::~ThreadWorker() {
    Stop();
    DeleteCriticalSection(&lock_);
}

void ThreadWorker::Start(Work work, WorkReceiver receiver) {
    if (running_) return;
    Join();
    work_ = std::move(work);
    receiver_ = std::move(receiver);
    stop_ = false;
    running_ = true;
    thread_ = CreateThread(nullptr, 0, &ThreadWorker::ThreadMain, this, 0, nullptr);
    if (!thread_) {
        // No thread: the work runs here, as it would headless.
        ThreadMain(this);
    }
}

DWORD WINAPI ThreadWorker::ThreadMain(void* self) {
    auto* worker = static_cast<ThreadWorker*>(self);
    Context context(*worker);
    try {
        if (worker->work_) worker->work_(context);
    } catch (const std::exception& e) {
        context.Post(WorkEvent{WorkEvent::Kind::Line, 0, e.what(), {}});
    } catch (...) {
        context.Post(WorkEvent{WorkEvent::Kind::Line, 0, "The work met an error it did not expect.", {}});
    }
    context.Post(WorkEvent{WorkEvent::Kind::Done, 0, {}, {}});
    return 0;
}

void ThreadWorker::Post(WorkEvent event) {
    EnterCriticalSection(&lock_);
    queue_.push_back(std::move(event));
    LeaveCriticalSection(&lock_);
    PostMessageA(window_, kWorkMessage, 0, 0);
}

bool ThreadWorker::Pop(WorkEvent& event) {
    EnterCriticalSection(&lock_);
    const bool any = !queue_.empty();
    if (any) {
        event = std::move(queue_.front());
        queue_.pop_front();
    }
    LeaveCriticalSection(&lock_);
    return any;
}

void ThreadWorker::Deliver() {
    if (delivering_ || !running_) return;
    delivering_ = true;
    WorkEvent event;
    while (running_ && Pop(event)) {
        if (event.kind == WorkEvent::Kind::Done) {
            running_ = false;
            Join();
        }
        if (receiver_) receiver_(event);
    }
    delivering_ = false;
}

void ThreadWorker::Join() {
    if (!thread_) return;
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
}

void ThreadWorker::Stop() {
    stop_ = true;
    Join();
    running_ = false;
    EnterCriticalSection(&lock_);
    queue_.clear();
    LeaveCriticalSection(&lock_);
}

}  // namespace tw::gui
