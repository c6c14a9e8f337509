// Disk health through the simulated machine: the routes each bus gets, the
// fall-backs on refusals, the disk's own verdict, NVMe pages, and the same
// attribute lines from every ATA route as from the driver's requests.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "diagnostics/disk_health.h"
#include "diagnostics/smart_api.h"
#include "platform/sim/machine.h"
#include "reports/smart_printer.h"

namespace {

using namespace tw::diagnostics;
using tw::sim::Machine;

std::unique_ptr<Machine> DiskMachine(const std::string& disk, const std::string& extra = "") {
    return Machine::FromJsonText("{" + extra + R"("physical_disks": {"0": )" + disk + "}}", "test.json");
}

const std::string kDevice =
    R"("devices": {"0": {"identify": {"model": "Brightmoor BM500A2-7K", "serial": "BM5A0F3C9017", "firmware": "AB12",
                                      "sectors": 976773168, "lba48": true},
                         "attributes": [{"id": 5, "flags": 51, "current": 100, "worst": 100, "raw": 3, "threshold": 36},
                                        {"id": 194, "flags": 34, "current": 40, "worst": 45, "raw": 40}]DEVICE}})";

std::string Disk(const std::string& fields, const std::string& device = "") {
    std::string d = kDevice;
    d.replace(d.find("DEVICE"), 6, device);
    return "{" + fields + (fields.empty() ? "" : ", ") + d + "}";
}

DiskHealth Read(Machine& m, int disk = 0) {
    DiskHealth h = ReadDiskHealth(m, disk);
    EXPECT_EQ(m.OpenHandleCount(), 0);
    return h;
}

std::vector<HealthRoute> Tried(const DiskHealth& h) {
    std::vector<HealthRoute> routes;
    for (const RouteAttempt& a : h.attempts) routes.push_back(a.route);
    return routes;
}

std::string AttributeLines(const TSmartResult& r) {
    std::ostringstream out;
    tw::reports::PrintAttributeLines(r, out);
    return out.str();
}

TEST(HealthRoutes, TheBusDecidesWhichRoutesAreTriedAndTheFirstAnswerWins) {
    using R = HealthRoute;
    struct Case {
        const char* fields;
        R route;
        std::vector<R> tried;
    } cases[] = {
        {R"("bus": "ATA")", R::kSmartDriver, {R::kSmartDriver}},
        {R"("bus": "SATA", "answers": ["ata"])", R::kAtaPassThrough, {R::kSmartDriver, R::kAtaPassThrough}},
        {R"("bus": "USB")", R::kSat16, {R::kSat16}},
        {R"("bus": "USB", "answers": ["sat12"])", R::kSat12, {R::kSat16, R::kSat12}},
        // A USB disk is never asked the driver's requests, even if it would answer.
        {R"("bus": "USB", "answers": ["smart", "ata"])", R::kNone, {R::kSat16, R::kSat12}},
        // A disk that does not name its bus is asked everything in turn.
        {R"("answers": ["sat16"])", R::kSat16, {R::kSmartDriver, R::kAtaPassThrough, R::kSat16}},
        {R"("answers": [])", R::kNone, {R::kSmartDriver, R::kAtaPassThrough, R::kSat16, R::kSat12, R::kNvme}},
    };
    for (const Case& c : cases) {
        auto m = DiskMachine(Disk(c.fields));
        const DiskHealth h = Read(*m);
        EXPECT_EQ(h.route, c.route) << c.fields;
        EXPECT_EQ(Tried(h), c.tried) << c.fields;
        EXPECT_EQ(h.Answered(), h.ata.has_value()) << c.fields;
        if (h.Answered()) {
            EXPECT_EQ(h.model, "Brightmoor BM500A2-7K");
            EXPECT_EQ(h.ata->AttrCount, 2);
            EXPECT_TRUE(h.error.empty());
        } else {
            EXPECT_FALSE(h.error.empty());
        }
    }
}

TEST(HealthRoutes, NvmeDiskIsAskedOnlyThroughStornvme) {
    auto m = DiskMachine(R"({"bus": "NVMe", "nvme": {"identify": {"model": "Kestrel NV2", "capacity": 512110190592},
                                                   "log": {"temperature_kelvin": 300}}})");
    const DiskHealth h = Read(*m);
    EXPECT_EQ(h.route, HealthRoute::kNvme);
    EXPECT_EQ(Tried(h), std::vector<HealthRoute>{HealthRoute::kNvme});
    EXPECT_EQ(h.model, "Kestrel NV2");
    EXPECT_EQ(CounterDecimal(h.capacityBytes), "512110190592");
    ASSERT_TRUE(h.nvme.has_value());
    EXPECT_EQ(KelvinToCelsius(h.nvme->compositeKelvin), 27);
    EXPECT_FALSE(h.ata.has_value());
}

TEST(HealthRoutes, BridgeThatRefusesBothIsReportedAsSuchNeverAsHealthy) {
    auto m = DiskMachine(Disk(R"("bus": "USB", "answers": [])"));
    const DiskHealth h = Read(*m);
    EXPECT_FALSE(h.Answered());
    EXPECT_TRUE(h.bridgeRefusedBoth);
    EXPECT_FALSE(h.ata.has_value());
    EXPECT_EQ(h.verdict, DiskVerdict::kNotGiven);
    EXPECT_NE(h.error.find("refuses both"), std::string::npos);
}

// The disk itself refusing IDENTIFY is no reason to try the 12-byte form.
TEST(HealthRoutes, DiskAbortingThe16ByteFormIsNoBridgeRefusal) {
    auto m = DiskMachine(Disk(R"("bus": "USB")", R"(, "fail": {"identify": {}})"));
    const DiskHealth h = Read(*m);
    EXPECT_FALSE(h.Answered());
    EXPECT_FALSE(h.bridgeRefusedBoth);
    EXPECT_EQ(Tried(h), std::vector<HealthRoute>{HealthRoute::kSat16});
    EXPECT_NE(h.attempts[0].outcome.find("aborted"), std::string::npos);
}

TEST(HealthRoutes, FailedThresholdReadStopsTheRouteWithoutAResult) {
    auto m = DiskMachine(Disk(R"("bus": "SATA", "answers": ["ata"])", R"(, "fail": {"thresholds": {}})"));
    const DiskHealth h = Read(*m);
    EXPECT_FALSE(h.Answered());
    EXPECT_NE(h.attempts.back().outcome.find("SMART READ THRESHOLDS"), std::string::npos);
}

TEST(HealthRoutes, WithoutAdministratorRightsThePassThroughRequestsAreDenied) {
    const std::string token = R"("token": {"administrator": false}, )";
    for (const char* fields : {R"("bus": "SATA", "answers": ["ata"], "administrator_only": true)",
                               R"("bus": "USB", "administrator_only": true)"}) {
        auto m = DiskMachine(Disk(fields), token);
        const DiskHealth h = Read(*m);
        EXPECT_FALSE(h.Answered()) << fields;
        EXPECT_FALSE(h.bridgeRefusedBoth) << fields;
        EXPECT_NE(h.attempts.back().outcome.find("refused"), std::string::npos) << h.attempts.back().outcome;
    }
    auto admin = DiskMachine(Disk(R"("bus": "USB", "administrator_only": true)"));
    EXPECT_TRUE(Read(*admin).Answered());
}

TEST(HealthVerdict, BothRegisterPatternsAndABridgeThatReturnsNone) {
    struct Case {
        const char* fields;
        const char* device;
        DiskVerdict verdict;
    } cases[] = {
        {R"("bus": "SATA", "answers": ["ata"])", "", DiskVerdict::kPassed},
        {R"("bus": "SATA", "answers": ["ata"])", R"(, "verdict": "threshold exceeded")",
         DiskVerdict::kThresholdExceeded},
        {R"("bus": "USB")", "", DiskVerdict::kPassed},
        {R"("bus": "USB", "answers": ["sat12"])", R"(, "verdict": "threshold exceeded")",
         DiskVerdict::kThresholdExceeded},
        {R"("bus": "USB", "bridge_registers": false)", R"(, "verdict": "threshold exceeded")", DiskVerdict::kNotGiven},
        // The driver's requests carry no verdict.
        {R"("bus": "ATA")", R"(, "verdict": "threshold exceeded")", DiskVerdict::kNotGiven},
    };
    for (const Case& c : cases) {
        auto m = DiskMachine(Disk(c.fields, c.device));
        const DiskHealth h = Read(*m);
        ASSERT_TRUE(h.Answered()) << c.fields;
        EXPECT_EQ(h.verdict, c.verdict) << c.fields << c.device;
    }
}

TEST(HealthNvme, ShortPagesAreRefusedNotRead) {
    for (const char* nvme : {R"("identify": "00 01 02 03", "log": {})", R"("identify": {}, "log": "ff ff ff")"}) {
        auto m = DiskMachine(std::string(R"({"bus": "NVMe", "nvme": {)") + nvme + "}}");
        const DiskHealth h = Read(*m);
        EXPECT_FALSE(h.Answered()) << nvme;
        EXPECT_FALSE(h.nvme.has_value());
        EXPECT_NE(h.attempts[0].outcome.find("short reply"), std::string::npos) << h.attempts[0].outcome;
    }
}

// A sector cut short by the disk is no sector: neither ATA route reads on.
TEST(HealthRoutes, ShortSectorsEndTheAtaRoutes) {
    for (const char* bus : {R"("bus": "SATA", "answers": ["ata"])", R"("bus": "USB")"}) {
        auto m = DiskMachine(std::string("{") + bus + R"(, "devices": {"0": {"identify": "40 00 00 00"}}})");
        const DiskHealth h = Read(*m);
        EXPECT_FALSE(h.Answered()) << bus;
        EXPECT_NE(h.attempts.back().outcome.find("IDENTIFY DEVICE: short reply"), std::string::npos)
            << h.attempts.back().outcome;
    }
}

TEST(HealthNvme, TheStornvmeRefusalOfADiskThatIsNotNvme) {
    auto m = DiskMachine(Disk(R"("answers": [])"));
    const DiskHealth h = Read(*m);
    ASSERT_EQ(h.attempts.back().route, HealthRoute::kNvme);
    EXPECT_NE(h.attempts.back().outcome.find("refused"), std::string::npos);
}

// Every ATA route of the example machine shows, for the same three sectors,
// the attribute lines `smart N` shows for the disk the driver reaches.
TEST(HealthExample, EveryAtaRouteGivesTheDriversAttributeLines) {
    auto healthy = Machine::FromFile(std::string(TW_EXAMPLES_DIR) + "/smart-healthy.json");
    auto failing = Machine::FromFile(std::string(TW_EXAMPLES_DIR) + "/smart-failing.json");
    TSmartResult healthyResult, failingResult;
    std::string error;
    ASSERT_TRUE(SmartReadDrive(*healthy, 0, healthyResult, error));
    ASSERT_TRUE(SmartReadDrive(*failing, 0, failingResult, error));
    auto m = Machine::FromFile(std::string(TW_EXAMPLES_DIR) + "/disk-health.json");
    struct Case {
        int disk;
        HealthRoute route;
        const TSmartResult& expected;
    } cases[] = {
        {1, HealthRoute::kAtaPassThrough, healthyResult},
        {2, HealthRoute::kSat16, failingResult},
        {3, HealthRoute::kSat12, healthyResult},
        {5, HealthRoute::kSmartDriver, healthyResult},
    };
    for (const Case& c : cases) {
        const DiskHealth h = Read(*m, c.disk);
        EXPECT_EQ(h.route, c.route) << c.disk;
        ASSERT_TRUE(h.ata.has_value()) << c.disk;
        EXPECT_EQ(AttributeLines(*h.ata), AttributeLines(c.expected)) << c.disk;
        EXPECT_EQ(h.ata->FailingCount, c.expected.FailingCount);
        EXPECT_EQ(h.ata->Temperature, c.expected.Temperature);
        EXPECT_EQ(h.model, c.expected.ModelNumber);
    }
    EXPECT_TRUE(Read(*m, 4).bridgeRefusedBoth);
    EXPECT_EQ(Read(*m, 0).route, HealthRoute::kNvme);
}

TEST(HealthRoutes, NineXHasOnlyTheDriverRoute) {
    auto m = Machine::FromJsonText(R"({"version": {"platform_id": 1}, "smartvsd": )" + Disk("") + "}", "test.json");
    const DiskHealth h = Read(*m);
    EXPECT_EQ(Tried(h), std::vector<HealthRoute>{HealthRoute::kSmartDriver});
    EXPECT_EQ(h.route, HealthRoute::kSmartDriver);
}

TEST(HealthRoutes, DiskThatDoesNotOpenSaysWhy) {
    auto m = DiskMachine(Disk(R"("open_error": "ERROR_ACCESS_DENIED")"));
    const DiskHealth h = Read(*m);
    EXPECT_FALSE(h.Answered());
    EXPECT_TRUE(h.attempts.empty());
    EXPECT_EQ(h.error.rfind("Unable to open physical drive: ", 0), 0u) << h.error;
}

}  // namespace
