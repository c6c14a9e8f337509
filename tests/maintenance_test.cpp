// The Check Disk and Drive Benchmark windows on the maintenance machine:
// what each run shows, how it ends, and that the benchmark's file never
// outlives a run, however the run ends.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/tform1.h"
#include "cli/cli.h"
#include "platform/drive_names.h"
#include "test_support.h"

namespace {

using tw::BenchControl;
using tw::CheckDiskControl;
using Outcome = tw::diagnostics::CheckOutcome;
using Ends = tw::diagnostics::BenchOutcome;

bool Contains(const std::vector<std::string>& lines, const std::string& text) {
    for (const std::string& line : lines) {
        if (line.find(text) != std::string::npos) return true;
    }
    return false;
}

// Runs the work in place and, after `stopAfter` events, does what the user
// does mid-run: presses Cancel or closes the window.
struct Interrupting : twtest::RecordingDialogs {
    struct Worker final : tw::Worker {
        Interrupting& owner;
        tw::InPlaceWorker inner;
        explicit Worker(Interrupting& o) : owner(o) {}
        void Start(tw::Work work, tw::WorkReceiver receiver) override {
            int events = 0;
            inner.Start(std::move(work), [&](const tw::WorkEvent& e) {
                receiver(e);
                if (++events == owner.stopAfter && owner.interrupt) owner.interrupt();
            });
        }
        void Cancel() override { inner.Cancel(); }
        void Stop() override { inner.Stop(); }
        bool Running() const override { return inner.Running(); }
    };
    std::unique_ptr<tw::Worker> MakeWorker(tw::FormLogic&) override { return std::make_unique<Worker>(*this); }

    int stopAfter = 0;
    std::function<void()> interrupt;
};

class Maintenance : public ::testing::Test {
protected:
    void SetUp() override {
        machine_ = twtest::ExampleMachine("maintenance.json");
        form_ = std::make_unique<tw::TForm1>(*machine_, view_, dialogs_, app_);
    }
    tw::TfrmCheckDisk& CheckDisk() { return form_->CheckDisk(); }
    tw::TfrmBenchMark& Bench() { return form_->BenchMark(); }
    void Choose(tw::FormLogic& window, const std::string& chooser, char letter) {
        const auto& items = window.Get(chooser).items;
        for (size_t i = 0; i < items.size(); ++i) {
            if (items[i][0] == letter) return window.Choose(chooser, static_cast<int>(i));
        }
        FAIL() << "no drive " << letter;
    }
    bool BenchFileLeft(char letter) {
        return machine_->FileText(tw::platform::RootPath(letter) + "tarnwell-benchmark.tmp").has_value();
    }

    std::unique_ptr<tw::sim::Machine> machine_;
    tw::Application app_;
    twtest::RecordingView view_;
    Interrupting dialogs_;
    std::unique_ptr<tw::TForm1> form_;
};

TEST_F(Maintenance, TheMainWindowsEntriesShowTheWindows) {
    const struct {
        const char* entry;
        tw::FormLogic* (*window)(tw::TForm1&);
    } cases[] = {
        {"ToolButton11", [](tw::TForm1& f) -> tw::FormLogic* { return &f.CheckDisk(); }},
        {"CheckDisk1", [](tw::TForm1& f) -> tw::FormLogic* { return &f.CheckDisk(); }},
        {"DriveBenchmark1", [](tw::TForm1& f) -> tw::FormLogic* { return &f.BenchMark(); }},
        {"DriveBenchmark2", [](tw::TForm1& f) -> tw::FormLogic* { return &f.BenchMark(); }},
    };
    for (const auto& c : cases) {
        dialogs_.windows.clear();
        form_->Click(c.entry);
        ASSERT_EQ(dialogs_.windows.size(), 1u) << c.entry;
        EXPECT_EQ(dialogs_.windows[0], c.window(*form_)) << c.entry;
    }
    EXPECT_EQ(CheckDisk().Get(CheckDiskControl::DriveChooser).items,
              (std::vector<std::string>{"C: [System]", "D: [Data]", "E: [STICK]", "F: [Failing]", "G: [Full]", "N: []",
                                        "R: [Archive]"}));
}

TEST_F(Maintenance, CheckDiskRunsShowTheLibrarysTextAndVerdict) {
    const struct {
        char drive;
        bool fix;
        Outcome outcome;
        const char* logged;
    } cases[] = {
        {'C', false, Outcome::Sound, "found no problems."},
        {'D', false, Outcome::Problems, "Windows found problems with the file system."},
        {'E', false, Outcome::Sound, "The type of the file system is FAT32."},
        {'E', true, Outcome::Problems, "Chkdsk cannot run because the volume is in use by another process."},
        {'N', false, Outcome::NotReady, "Drive N: is not ready."},
    };
    form_->Click("CheckDisk1");
    for (const auto& c : cases) {
        Choose(CheckDisk(), "cbDrive", c.drive);
        CheckDisk().SetChecked(CheckDiskControl::FixErrors, c.fix);
        CheckDisk().Click(CheckDiskControl::Start);
        EXPECT_EQ(CheckDisk().LastOutcome(), c.outcome) << c.drive << c.fix;
        EXPECT_TRUE(Contains(CheckDisk().Get(CheckDiskControl::Log).items, c.logged)) << c.drive << c.fix;
        EXPECT_TRUE(CheckDisk().Get(CheckDiskControl::Start).enabled);
        EXPECT_FALSE(CheckDisk().Get(CheckDiskControl::Cancel).enabled);
        if (c.outcome == Outcome::Sound) {
            EXPECT_EQ(CheckDisk().Get(CheckDiskControl::Progress).position, 100);
        }
    }
    EXPECT_EQ(machine_->LoadedLibraryCount(), 0);
}

TEST_F(Maintenance, CheckDiskWithoutTheLibraryOrItsEntrySaysSoAndDoesNothing) {
    for (const char* fmifs : {"", R"(, "fmifs": {"check_entry": false})"}) {
        machine_ = twtest::MachineFromText(std::string(R"({"drives": {"C": {"volume": {"file_system": "NTFS"}}})") +
                                           fmifs + "}");
        form_ = std::make_unique<tw::TForm1>(*machine_, view_, dialogs_, app_);
        form_->Click("ToolButton11");
        EXPECT_EQ(CheckDisk().Get(CheckDiskControl::Log).items,
                  std::vector<std::string>{"Check Disk is not available on this system."});
        EXPECT_FALSE(CheckDisk().Get(CheckDiskControl::Start).enabled);
        CheckDisk().Click(CheckDiskControl::Start);
        EXPECT_EQ(machine_->ChecksRun(), 0);
        EXPECT_FALSE(CheckDisk().LastOutcome().has_value());
        EXPECT_EQ(machine_->LoadedLibraryCount(), 0);
    }
}

TEST_F(Maintenance, CheckDiskLoadsTheLibraryFromTheSystemFolderOnly) {
    machine_ = twtest::MachineFromText(R"({"drives": {"C": {"volume": {"file_system": "NTFS"}}},
        "directories": {"windows": "D:\\Win dows", "system": "D:\\Win dows\\system32"}, "fmifs": {}})");
    form_ = std::make_unique<tw::TForm1>(*machine_, view_, dialogs_, app_);
    form_->Click("ToolButton11");
    CheckDisk().Click(CheckDiskControl::Start);
    EXPECT_EQ(machine_->ChecksRun(), 1);
    ASSERT_FALSE(machine_->LibraryLoads().empty());
    for (const auto& load : machine_->LibraryLoads()) {
        EXPECT_EQ(load, (tw::sim::LibraryLoad{"D:\\Win dows\\system32\\fmifs.dll", 0x800}));
    }
}

TEST_F(Maintenance, CancellingACheckStopsTheLibrary) {
    form_->Click("CheckDisk1");
    dialogs_.stopAfter = 2;  // the first text and the first progress
    dialogs_.interrupt = [this] { CheckDisk().Click(CheckDiskControl::Cancel); };
    CheckDisk().Click(CheckDiskControl::Start);
    EXPECT_EQ(CheckDisk().LastOutcome(), Outcome::Stopped);
    EXPECT_FALSE(Contains(CheckDisk().Get(CheckDiskControl::Log).items, "found no problems"));
    EXPECT_EQ(machine_->LoadedLibraryCount(), 0);
}

TEST_F(Maintenance, BenchmarkRunsEndAsTheDriveAllowsAndLeaveNoFile) {
    const struct {
        char drive;
        Ends outcome;
        const char* message;  // logged, and in a box unless the run completed
    } cases[] = {
        {'C', Ends::Completed, "Sequential write: 245.3 MB/s"},
        {'F', Ends::Failed, "Writing the test file failed"},
        {'G', Ends::Refused, "Drive G: has 10 MB free; the test needs 64 MB."},
        {'R', Ends::Refused, "Drive R: is read-only."},
    };
    form_->Click("DriveBenchmark2");
    Bench().SetRandomSeconds(0.2);
    for (const auto& c : cases) {
        dialogs_.boxes.clear();
        Choose(Bench(), "cbDrive", c.drive);
        Bench().Click(BenchControl::Start);
        ASSERT_TRUE(Bench().LastResult()) << c.drive;
        EXPECT_EQ(Bench().LastResult()->outcome, c.outcome) << c.drive;
        EXPECT_TRUE(Contains(Bench().Get(BenchControl::Log).items, c.message)) << c.drive;
        EXPECT_EQ(dialogs_.boxes.size(), c.outcome == Ends::Completed ? 0u : 1u) << c.drive;
        EXPECT_FALSE(BenchFileLeft(c.drive)) << c.drive;
        EXPECT_EQ(Bench().Get(BenchControl::CopyResults).enabled, c.outcome == Ends::Completed) << c.drive;
    }
    EXPECT_EQ(machine_->OpenHandleCount(), 0);
}

TEST_F(Maintenance, ACompletedBenchmarkChartsEachStageAndCopiesItsResults) {
    form_->Click("DriveBenchmark1");
    Bench().SetRandomSeconds(0.2);
    Bench().Click(BenchControl::Start);
    for (auto phase : {tw::diagnostics::BenchPhase::SequentialWrite, tw::diagnostics::BenchPhase::SequentialRead,
                       tw::diagnostics::BenchPhase::RandomRead, tw::diagnostics::BenchPhase::RandomWrite}) {
        EXPECT_TRUE(std::any_of(Bench().Samples().begin(), Bench().Samples().end(),
                                [phase](const auto& s) { return s.phase == phase && s.mbPerSecond > 0; }));
    }
    Bench().Click(BenchControl::CopyResults);
    const std::string clipboard = machine_->ClipboardText().value_or("");
    EXPECT_EQ(clipboard.substr(0, clipboard.find("\r\n")), "Drive Benchmark of C:\\, 64 MB test file");
    EXPECT_NE(clipboard.find("Random 4 KiB write: "), std::string::npos);
}

TEST_F(Maintenance, CancelOrClosingMidBenchmarkStopsItAndDeletesTheFile) {
    const struct {
        const char* how;
        std::function<void(tw::TfrmBenchMark&)> interrupt;
    } cases[] = {
        {"Cancel", [](tw::TfrmBenchMark& b) { b.Click(BenchControl::Cancel); }},
        {"close", [](tw::TfrmBenchMark& b) { b.FormClose(); }},
    };
    form_->Click("DriveBenchmark1");
    for (const auto& c : cases) {
        dialogs_.stopAfter = 10;  // inside the sequential write
        dialogs_.interrupt = [&] {
            EXPECT_TRUE(BenchFileLeft('C')) << c.how;
            c.interrupt(Bench());
        };
        Bench().Click(BenchControl::Start);
        EXPECT_EQ(Bench().LastResult()->outcome, Ends::Stopped) << c.how;
        EXPECT_FALSE(BenchFileLeft('C')) << c.how;
        EXPECT_TRUE(Bench().Get(BenchControl::Start).enabled) << c.how;
    }
}

TEST_F(Maintenance, TheCommandLineToolsPrintAndSayHowTheyEnded) {
    const std::string machine = std::string(TW_EXAMPLES_DIR) + "/maintenance.json";
    const struct {
        std::vector<std::string> args;
        int code;
        const char* printed;
    } cases[] = {
        {{"chkdsk", "C"}, tw::cli::kExitSuccess, "No problems were found."},
        {{"chkdsk", "D"}, tw::cli::kExitFailed, "Windows found problems with the file system."},
        {{"chkdsk", "E:", "--fix"}, tw::cli::kExitFailed, "Chkdsk cannot run because the volume is in use"},
        {{"bench", "E", "--size", "64M"}, tw::cli::kExitSuccess, "Sequential read: 38.7 MB/s"},
        {{"bench", "G"}, tw::cli::kExitFailed, "Drive G: has 10 MB free; the test needs 64 MB."},
        {{"bench", "C", "--size", "2G"}, tw::cli::kExitUsage, "is not a test size"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"--machine", machine};
        args.insert(args.end(), c.args.begin(), c.args.end());
        std::istringstream in;
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(tw::cli::Run(args, in, out, err), c.code) << c.args[1];
        EXPECT_NE((out.str() + err.str()).find(c.printed), std::string::npos) << out.str() << err.str();
    }
}

}  // namespace
