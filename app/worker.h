// Long work of a window (a disk check, a benchmark) and how its news gets
// back to the window. The real program runs the work on a thread of its own
// that posts each event to the window, which takes it on its own thread;
// headless runs and tests run it in place, each event handed over as it is
// posted. Either way the window's logic sees the events in order, on its own
// thread, the last one always Done.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "diagnostics/task_report.h"

namespace tw {

struct WorkEvent {
    enum class Kind { Percent, Line, Sample, Done };
    Kind kind = Kind::Line;
    int percent = 0;
    std::string text;
    diagnostics::ThroughputSample sample;
};

// What the work sees while it runs: where its events go, and whether it
// should stop.
class WorkContext {
public:
    virtual ~WorkContext() = default;
    virtual void Post(WorkEvent event) = 0;
    virtual bool StopRequested() const = 0;
};

using Work = std::function<void(WorkContext&)>;
using WorkReceiver = std::function<void(const WorkEvent&)>;

class Worker {
public:
    virtual ~Worker() = default;
    // Starts `work`; its events reach `receiver`, then a Done event once
    // the work has returned.
    virtual void Start(Work work, WorkReceiver receiver) = 0;
    // Asks the work to stop; its Done event still comes.
    virtual void Cancel() = 0;
    // Asks the work to stop and waits until it has; events it has not
    // delivered yet are dropped, Done included.
    virtual void Stop() = 0;
    virtual bool Running() const = 0;
    // Hands the receiver what the work posted since the last call (the
    // window calls it when told that events are waiting).
    virtual void Deliver() {}
};

// Runs the work inside Start, each event handed to the receiver at once. A
// receiver may call Cancel from an event.
class InPlaceWorker final : public Worker {
public:
    void Start(Work work, WorkReceiver receiver) override;
    void Cancel() override { stop_ = true; }
    void Stop() override { stop_ = true; }
    bool Running() const override { return running_; }

private:
    bool running_ = false;
    bool stop_ = false;
};

// The task report of diagnostics work, posting into a work context.
class ContextReport final : public diagnostics::TaskReport {
public:
    explicit ContextReport(WorkContext& context) : context_(context) {}
    void Percent(int percent) override;
    void Line(const std::string& text) override;
    void Sample(const diagnostics::ThroughputSample& sample) override;
    bool StopRequested() override { return context_.StopRequested(); }

private:
    WorkContext& context_;
};

}  // namespace tw
