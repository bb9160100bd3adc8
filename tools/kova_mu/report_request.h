#pragma once

#include "core/common/result.h"
#include "core/report/print_pages.h"
#include "core/workbench/beam_input.h"
#include "core/workbench/workbench.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kova::mu {

/// What `--report`, `--patient`, `--form` and `--comment` ask for; texts in UTF-8, as typed.
struct ReportRequest {
    std::optional<std::string> file{};    ///< the PDF file to write; none when none is asked for
    std::optional<std::string> patient{}; ///< the patient's name printed on both pages
    bool form = false;                    ///< the set-up sheet's positioning form
    std::optional<std::string> comment{}; ///< the set-up sheet's comment

    bool Wanted() const { return file.has_value(); }
};

/// Fails, saying why, when the report options do not go together: `--patient`, `--form` and
/// `--comment` without `--report`, `--report` with an empty file name, or a file name with
/// a beam file's extension ".ini" (`--report *.ini` would print over the first beam file).
Status CheckReportOptions(const ReportRequest& request);

/// Fails, naming both, when the PDF file `report` is one of the files the run reads
/// (`inputs`), also through another path, a link or a hard link: the same device and inode.
Status CheckReportIsNoInput(const std::string& report, const std::vector<std::string>& inputs);

/// The lines of a comment given on the command line: a line break or the two characters
/// backslash and "n" start a new line; blank lines at the end are left out.
std::vector<std::string> CommentLinesOf(std::string_view text);

/// Both pages, with the positioning form when asked for and the comment when one is given.
report::PrintOptions ReportPrintOptions(const ReportRequest& request);

/// The patient the report prints: the computed beams of `beams`, in file order, moved into
/// treatments. Consecutive beams on the same linac, energy and kind form one treatment,
/// named by its first beam's `Treatment` key or else its title; a beam whose `Treatment` key
/// names another treatment starts a new one. The patient is `--patient`, else the name the
/// beams' `Patient` keys give. Refused beams stay in `beams`; the computed ones are moved
/// out, so this is the last use of `beams` but for destroying them. Fails when no beam was
/// computed or the beams name different patients.
Result<Patient> TakeReportPatient(std::vector<ResolvedBeam>& beams, const ReportRequest& request);

} // namespace kova::mu
