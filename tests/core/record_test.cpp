// The record of checks as plain data: the hash of a linac file, one beam's record, sign-off
// rules, filters, CSV export, the record's connection and checks kept to be saved again.

#include "core/common/sha256.h"
#include "core/record/pending_checks.h"
#include "core/record/record_connection.h"
#include "core/record/record_csv.h"
#include "core/record/record_filter.h"
#include "core/record/record_statistics.h"
#include "support/near.h"
#include "support/report_patient.h"
#include "support/temp_dir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace kova::record {
namespace {

using namespace std::chrono;

TEST(Record, Sha256OfFips180Vectors) {
    const struct {
        std::string bytes;
        const char* digest;
    } vectors[] = {
        // FIPS 180-2, appendix B: one block, two blocks, a million "a".
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    };
    for (const auto& v : vectors) {
        EXPECT_EQ(Sha256Hex(v.bytes), v.digest) << v.bytes.size() << " bytes";
    }
    const test::TempDir folder;
    std::ofstream(folder.File("bench.lnc"), std::ios::binary) << "abc";
    const Result<LinacFileIdentity> linac = IdentifyLinacFile(folder.File("bench.lnc").string());
    ASSERT_TRUE(linac.ok()) << linac.reason();
    EXPECT_EQ(linac->fileName + " " + linac->sha256, "bench.lnc " + Sha256Hex("abc"));
    EXPECT_FALSE(IdentifyLinacFile(folder.File("gone.lnc").string()).ok());
}

TEST(Record, OneComputedBeamWithItsContext) {
    // 100 cGy on the bench energy: MU = 100 / 0.67 = 149.25; (TPS - MU) / MU = TPS x 0.0067 - 1.
    const struct {
        std::optional<double> tpsMU;
        std::optional<double> difference;
        bool beyond;
    } cases[] = {{std::nullopt, std::nullopt, false}, {150, 0.5, false}, {160, 7.2, true}};
    for (const auto& c : cases) {
        test::ReportPatient patient;
        TTreatment& treatment = patient.AddTreatment("Breast");
        TBeam& beam = patient.AddBeam(treatment, "AP", 100, "B1");
        beam.tpsMU = c.tpsMU;
        CheckContext context{"M\xFCller", "KOVA-7", {"bench.lnc", "ab12"},
                             "0.1.0",     "anna",   sys_days{2026y / 10 / 15} + 8h + 30min + 999ms,
                             {},          {}};
        const Result<CheckRecord> record = MakeCheckRecord(treatment, beam, context);
        ASSERT_TRUE(record.ok()) << record.reason();
        const std::vector<std::string> texts = {
            record->patientName, record->patientID,       record->treatment,      record->beamName,
            record->beamID,      record->linac,           record->energy,         record->kind,
            record->linacFile,   record->linacFileSha256, record->programVersion, record->osUser,
            record->checkedAt};
        EXPECT_EQ(texts, (std::vector<std::string>{
                             "Müller", "KOVA-7", "Breast", "AP", "B1", "Bench", "X6", "Photon Beam",
                             "bench.lnc", "ab12", "0.1.0", "anna", "2026-10-15T08:30:00Z"}));
        EXPECT_TRUE(test::IsNear(record->kovaMU, 100 / 0.67));
        EXPECT_EQ(record->tpsMU, c.tpsMU);
        EXPECT_EQ(record->difference.has_value(), c.difference.has_value());
        if (c.difference) {
            EXPECT_TRUE(test::IsNear(*record->difference, *c.difference, {1e-9}));
        }
        EXPECT_EQ(record->actionLevel, 3);
        EXPECT_EQ(record->beyondActionLevel, c.beyond);
        EXPECT_EQ(record->key.size(), 32u);
        const std::vector<ControlText> controls = BeamControlTexts(beam);
        ASSERT_EQ(record->controls.size(), controls.size());
        EXPECT_EQ(record->controls.front().name, controls.front().name);
        beam.calculated = false;
        EXPECT_FALSE(MakeCheckRecord(treatment, beam, context).ok());
    }
}

TEST(Record, SignOffRules) {
    const SignOff approved{"k1", 1, Verdict::Approved, "", "anna", "2026-10-15T09:00:00Z"};
    const SignOff refused{"k2", 1, Verdict::NotApproved, "wrong wedge", "anna", ""};
    const struct {
        std::vector<SignOff> existing;
        SignOff next;
        const char* reason; // empty: allowed
    } cases[] = {
        {{}, approved, ""},
        {{refused}, approved, ""},
        {{}, {"k", 1, Verdict::NotApproved, " ", "anna", ""}, "needs a comment saying why"},
        {{}, {"k", 1, Verdict::Approved, "", "", ""}, "needs the name of who signs"},
        {{refused, approved},
         refused,
         "approved by anna on 2026-10-15T09:00:00Z and can no longer be changed"},
    };
    for (const auto& c : cases) {
        const Status status = CanSignOff(c.existing, c.next);
        EXPECT_NE(status.reason().find(c.reason), std::string::npos) << status.reason();
        EXPECT_EQ(status.ok(), *c.reason == '\0') << c.reason;
    }
    EXPECT_FALSE(MakeSignOff(CheckRecord{}, Verdict::Approved, "", "anna", {}).ok())
        << "a check not yet stored";
}

CheckRecord Check() {
    CheckRecord check;
    check.patientName = "Müller Hans";
    check.patientID = "KOVA-0003";
    check.linac = "TB1";
    check.energy = "6MV";
    check.kind = "Photon Beam";
    check.checkedAt = "2026-10-15T08:30:00Z";
    return check;
}

TEST(Record, FilterMatches) {
    const auto with = [](auto set) {
        RecordFilter filter;
        set(filter);
        return filter;
    };
    const struct {
        RecordFilter filter;
        bool matches;
    } cases[] = {
        {{}, true},
        {with([](RecordFilter& f) { f.patient = "LLER h"; }), true},
        {with([](RecordFilter& f) { f.patient = "MÜLLER"; }), false}, // only A to Z fold
        {with([](RecordFilter& f) { f.patient = "kova-0003"; }), true},
        {with([](RecordFilter& f) { f.linac = "TB2"; }), false},
        {with([](RecordFilter& f) {
             f.energy = "6MV";
             f.kind = "Photon Beam";
         }),
         true},
        {with([](RecordFilter& f) { f.from = "2026-10-15T08:30:00Z"; }), true},
        {with([](RecordFilter& f) { f.to = "2026-10-15T08:30:00Z"; }), false},
        {with([](RecordFilter& f) { f.beyondActionLevelOnly = true; }), false},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(Matches(cases[i].filter, Check()), cases[i].matches) << "row " << i;
    }
}

TEST(Record, CsvExport) {
    const std::pair<const char*, const char*> fields[] = {{"6MV", "6MV"},
                                                          {"a,b", "\"a,b\""},
                                                          {"say \"hi\"", "\"say \"\"hi\"\"\""},
                                                          {"two\nlines", "\"two\nlines\""},
                                                          {" lead", "\" lead\""},
                                                          {"Müller", "Müller"}};
    for (const auto& [text, field] : fields) {
        EXPECT_EQ(CsvField(text), field);
    }
    CheckRecord check = Check();
    check.id = 7;
    check.treatment = "Breast, left";
    check.beamName = "AP";
    check.kovaMU = 100 / 0.67; // its shortest text: 149.25373134328356
    check.tpsMU = 150;
    check.difference = 0.5;
    check.actionLevel = 3;
    check.controls = {{"Dose", "100"}, {"Name", "AP"}};
    check.signOffs = {{"k", 7, Verdict::NotApproved, "see \"wedge\"", "anna", "2026-10-16"}};
    const std::string csv = ChecksCsv({check});
    EXPECT_EQ(csv.substr(csv.find("\r\n") + 2),
              "7,2026-10-15T08:30:00Z,Müller Hans,KOVA-0003,\"Breast, left\",AP,,TB1,6MV,"
              "Photon Beam,149.25373134328356,150,0.5,3,no,Not approved,anna,2026-10-16,"
              "\"see \"\"wedge\"\"\",,,,,,\"Dose = 100\nName = AP\"\r\n");
    EXPECT_EQ(csv.substr(0, 34), "Record,Checked at (UTC),Patient,Pa");
}

TEST(Record, ConnectionText) {
    const struct {
        const char* text;
        const char* readBack; // null: refused
    } cases[] = {
        {" /home/anna/checks.sqlite ", "/home/anna/checks.sqlite"},
        {"dbname=kova user=physics host=db.local port=5433",
         "host=db.local port=5433 dbname=kova user=physics"},
        {"host=/run/postgresql dbname=kova", "host=/run/postgresql dbname=kova"},
        {"dbname=kova password=secret", nullptr},
        {"host=db.local port=x dbname=kova", nullptr},
        {"host=db.local", nullptr},
        {"host=db.local sslmode=require dbname=kova", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        const Result<RecordConnection> connection = ParseRecordConnection(c.text);
        EXPECT_EQ(connection.ok(), c.readBack != nullptr) << c.text;
        if (connection && c.readBack) {
            EXPECT_EQ(RecordConnectionText(*connection), c.readBack);
        }
    }
}

TEST(Record, PendingChecksAreSavedInOrderOnceTheRecordIsBack) {
    PendingChecks pending;
    for (const char* key : {"a", "b", "c"}) {
        CheckRecord check;
        check.key = key;
        pending.Add(check);
    }
    std::string saved;
    bool recordGone = true;
    const auto save = [&](const CheckRecord& check) {
        if (recordGone && check.key == "b") {
            return Status::Fail("database is locked");
        }
        saved += check.key;
        return Status::Ok();
    };
    EXPECT_EQ(pending.SaveAll(save).reason(), "database is locked");
    ASSERT_EQ(pending.checks().size(), 2u);
    EXPECT_EQ(pending.checks().front().key, "b");
    recordGone = false;
    EXPECT_TRUE(pending.SaveAll(save).ok());
    EXPECT_TRUE(pending.empty());
    EXPECT_EQ(saved, "abc");
}

TEST(Record, IsoUtcTimes) {
    EXPECT_EQ(IsoUtc(system_clock::time_point{}), "1970-01-01T00:00:00Z");
    EXPECT_EQ(IsoUtc(sys_days{2024y / 2 / 29} + 23h + 59min + 59s), "2024-02-29T23:59:59Z");
    // Whole days of a period: the day after the last is the bound, across a year's end.
    EXPECT_EQ(DayStartUtc({2024, 2, 29}) + " " + DayAfterUtc({2025, 12, 31}),
              "2024-02-29T00:00:00Z 2026-01-01T00:00:00Z");
}

TEST(Record, ANewCheckFollowsTheNewestCheckOfItsBeam) {
    std::vector<CheckRecord> stored(3);
    const char* beams[] = {"AP", "PA", "AP"};
    for (std::size_t i = 0; i < stored.size(); ++i) {
        stored[i].beamName = beams[i];
        stored[i].id = static_cast<std::int64_t>(i) + 1;
        stored[i].key = "k" + std::to_string(i);
    }
    CheckRecord next;
    next.key = "new";
    for (const auto& [beam, follows] :
         {std::pair<const char*, std::optional<std::int64_t>>{"AP", 3},
          {"PA", 2},
          {"LAT", std::nullopt}}) {
        next.beamName = beam;
        EXPECT_EQ(FollowedCheck(stored, next), follows) << beam;
    }
}

TEST(Record, DifferenceStatisticsPerLinacAndEnergy) {
    const struct {
        std::vector<std::optional<double>> differences; ///< of one linac and energy, percent
        double mean;
        std::optional<double> sd;
        const char* line;
        std::vector<std::size_t> binsOf1Percent;
    } rows[] = {
        // 1, 2, 3, 4: mean 2.5; squares 2.25 + 0.25 + 0.25 + 2.25 = 5, / 3, root 1.2910.
        {{1, 2, 3, 4}, 2.5, 1.2910, "L E: 4 checks, mean 2.50 %, SD 1.29 %", {1, 1, 1, 1}},
        // -1.5, 0.5 and a check without TPS MU: mean -0.5; (1 + 1) / 1, root 1.4142; bins
        // from -2: [-2, -1) holds -1.5, [0, 1) holds 0.5.
        {{-1.5, std::nullopt, 0.5},
         -0.5,
         1.4142,
         "L E: 2 checks, mean -0.50 %, SD 1.41 %",
         {1, 0, 1}},
        // One check: no standard deviation.
        {{-7.75}, -7.75, std::nullopt, "L E: 1 check, mean -7.75 %, SD -", {1}},
    };
    for (const auto& row : rows) {
        std::vector<CheckRecord> checks;
        for (const std::optional<double>& difference : row.differences) {
            CheckRecord check;
            check.linac = "L";
            check.energy = "E";
            check.difference = difference;
            checks.push_back(check);
        }
        const std::vector<DifferenceStatistics> groups = StatisticsByLinacAndEnergy(checks);
        ASSERT_EQ(groups.size(), 1u) << row.line;
        EXPECT_TRUE(test::IsNear(groups[0].mean, row.mean)) << row.line;
        EXPECT_EQ(groups[0].standardDeviation.has_value(), row.sd.has_value()) << row.line;
        if (row.sd) {
            EXPECT_NEAR(*groups[0].standardDeviation, *row.sd, 5e-5) << row.line;
        }
        EXPECT_EQ(StatisticsLine(groups[0]), row.line);
        const std::vector<double>& values = groups[0].differences;
        EXPECT_EQ(BinCounts(values, BinsCovering(values, 1)), row.binsOf1Percent) << row.line;
        EXPECT_EQ(TrendsByBeam(checks).front().differences, values) << row.line;
    }
}

} // namespace
} // namespace kova::record
