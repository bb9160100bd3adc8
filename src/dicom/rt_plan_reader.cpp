#include "dicom/rt_plan_reader.h"

#include "core/common/file_bytes.h"
#include "dicom/dicom_values.h"
#include "dicom/memory_stream.h"

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcdict.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcistrmb.h>
#include <dcmtk/dcmdata/dcmetinf.h>
#include <dcmtk/dcmdata/dcuid.h>
#include <dcmtk/oflog/oflog.h>
#include <mutex>

namespace kova {
namespace {

using dicom::Integer;
using dicom::Items;
using dicom::Number;
using dicom::NumberOrNaN;
using dicom::Numbers;
using dicom::Text;

/// Plans hold tens of beams and a few hundred control points a beam; far more is no plan.
constexpr std::size_t kMaxBeams = 1000;
constexpr std::size_t kMaxControlPoints = 10000;

PlanDevicePositions ReadPositions(DcmItem& item) {
    return {Text(item, DCM_RTBeamLimitingDeviceType), Numbers(item, DCM_LeafJawPositions)};
}

PlanControlPoint ReadControlPoint(DcmItem& item) {
    PlanControlPoint point;
    point.nominalEnergy = Number(item, DCM_NominalBeamEnergy);
    point.gantryAngle = Number(item, DCM_GantryAngle);
    point.gantryRotation = Text(item, DCM_GantryRotationDirection);
    point.collimatorAngle = Number(item, DCM_BeamLimitingDeviceAngle);
    point.couchAngle = Number(item, DCM_PatientSupportAngle);
    point.SSD = Number(item, DCM_SourceToSurfaceDistance);
    point.cumulativeWeight = NumberOrNaN(item, DCM_CumulativeMetersetWeight);
    point.isocenter = Numbers(item, DCM_IsocenterPosition);
    for (DcmItem* device : Items(item, DCM_BeamLimitingDevicePositionSequence)) {
        point.devices.push_back(ReadPositions(*device));
    }
    return point;
}

PlanApplicator ReadApplicator(DcmItem& item) {
    PlanApplicator applicator;
    applicator.ID = Text(item, DCM_ApplicatorID);
    applicator.description = Text(item, DCM_ApplicatorDescription);
    const std::vector<DcmItem*> geometry = Items(item, DCM_ApplicatorGeometrySequence);
    if (!geometry.empty()) {
        applicator.shape = Text(*geometry.front(), DCM_ApplicatorApertureShape);
        applicator.opening = Number(*geometry.front(), DCM_ApplicatorOpening);
        applicator.openingX = Number(*geometry.front(), DCM_ApplicatorOpeningX);
        applicator.openingY = Number(*geometry.front(), DCM_ApplicatorOpeningY);
    }
    return applicator;
}

void ReadAccessories(DcmItem& item, PlanBeam& beam) {
    for (DcmItem* device : Items(item, DCM_BeamLimitingDeviceSequence)) {
        beam.devices.push_back({Text(*device, DCM_RTBeamLimitingDeviceType),
                                Numbers(*device, DCM_LeafPositionBoundaries),
                                Integer(*device, DCM_NumberOfLeafJawPairs)});
    }
    for (DcmItem* wedge : Items(item, DCM_WedgeSequence)) {
        beam.wedges.push_back({Text(*wedge, DCM_WedgeID), Number(*wedge, DCM_WedgeAngle),
                               Text(*wedge, DCM_WedgeType)});
    }
    for (DcmItem* block : Items(item, DCM_BlockSequence)) {
        beam.blocks.push_back({Text(*block, DCM_BlockName), Text(*block, DCM_BlockTrayID),
                               Text(*block, DCM_BlockType)});
    }
    for (DcmItem* applicator : Items(item, DCM_ApplicatorSequence)) {
        beam.applicators.push_back(ReadApplicator(*applicator));
    }
}

Result<PlanBeam> ReadBeam(DcmItem& item) {
    PlanBeam beam;
    beam.number = Integer(item, DCM_BeamNumber);
    beam.name = Text(item, DCM_BeamName);
    beam.machine = Text(item, DCM_TreatmentMachineName);
    beam.radiationType = Text(item, DCM_RadiationType);
    beam.beamType = Text(item, DCM_BeamType);
    beam.deliveryType = Text(item, DCM_TreatmentDeliveryType);
    beam.SAD = NumberOrNaN(item, DCM_SourceAxisDistance);
    beam.setupNumber = Integer(item, DCM_ReferencedPatientSetupNumber);
    beam.finalWeight = NumberOrNaN(item, DCM_FinalCumulativeMetersetWeight);
    ReadAccessories(item, beam);
    const std::vector<DcmItem*> points = Items(item, DCM_ControlPointSequence);
    if (points.size() > kMaxControlPoints) {
        return Result<PlanBeam>::Fail("a beam has more than " + std::to_string(kMaxControlPoints) +
                                      " control points");
    }
    for (DcmItem* point : points) {
        beam.controlPoints.push_back(ReadControlPoint(*point));
    }
    return beam;
}

void ReadDoses(DcmItem& data, PlanData& plan) {
    for (DcmItem* group : Items(data, DCM_FractionGroupSequence)) {
        PlanFractionGroup fractions;
        fractions.number = Integer(*group, DCM_FractionGroupNumber);
        for (DcmItem* beam : Items(*group, DCM_ReferencedBeamSequence)) {
            fractions.beams.push_back(
                {Integer(*beam, DCM_ReferencedBeamNumber), Number(*beam, DCM_BeamDose),
                 NumberOrNaN(*beam, DCM_BeamMeterset), Number(*beam, DCM_BeamDosePointDepth),
                 Numbers(*beam, DCM_RETIRED_BeamDoseSpecificationPoint)});
        }
        plan.fractionGroups.push_back(std::move(fractions));
    }
    for (DcmItem* setup : Items(data, DCM_PatientSetupSequence)) {
        plan.setups.push_back({Integer(*setup, DCM_PatientSetupNumber),
                               Text(*setup, DCM_SetupTechnique),
                               Text(*setup, DCM_PatientPosition)});
    }
}

/// True when the file meta header names the deflated transfer syntax: its values could only
/// be read at once, whatever length a damaged file claims, and planning systems do not write
/// it.
bool Deflated(std::string_view bytes) {
    constexpr std::size_t kPreamble = 128;
    constexpr std::size_t kMetaHeaderLook = 1024;
    if (bytes.size() < kPreamble + 4 || bytes.substr(kPreamble, 4) != "DICM") {
        return false;
    }
    return bytes.substr(kPreamble, kMetaHeaderLook)
               .find(UID_DeflatedExplicitVRLittleEndianTransferSyntax) != std::string_view::npos;
}

Status Parse(std::string_view bytes, DcmFileFormat& file) {
    if (Deflated(bytes)) {
        return Status::Fail("a deflated DICOM file: RT Plans are read uncompressed");
    }
    dicom::MemoryInputStream stream(bytes);
    file.transferInit();
    // Values longer than the read limit stay in the bytes until they are asked for.
    const OFCondition read = file.read(stream, EXS_Unknown, EGL_noChange, DCM_MaxReadLength);
    file.transferEnd();
    if (read.bad()) {
        return Status::Fail(std::string("the file is not readable DICOM data (") + read.text() +
                            ")");
    }
    return Status::Ok();
}

/// Ok for an RT Plan: by its SOP class, or by its modality when the class is missing.
Status CheckRTPlan(DcmFileFormat& file) {
    DcmDataset& data = *file.getDataset();
    std::string sopClass = Text(data, DCM_SOPClassUID);
    if (sopClass.empty() && file.getMetaInfo() != nullptr) {
        sopClass = Text(*file.getMetaInfo(), DCM_MediaStorageSOPClassUID);
    }
    if (sopClass == UID_RTPlanStorage ||
        (sopClass.empty() && Text(data, DCM_Modality) == "RTPLAN")) {
        return Status::Ok();
    }
    if (sopClass == UID_RTIonPlanStorage) {
        return Status::Fail("an RT Ion Plan: only photon and electron plans are checked");
    }
    return Status::Fail(sopClass.empty() ? std::string("not an RT Plan")
                                         : "not an RT Plan (SOP class " + sopClass + ")");
}

/// Doses and metersets refer to beams by number: two beams of one number cannot be told
/// apart, so the plan is damaged.
Status CheckBeamNumbers(const std::vector<PlanBeam>& beams) {
    for (std::size_t i = 0; i < beams.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (beams[i].number && beams[i].number == beams[j].number) {
                return Status::Fail("the RT Plan is damaged: beams " + std::to_string(j + 1) +
                                    " and " + std::to_string(i + 1) + " have the same BeamNumber " +
                                    std::to_string(*beams[i].number));
            }
        }
    }
    return Status::Ok();
}

Result<PlanData> ReadPlan(DcmDataset& data) {
    PlanData plan;
    plan.patientName = Text(data, DCM_PatientName);
    plan.patientID = Text(data, DCM_PatientID);
    plan.label = Text(data, DCM_RTPlanLabel);
    const std::vector<DcmItem*> beams = Items(data, DCM_BeamSequence);
    if (beams.empty()) {
        return Result<PlanData>::Fail("the RT Plan has no beam");
    }
    if (beams.size() > kMaxBeams) {
        return Result<PlanData>::Fail("the RT Plan has more than " + std::to_string(kMaxBeams) +
                                      " beams");
    }
    for (DcmItem* item : beams) {
        Result<PlanBeam> beam = ReadBeam(*item);
        if (!beam) {
            return beam.status();
        }
        plan.beams.push_back(std::move(beam.value()));
    }
    if (const Status numbers = CheckBeamNumbers(plan.beams); !numbers) {
        return numbers;
    }
    ReadDoses(data, plan);
    return plan;
}

} // namespace

Result<PlanData> ReadRTPlan(std::string_view bytes) {
    static std::once_flag quiet;
    std::call_once(quiet, [] { OFLog::configure(OFLogger::OFF_LOG_LEVEL); });
    if (!dcmDataDict.isDictionaryLoaded()) {
        return Result<PlanData>::Fail(
            "DCMTK's data dictionary is not installed, so no DICOM file can be read");
    }
    if (bytes.empty()) {
        return Result<PlanData>::Fail("the file is empty, not an RT Plan");
    }
    DcmFileFormat file;
    if (const Status parsed = Parse(bytes, file); !parsed) {
        return parsed;
    }
    if (const Status plan = CheckRTPlan(file); !plan) {
        return plan;
    }
    // Texts are taken as UTF-8 where they are, else as Windows-1252 (a superset of the
    // Latin-1 plans are written in). DCMTK's character set conversion would read every text
    // value, however long a damaged file says it is.
    return ReadPlan(*file.getDataset());
}

Result<PlanData> ReadRTPlanFile(const std::string& path) {
    const FileBytes file = ReadFileBytes(path, kMaxRTPlanBytes);
    if (!file.ok()) {
        return Result<PlanData>::Fail(file.reason);
    }
    return ReadRTPlan(file.bytes);
}

} // namespace kova
