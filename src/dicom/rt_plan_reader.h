#pragma once

// Reading DICOM RT Plan files with DCMTK. This library is the only place that knows DICOM:
// it fills the core's plain plan data, and the core decides what the values mean.

#include "core/common/result.h"
#include "core/plan/plan_data.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace kova {

/// An RT Plan is at most a few megabytes; a larger file is refused unread.
inline constexpr std::size_t kMaxRTPlanBytes = 64u * 1024u * 1024u;

/// Reads an RT Plan from the bytes of a DICOM file (a file with the preamble and meta
/// header, or a bare data set), in any transfer syntax DCMTK reads without a codec. Texts
/// are converted to UTF-8 from the file's character set (bytes that are still not UTF-8
/// are read as Windows-1252). Fails, with the reason, for bytes that are no DICOM data, a
/// DICOM object that is not an RT Plan (an RT Ion Plan included) and a plan without beams;
/// damaged values inside the plan are left out for the import to refuse. DCMTK's own log is
/// turned off: every problem is in the reason.
Result<PlanData> ReadRTPlan(std::string_view bytes);

/// Reads the RT Plan file at `path` (at most kMaxRTPlanBytes).
Result<PlanData> ReadRTPlanFile(const std::string& path);

} // namespace kova
