#include "app/worker.h"

namespace tw {

namespace {

class InPlaceContext final : public WorkContext {
public:
    InPlaceContext(const WorkReceiver& receiver, const bool& stop) : receiver_(receiver), stop_(stop) {}
    void Post(WorkEvent event) override {
        if (receiver_) receiver_(event);
    }
    bool StopRequested() const override { return stop_; }

private:
    const WorkReceiver& receiver_;
    const bool& stop_;
};

}  // namespace

void InPlaceWorker::Start(Work work, WorkReceiver receiver) {
    if (running_) return;
    running_ = true;
    stop_ = false;
    InPlaceContext context(receiver, stop_);
    try {
        if (work) work(context);
    } catch (...) {
        running_ = false;
        throw;
    }
    running_ = false;
    if (receiver) receiver(WorkEvent{WorkEvent::Kind::Done, 0, {}, {}});
}

void ContextReport::Percent(int percent) { context_.Post(WorkEvent{WorkEvent::Kind::Percent, percent, {}, {}}); }

void ContextReport::Line(const std::string& text) { context_.Post(WorkEvent{WorkEvent::Kind::Line, 0, text, {}}); }

void ContextReport::Sample(const diagnostics::ThroughputSample& sample) {
    context_.Post(WorkEvent{WorkEvent::Kind::Sample, 0, {}, sample});
}

}  // namespace tw
