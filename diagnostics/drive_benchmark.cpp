#include "diagnostics/drive_benchmark.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <random>

#include "platform/drive_names.h"
#include "platform/system_error_text.h"

namespace tw::diagnostics {

using namespace tw::platform;

namespace {

constexpr DWORD kBlock = 1024 * 1024;
constexpr DWORD kSmallBlock = 4096;
// Far above what any disk does in the random stages' time; a clock that
// does not move cannot keep a stage going for ever.
constexpr ULONGLONG kMaxRandomOperations = 4'000'000;
constexpr int kSamplesPerStage = 32;

// A buffer on a boundary that suits every sector size up to `alignment`.
struct AlignedFree {
    std::align_val_t alignment;
    void operator()(BYTE* p) const { ::operator delete(p, alignment); }
};
using AlignedBuffer = std::unique_ptr<BYTE, AlignedFree>;

AlignedBuffer MakeBuffer(std::size_t size, std::size_t alignment) {
    const std::align_val_t a{alignment};
    auto* p = static_cast<BYTE*>(::operator new(size, a));
    for (std::size_t i = 0; i < size; ++i) p[i] = static_cast<BYTE>(i * 31 + 7);
    return AlignedBuffer(p, AlignedFree{a});
}

// The temporary file, closed and deleted when the run leaves, however it does.
class TempFile {
public:
    TempFile(Kernel& kernel, std::string path) : kernel_(kernel), path_(std::move(path)) {}
    ~TempFile() {
        if (handle_ != INVALID_HANDLE_VALUE) kernel_.CloseHandle(handle_);
        if (created_) kernel_.DeleteFileA(path_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    bool Create() {
        handle_ = kernel_.CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_NO_BUFFERING | FILE_FLAG_WRITE_THROUGH, 0);
        created_ = handle_ != INVALID_HANDLE_VALUE;
        return created_;
    }
    HANDLE handle() const { return handle_; }
    bool Seek(ULONGLONG offset) {
        LONG high = static_cast<LONG>(offset >> 32);
        const DWORD low =
            kernel_.SetFilePointer(handle_, static_cast<LONG>(static_cast<DWORD>(offset)), &high, FILE_BEGIN);
        return !(low == INVALID_SET_FILE_POINTER && kernel_.GetLastError() != ERROR_SUCCESS);
    }

private:
    Kernel& kernel_;
    std::string path_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    bool created_ = false;
};

class Clock {
public:
    explicit Clock(Kernel& kernel) : kernel_(kernel) {
        if (!kernel_.QueryPerformanceFrequency(&frequency_) || frequency_ == 0) frequency_ = 1000;
        start_ = Ticks();
    }
    double Seconds() { return static_cast<double>(Ticks() - start_) / static_cast<double>(frequency_); }

private:
    ULONGLONG Ticks() {
        ULONGLONG now = 0;
        kernel_.QueryPerformanceCounter(&now);
        return now;
    }
    Kernel& kernel_;
    ULONGLONG frequency_ = 1000;
    ULONGLONG start_ = 0;
};

double MBs(ULONGLONG bytes, double seconds) { return seconds > 0 ? static_cast<double>(bytes) / 1e6 / seconds : 0; }

std::string DriveText(const std::string& folder) { return "Drive " + folder.substr(0, 2); }

// Why the drive cannot take the test, or empty when it can.
std::string Refusal(Kernel& kernel, const BenchOptions& options, DWORD& sectorSize) {
    const std::string root = options.folder.substr(0, 3);
    DWORD flags = 0;
    if (!kernel.GetVolumeInformationA(root.c_str(), nullptr, 0, nullptr, nullptr, &flags, nullptr, 0)) {
        return DriveText(options.folder) + " is not ready.";
    }
    if ((flags & FILE_READ_ONLY_VOLUME) || kernel.GetDriveTypeA(root.c_str()) == DRIVE_CDROM) {
        return DriveText(options.folder) + " is read-only.";
    }
    ULONGLONG freeToCaller = 0;
    ULONGLONG total = 0;
    ULONGLONG totalFree = 0;
    if (!kernel.GetDiskFreeSpaceExA(options.folder.c_str(), &freeToCaller, &total, &totalFree)) {
        return DriveText(options.folder) + " is not ready.";
    }
    if (freeToCaller < options.size) {
        return DriveText(options.folder) + " has " + Decimal(freeToCaller / kMiB) + " MB free; the test needs " +
               Decimal(options.size / kMiB) + " MB.";
    }
    DWORD sectorsPerCluster = 0;
    DWORD bytesPerSector = 0;
    DWORD freeClusters = 0;
    DWORD clusters = 0;
    if (kernel.GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters) &&
        bytesPerSector > 0) {
        sectorSize = bytesPerSector;
    }
    return {};
}

class Run {
public:
    Run(Kernel& kernel, const BenchOptions& options, TaskReport& report, BenchResult& result)
        : kernel_(kernel), options_(options), report_(report), result_(result), clock_(kernel) {}

    // False when the run ends early; the result says why.
    bool Sequential(TempFile& file, BYTE* buffer, bool write) {
        const BenchPhase phase = write ? BenchPhase::SequentialWrite : BenchPhase::SequentialRead;
        const ULONGLONG blocks = options_.size / kBlock;
        const ULONGLONG perSample = std::max<ULONGLONG>(1, blocks / kSamplesPerStage);
        if (!write && !file.Seek(0)) return Fail("Reading the test file failed");
        const double start = clock_.Seconds();
        double sampleStart = start;
        ULONGLONG sampleBytes = 0;
        for (ULONGLONG i = 0; i < blocks; ++i) {
            if (report_.StopRequested()) return Stop();
            DWORD done = 0;
            const BOOL ok = write ? kernel_.WriteFile(file.handle(), buffer, kBlock, &done, nullptr)
                                  : kernel_.ReadFile(file.handle(), buffer, kBlock, &done, nullptr);
            if (!ok || done != kBlock) {
                return Fail(write ? "Writing the test file failed" : "Reading the test file failed", ok);
            }
            sampleBytes += kBlock;
            if ((i + 1) % perSample == 0 || i + 1 == blocks) {
                const double now = clock_.Seconds();
                report_.Sample({phase, now, MBs(sampleBytes, now - sampleStart)});
                sampleStart = now;
                sampleBytes = 0;
                const int base = write ? 0 : 35;
                report_.Percent(base + static_cast<int>(35 * (i + 1) / blocks));
            }
        }
        const double rate = MBs(blocks * kBlock, clock_.Seconds() - start);
        (write ? result_.sequentialWriteMBs : result_.sequentialReadMBs) = rate;
        report_.Line(std::string(write ? "Sequential write" : "Sequential read") + " done.");
        return true;
    }

    bool Random(TempFile& file, BYTE* buffer, bool write) {
        const BenchPhase phase = write ? BenchPhase::RandomWrite : BenchPhase::RandomRead;
        const ULONGLONG slots = options_.size / kSmallBlock;
        std::minstd_rand places(write ? 2u : 1u);  // the same places every run
        const double start = clock_.Seconds();
        const double step = options_.randomSeconds / kSamplesPerStage;
        double sampleStart = start;
        ULONGLONG sampleOps = 0;
        ULONGLONG ops = 0;
        double now = start;
        while (now - start < options_.randomSeconds && ops < kMaxRandomOperations) {
            if (report_.StopRequested()) return Stop();
            if (!file.Seek((places() % slots) * kSmallBlock)) return Fail("Moving in the test file failed");
            DWORD done = 0;
            const BOOL ok = write ? kernel_.WriteFile(file.handle(), buffer, kSmallBlock, &done, nullptr)
                                  : kernel_.ReadFile(file.handle(), buffer, kSmallBlock, &done, nullptr);
            if (!ok || done != kSmallBlock) {
                return Fail(write ? "Writing the test file failed" : "Reading the test file failed", ok);
            }
            ++ops;
            ++sampleOps;
            now = clock_.Seconds();
            if (now - sampleStart >= step) {
                report_.Sample({phase, now, MBs(sampleOps * kSmallBlock, now - sampleStart)});
                sampleStart = now;
                sampleOps = 0;
                const int base = write ? 85 : 70;
                report_.Percent(base + static_cast<int>(std::min(15.0, 15 * (now - start) / options_.randomSeconds)));
            }
        }
        const double elapsed = now - start;
        (write ? result_.randomWriteIops : result_.randomReadIops) = elapsed > 0 ? ops / elapsed : 0;
        report_.Line(std::string(write ? "Random write" : "Random read") + " done.");
        return true;
    }

    bool Fail(const std::string& what, BOOL callSucceeded = FALSE) {
        const DWORD error = callSucceeded ? ERROR_DISK_FULL : kernel_.GetLastError();
        const std::string text = SystemErrorText(kernel_, error);
        result_.outcome = BenchOutcome::Failed;
        result_.message = what + (text.empty() ? " (error " + Decimal(error) + ")." : ": " + text + ".");
        return false;
    }
    bool Stop() {
        result_.outcome = BenchOutcome::Stopped;
        result_.message = "The benchmark was stopped.";
        return false;
    }

private:
    Kernel& kernel_;
    const BenchOptions& options_;
    TaskReport& report_;
    BenchResult& result_;
    Clock clock_;
};

// The result's samples as they are reported.
class CollectingReport final : public TaskReport {
public:
    CollectingReport(TaskReport& inner, BenchResult& result) : inner_(inner), result_(result) {}
    void Percent(int percent) override { inner_.Percent(percent); }
    void Line(const std::string& text) override { inner_.Line(text); }
    void Sample(const ThroughputSample& sample) override {
        result_.samples.push_back(sample);
        inner_.Sample(sample);
    }
    bool StopRequested() override { return inner_.StopRequested(); }

private:
    TaskReport& inner_;
    BenchResult& result_;
};

}  // namespace

std::string BenchFilePath(const std::string& folder) {
    std::string path = folder;
    if (!path.empty() && path.back() != '\\') path += '\\';
    return path + kBenchFileName;
}

BenchResult RunBenchmark(Kernel& kernel, const BenchOptions& options, TaskReport& outer) {
    BenchResult result;
    if (options.folder.size() < 3 || options.folder[1] != ':' || options.folder[2] != '\\' || options.size < kBlock ||
        options.size % kBlock != 0) {
        result.outcome = BenchOutcome::Refused;
        result.message = "The benchmark needs a drive or folder and a size in whole MiB.";
        return result;
    }
    DWORD sectorSize = 512;
    result.message = Refusal(kernel, options, sectorSize);
    if (!result.message.empty()) {
        result.outcome = BenchOutcome::Refused;
        return result;
    }
    CollectingReport report(outer, result);
    const std::size_t alignment = std::max<std::size_t>(4096, sectorSize);
    AlignedBuffer buffer = MakeBuffer(kBlock, alignment);
    Run run(kernel, options, report, result);
    {
        TempFile file(kernel, BenchFilePath(options.folder));
        if (!file.Create()) {
            const DWORD error = kernel.GetLastError();
            if (error == ERROR_WRITE_PROTECT) {
                result.outcome = BenchOutcome::Refused;
                result.message = DriveText(options.folder) + " is read-only.";
            } else {
                run.Fail("Creating the test file failed");
            }
            return result;
        }
        report.Line("Testing " + options.folder + " with " + Decimal(options.size / kMiB) + " MB.");
        if (!run.Sequential(file, buffer.get(), true) || !run.Sequential(file, buffer.get(), false) ||
            !run.Random(file, buffer.get(), false) || !run.Random(file, buffer.get(), true)) {
            return result;
        }
    }
    report.Percent(100);
    result.outcome = BenchOutcome::Completed;
    return result;
}

}  // namespace tw::diagnostics
