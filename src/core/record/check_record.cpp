#include "core/record/check_record.h"

#include "core/common/file_bytes.h"
#include "core/common/sha256.h"
#include "core/common/system_user.h"
#include "core/linac/linac_spec.h"
#include "core/text/cp1252.h"
#include "core/text/trim.h"

#include <cstdio>
#include <filesystem>
#include <random>

namespace kova::record {
namespace {

constexpr std::string_view kApproved = "Approved";
constexpr std::string_view kNotApproved = "Not approved";

} // namespace

std::string_view VerdictText(Verdict verdict) {
    return verdict == Verdict::Approved ? kApproved : kNotApproved;
}

std::optional<Verdict> VerdictFromText(std::string_view text) {
    if (text == kApproved) {
        return Verdict::Approved;
    }
    if (text == kNotApproved) {
        return Verdict::NotApproved;
    }
    return std::nullopt;
}

LinacFileIdentity IdentityOf(const TLinacSpec& linac) {
    return {std::filesystem::path(linac.FileName).filename().string(), linac.FileSha256};
}

Result<LinacFileIdentity> IdentifyLinacFile(const std::string& path) {
    const FileBytes file = ReadFileBytes(path, kMaxLinacFileBytes);
    if (!file.ok()) {
        return Result<LinacFileIdentity>::Fail(file.reason);
    }
    return LinacFileIdentity{std::filesystem::path(path).filename().string(),
                             Sha256Hex(file.bytes)};
}

CheckContext ContextNow(const TTreatment& treatment, std::string patientName, std::string patientID,
                        std::string programVersion, const ActionLevels& levels) {
    CheckContext context;
    context.patientName = std::move(patientName);
    context.patientID = std::move(patientID);
    if (treatment.linac != nullptr) {
        context.linacFile = IdentityOf(*treatment.linac);
    }
    context.programVersion = std::move(programVersion);
    context.osUser = OperatingSystemUser();
    context.checkedAt = std::chrono::system_clock::now();
    context.levels = levels;
    return context;
}

Result<CheckRecord> MakeCheckRecord(const TTreatment& treatment, TBeam& beam,
                                    const CheckContext& context) {
    const std::string beamName = Cp1252ToUtf8(beam.name);
    if (!beam.calculated) {
        return Result<CheckRecord>::Fail("The beam '" + beamName +
                                         "' is not computed: only a computed beam is recorded.");
    }
    if (treatment.linac == nullptr || treatment.Energy() == nullptr) {
        return Result<CheckRecord>::Fail("The treatment of beam '" + beamName +
                                         "' has no linac and energy.");
    }
    CheckRecord record;
    record.key = NewRecordKey();
    record.patientName = Cp1252ToUtf8(context.patientName);
    record.patientID = Cp1252ToUtf8(context.patientID);
    record.treatment = Cp1252ToUtf8(treatment.name);
    record.beamName = beamName;
    record.beamID = Cp1252ToUtf8(beam.ID);
    record.linac = Cp1252ToUtf8(treatment.linac->Name);
    record.energy = Cp1252ToUtf8(treatment.Energy()->Name);
    record.kind = BeamKindText(beam.Kind());
    record.controls = BeamControlTexts(beam);
    record.kovaMU = beam.TotalMU();
    record.actionLevel = context.levels.For(beam.Kind());
    if (const std::optional<TPSComparison> tps = CompareWithTPS(beam, context.levels)) {
        record.tpsMU = tps->tpsMU;
        record.difference = tps->difference;
        record.beyondActionLevel = tps->beyondActionLevel;
    }
    record.programVersion = context.programVersion;
    record.linacFile = context.linacFile.fileName;
    record.linacFileSha256 = context.linacFile.sha256;
    record.checkedAt = IsoUtc(context.checkedAt);
    record.osUser = context.osUser;
    record.follows = context.follows;
    return record;
}

std::string IsoUtc(std::chrono::system_clock::time_point instant) {
    using namespace std::chrono;
    const auto seconds = floor<std::chrono::seconds>(instant);
    const auto day = floor<days>(seconds);
    const year_month_day date{day};
    const hh_mm_ss time{seconds - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", int(date.year()),
                  unsigned(date.month()), unsigned(date.day()), int(time.hours().count()),
                  int(time.minutes().count()), int(time.seconds().count()));
    return text;
}

std::string NewRecordKey() {
    // Keys need only be unique among the checks of a department; 128 random bits are.
    thread_local std::mt19937_64 generator{[] {
        std::random_device device;
        std::seed_seq seed{device(), device(), device(), device(), device(), device()};
        return std::mt19937_64(seed);
    }()};
    static constexpr char kHex[] = "0123456789abcdef";
    std::string key;
    for (int half = 0; half < 2; ++half) {
        const std::uint64_t bits = generator();
        for (int shift = 60; shift >= 0; shift -= 4) {
            key += kHex[(bits >> shift) & 0xF];
        }
    }
    return key;
}

std::optional<Verdict> LatestVerdict(const std::vector<SignOff>& signOffs) {
    if (signOffs.empty()) {
        return std::nullopt;
    }
    return signOffs.back().verdict;
}

Status CanSignOff(const std::vector<SignOff>& existing, const SignOff& next) {
    for (const SignOff& signOff : existing) {
        if (signOff.verdict == Verdict::Approved) {
            return Status::Fail("The check was approved by " + signOff.signedBy + " on " +
                                signOff.signedAt +
                                " and can no longer be changed: record a newer check of the "
                                "beam instead.");
        }
    }
    if (Trim(next.signedBy).empty()) {
        return Status::Fail("A sign-off needs the name of who signs it.");
    }
    if (next.verdict == Verdict::NotApproved && Trim(next.comment).empty()) {
        return Status::Fail("\"Not approved\" needs a comment saying why.");
    }
    return Status::Ok();
}

Result<SignOff> MakeSignOff(const CheckRecord& check, Verdict verdict, std::string comment,
                            std::string signedBy, std::chrono::system_clock::time_point at) {
    if (check.id == 0) {
        return Result<SignOff>::Fail("Only a check kept in the record can be signed off.");
    }
    SignOff signOff{NewRecordKey(),      check.id,  verdict, std::move(comment),
                    std::move(signedBy), IsoUtc(at)};
    if (Status allowed = CanSignOff(check.signOffs, signOff); !allowed) {
        return allowed;
    }
    return signOff;
}

} // namespace kova::record
