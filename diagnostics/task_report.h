// What a long task tells whoever runs it while it works, and how it learns
// that it should stop. The task calls these on the thread it runs on.
#pragma once
#include <string>

namespace tw::diagnostics {

// The stages of a drive benchmark, in the order they run.
enum class BenchPhase { SequentialWrite, SequentialRead, RandomRead, RandomWrite };

// Throughput over one stretch of a benchmark.
struct ThroughputSample {
    BenchPhase phase = BenchPhase::SequentialWrite;
    double seconds = 0;      // since the benchmark started, at the stretch's end
    double mbPerSecond = 0;  // MB = 1,000,000 bytes
};

class TaskReport {
public:
    virtual ~TaskReport() = default;
    virtual void Percent(int percent) = 0;
    // One line of the task's log.
    virtual void Line(const std::string& text) = 0;
    virtual void Sample(const ThroughputSample&) {}
    virtual bool StopRequested() = 0;
};

}  // namespace tw::diagnostics
