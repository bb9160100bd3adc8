#pragma once

// What kova-mu and its plug-ins share. A text check needs the core alone; Qt (for the PDF of
// --report) and DCMTK (for --rtplan) are loaded with dlopen only when one of those options
// is given, so that kova-mu starts like the command-line tool it is.
//
// Each plug-in carries its own static copy of kova_core, linked with hidden visibility and
// --exclude-libs,ALL: it exports its entry and nothing else, and none of its symbols binds
// to kova-mu's copy. What crosses the boundary is plain core data (Patient, PlanData,
// PrintOptions, PageTexts, CheckRecord, RecordFilter, Status, Result) compiled from the same
// headers with the same flags, so both sides agree on its layout; a virtual call on a beam runs
// kova-mu's code, any other call the plug-in's copy of the same code. Memory comes from the one
// allocator of the shared C++ runtime, so an object made on one side may be destroyed on the other.
// Nothing may rely on the identity of a static object across the boundary: each side has
// its own function-local statics, tables and type_info (a dynamic_cast of an object made on
// the other side may fail), and a comparison of their addresses never holds.

#include "core/common/result.h"
#include "core/plan/plan_data.h"
#include "core/record/check_record.h"
#include "core/record/record_filter.h"
#include "core/report/page.h"
#include "core/report/print_pages.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kova {
struct Patient;
}

namespace kova::mu {

/// Raised whenever a table below, or the core data crossing it, changes shape. kova-mu and
/// its plug-ins are installed together from one build; this catches a plug-in left over
/// from another.
inline constexpr int kPluginInterfaceVersion = 4;

/// The start of every plug-in's table. Its layout never changes, so that a plug-in of
/// another version is recognized, and refused, before anything else of its table is used.
struct PluginHeader {
    int interfaceVersion;
};

/// Qt's application of the report plug-in (offscreen): opaque to kova-mu.
struct ReportSession;

/// kova_mu_report: the details report and the set-up sheet printed to a PDF file through
/// the desktop program's PDF job.
struct ReportPlugin : PluginHeader {
    /// Starts Qt on the offscreen platform: fonts and the PDF writer need it.
    ReportSession* (*begin)();
    void (*end)(ReportSession* session);
    /// Whether the options fit on the PDF's page (the comment), measured without writing.
    Status (*check)(ReportSession& session, const report::PrintOptions& options);
    /// The PDF document of the pages of `patient`; `pdfFile` (a path as the file system
    /// keeps it) names the file in the sentences for the user. kova-mu writes the bytes
    /// itself, with the core's safe writer, so that it knows the temporary file to remove
    /// when it is interrupted.
    Result<std::string> (*print)(ReportSession& session, const std::string& pdfFile,
                                 const Patient& patient, const report::PrintOptions& options,
                                 const report::PageTexts& texts);
};

/// kova_mu_dicom: DICOM RT Plan files read with DCMTK.
struct DicomPlugin : PluginHeader {
    Result<PlanData> (*readPlan)(const std::string& path);
};

/// Qt's core application and the open record of the record plug-in: opaque to kova-mu.
struct RecordSession;

/// kova_mu_record: the record of checks (kova_record, Qt SQL), an SQLite file or a
/// PostgreSQL server.
struct RecordPlugin : PluginHeader {
    /// Starts Qt (a core application, unless the report plug-in's runs already: it must be
    /// loaded first) and opens the record `connection`, a path or a connection text as
    /// ParseRecordConnection reads it, its schema brought up to date. A PostgreSQL server's
    /// password comes from its password file (~/.pgpass, PGPASSFILE): kova-mu never asks.
    Result<RecordSession*> (*open)(const std::string& connection);
    void (*close)(RecordSession* session);
    /// "SQLite file PATH", "PostgreSQL database NAME on HOST:PORT".
    std::string (*describe)(const RecordSession& session);
    /// RecordStore::Save: a check already saved (same key) is kept once.
    Result<std::int64_t> (*save)(RecordSession& session, const record::CheckRecord& check);
    /// RecordStore::Find: the checks that pass `filter`, by time of check.
    Result<std::vector<record::CheckRecord>> (*find)(RecordSession& session,
                                                     const record::RecordFilter& filter);
};

/// The plug-ins' files, in the folder of kova-mu's plug-ins (InstallLayout::pluginFolder).
inline constexpr char kReportPluginFile[] = "kova_mu_report.so";
inline constexpr char kDicomPluginFile[] = "kova_mu_dicom.so";
inline constexpr char kRecordPluginFile[] = "kova_mu_record.so";

/// The one exported symbol of each plug-in, an `extern "C"` function without parameters
/// returning its table.
inline constexpr char kReportPluginEntry[] = "kova_mu_report_plugin";
inline constexpr char kDicomPluginEntry[] = "kova_mu_dicom_plugin";
inline constexpr char kRecordPluginEntry[] = "kova_mu_record_plugin";

} // namespace kova::mu
