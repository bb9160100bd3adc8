#pragma once

// The record of checks: every computed beam kept with what it was computed from, so that a
// department can follow its differences from the planning system over time and a physicist
// can sign each check off. These are the plain data and rules; the database is kova_record.

#include "core/beams/tps_check.h"
#include "core/common/result.h"
#include "core/workbench/beam_file_writer.h"
#include "core/workbench/treatment.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kova::record {

/// A physicist's judgement of a check.
enum class Verdict { Approved, NotApproved };

/// "Approved", "Not approved": shown, exported and kept in the record.
std::string_view VerdictText(Verdict verdict);
/// The verdict whose text is `text`; none for any other text.
std::optional<Verdict> VerdictFromText(std::string_view text);

/// A sign-off of a stored check. It is a record of its own that refers to the check: the
/// check itself never changes.
struct SignOff {
    std::string key;          ///< unique, made once: saving it again is recognized, never doubled
    std::int64_t checkId = 0; ///< the stored check it signs
    Verdict verdict = Verdict::NotApproved;
    std::string comment;
    std::string signedBy; ///< who signed (a name or the operating-system user)
    std::string signedAt; ///< when, ISO 8601 UTC ("2026-10-15T08:30:00Z")
    std::int64_t id = 0;  ///< given by the record; 0 until stored
};

/// One checked beam as the record keeps it. Texts are UTF-8; MU, percent.
struct CheckRecord {
    std::string key; ///< unique, made once: saving it again is recognized, never doubled
    std::string patientName;
    std::string patientID;
    std::string treatment; ///< the treatment (or the plan it was imported from)
    std::string beamName;
    std::string beamID;
    std::string linac;
    std::string energy;
    std::string kind; ///< the beam kind's text ("Photon Beam")
    /// Every input the user set, as the beam file writes it.
    std::vector<ControlText> controls;
    double kovaMU = 0; ///< every MU of the beam (both parts of an open/wedged beam)
    std::optional<double> tpsMU;
    std::optional<double> difference; ///< (TPS MU - KOVA MU) / KOVA MU x 100
    double actionLevel = 0;           ///< of the beam's kind when it was checked
    bool beyondActionLevel = false;
    std::string programVersion;
    std::string linacFile;       ///< the linac file's name
    std::string linacFileSha256; ///< SHA-256 of the linac file's bytes (64 hex digits)
    std::string checkedAt;       ///< ISO 8601 UTC
    std::string osUser;          ///< the operating-system user who ran the check
    /// The stored check of the same beam that this newer one follows (an approved check is
    /// never changed: a new check follows it).
    std::optional<std::int64_t> follows;
    std::int64_t id = 0;           ///< given by the record; 0 until stored
    std::vector<SignOff> signOffs; ///< as the record holds them, oldest first
};

/// Which linac file a calculation read, by name and content.
struct LinacFileIdentity {
    std::string fileName; ///< the bare file name ("TrueBeam1.lnc")
    std::string sha256;
};

/// The identity of the file `linac` was read from (TLinacSpec::FileSha256, taken from the
/// bytes the calculations use).
LinacFileIdentity IdentityOf(const TLinacSpec& linac);

/// Reads the linac file at `path` and names its content. Call it when the linac is read, so
/// that the identity is that of the bytes the calculations use.
Result<LinacFileIdentity> IdentifyLinacFile(const std::string& path);

/// What a check is made in, besides the beam and its treatment.
struct CheckContext {
    /// The patient's name and ID as the workbench keeps texts (Windows-1252); the ID is
    /// empty when none is known (a patient typed in by hand).
    std::string patientName;
    std::string patientID;
    LinacFileIdentity linacFile;
    std::string programVersion;
    std::string osUser;
    std::chrono::system_clock::time_point checkedAt;
    ActionLevels levels;
    std::optional<std::int64_t> follows; ///< see CheckRecord::follows
};

/// The context of a check made now, on the linac of `treatment` (its file's identity), by
/// the operating-system user running this program (`programVersion`). Patient texts as in
/// CheckContext.
CheckContext ContextNow(const TTreatment& treatment, std::string patientName, std::string patientID,
                        std::string programVersion, const ActionLevels& levels);

/// The record of `beam`, computed in `treatment`, with a new key. Fails, saying why, for a
/// beam that is not computed or a treatment without linac and energy.
Result<CheckRecord> MakeCheckRecord(const TTreatment& treatment, TBeam& beam,
                                    const CheckContext& context);

/// "2026-10-15T08:30:00Z": the instant in UTC to the second. Texts of this form sort as the
/// instants do.
std::string IsoUtc(std::chrono::system_clock::time_point instant);

/// A new key for a check or a sign-off: 32 random hexadecimal digits.
std::string NewRecordKey();

/// The latest verdict of a check; none while it is not signed off.
std::optional<Verdict> LatestVerdict(const std::vector<SignOff>& signOffs);

/// Whether `next` may follow the sign-offs a check already has: never once the check is
/// approved (it can only be followed by a newer check), "Not approved" only with a comment
/// saying why, and always with who signs.
Status CanSignOff(const std::vector<SignOff>& existing, const SignOff& next);

/// A sign-off of the stored check `check` (new key), refused as CanSignOff refuses it.
Result<SignOff> MakeSignOff(const CheckRecord& check, Verdict verdict, std::string comment,
                            std::string signedBy, std::chrono::system_clock::time_point at);

} // namespace kova::record
