#include "kova_mu/report_request.h"

#include "core/text/cp1252.h"

#include <cctype>
#include <filesystem>

namespace kova::mu {
namespace {

/// The `key` value of the beam's block, or none.
std::optional<std::string> KeyOf(const ResolvedBeam& beam, const char* key) {
    if (beam.block == nullptr) {
        return std::nullopt;
    }
    const BeamEntry* entry = beam.block->Find(key);
    return entry != nullptr ? std::optional<std::string>(entry->value) : std::nullopt;
}

std::string Lowercase(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

bool SameMachine(const TTreatment& a, const TTreatment& b) {
    return a.linac == b.linac && a.kind == b.kind && a.Energy() == b.Energy();
}

/// The patient's name (Windows-1252, as the workbench keeps it): --patient, else the one
/// name the beams' Patient keys give, else none.
Result<std::string> PatientName(const std::vector<ResolvedBeam>& beams,
                                const ReportRequest& request) {
    if (request.patient) {
        return Utf8ToCp1252Lossy(*request.patient);
    }
    std::optional<std::string> name;
    for (const ResolvedBeam& beam : beams) {
        const std::optional<std::string> key = KeyOf(beam, "Patient");
        if (key && name && *key != *name) {
            // One report for two patients would file one patient's beams with the other's.
            return Result<std::string>::Fail("the beams name different patients ('" +
                                             Cp1252ToUtf8(*name) + "' and '" + Cp1252ToUtf8(*key) +
                                             "'); give --patient or report them separately");
        }
        name = key ? key : name;
    }
    return name.value_or("");
}

} // namespace

Status CheckReportOptions(const ReportRequest& request) {
    if (!request.Wanted() && (request.patient || request.form || request.comment)) {
        return Status::Fail("--patient, --form and --comment go with --report");
    }
    if (request.file && request.file->empty()) {
        return Status::Fail("--report needs the name of the PDF file to write");
    }
    const std::string extension =
        request.file ? std::filesystem::path(*request.file).extension().string() : "";
    if (extension.size() == 4 && Lowercase(extension) == ".ini") {
        return Status::Fail("--report " + *request.file +
                            ": .ini is the extension of beam files, never of the PDF report; name "
                            "it .pdf");
    }
    return Status::Ok();
}

Status CheckReportIsNoInput(const std::string& report, const std::vector<std::string>& inputs) {
    for (const std::string& input : inputs) {
        std::error_code error;
        if (std::filesystem::equivalent(report, input, error)) {
            return Status::Fail("the PDF file " + report + " is the file " + input +
                                ", which this run reads; name another PDF file");
        }
    }
    return Status::Ok();
}

std::vector<std::string> CommentLinesOf(std::string_view text) {
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            lines += '\n';
            ++i;
        } else {
            lines += text[i];
        }
    }
    return report::CommentLines(lines);
}

report::PrintOptions ReportPrintOptions(const ReportRequest& request) {
    report::PrintOptions options;
    report::ChooseForms(options, report::FormsToPrint::Both);
    options.form = request.form;
    if (request.comment) {
        options.commentLines = CommentLinesOf(*request.comment);
    }
    options.comment = !options.commentLines.empty();
    return options;
}

Result<Patient> TakeReportPatient(std::vector<ResolvedBeam>& beams, const ReportRequest& request) {
    Result<std::string> name = PatientName(beams, request);
    if (!name) {
        return name.status();
    }
    Patient patient;
    patient.name = name.value();
    TTreatment* current = nullptr;
    for (ResolvedBeam& beam : beams) {
        if (beam.treatment == nullptr || beam.beam == nullptr || !beam.beam->calculated) {
            continue;
        }
        const std::optional<std::string> named = KeyOf(beam, "Treatment");
        if (current != nullptr && SameMachine(*current, *beam.treatment) &&
            (!named || *named == current->name)) {
            current->AddBeam(std::move(beam.treatment->beams.front()));
            beam.treatment->beams.clear();
            continue;
        }
        // The beam's own treatment, named after the beam's title, starts the next one.
        beam.treatment->name = named.value_or(beam.treatment->name);
        patient.treatments.push_back(std::move(beam.treatment));
        current = patient.treatments.back().get();
    }
    if (patient.treatments.empty()) {
        return Result<Patient>::Fail("no beam was computed, so there is nothing to report");
    }
    return patient;
}

} // namespace kova::mu
