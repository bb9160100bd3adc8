#pragma once

#include <array>
#include <string_view>

namespace kova::report {

/// The fixed texts of the printed pages: the set-up sheet's Italian labels, the 45 row labels
/// of the dosimetric details report and the 16 column headers of the set-up sheet.
struct Text {
    static constexpr std::string_view PatientName = "Nome Paziente";
    static constexpr std::string_view PatientID = "ID Paziente";
    static constexpr std::string_view Site = "Distretto";
    static constexpr std::string_view Yes = "SI";
    static constexpr std::string_view No = "NO";
    static constexpr std::string_view Doctor = "Medico";
    static constexpr std::string_view Physicist = "Fisico";

    /// Rows of the details report: 0 to 2 the treatment, 3 to 7 the energy, 8 to 44 the
    /// beam's own column. "Left\\Right" and "Top\\Bottom" hold two backslashes each.
    static constexpr std::array<std::string_view, 45> ReportRows = {
        "Treatment",
        "Linac",
        "SAD",
        "Energy",
        "Buildup/eBuildup90",
        "SCD/eSSD",
        "Original Cal Factor",
        "Original Cal Date",
        "Beam Banner",
        "Beam Name",
        "Beam ID",
        "Gantry Rot",
        "Jaws Rot",
        "Couch Rot",
        "Left\\\\Right",
        "Top\\\\Bottom",
        "Width",
        "Height",
        "Equiv Size",
        "Equiv Size PDD",
        "Field Factor",
        "Phantom Scatter",
        "SSD",
        "Depth",
        "Real SSD",
        "SSD PDD",
        "SCD PDD",
        "TMR",
        "Wedge",
        "Wedge Factor",
        "Warp Factor",
        "Effective Depth",
        "Shield",
        "Shield Factor",
        "Tray/eAppl",
        "Tray Factor",
        "MLC",
        "MLC Factor",
        "Offset",
        "Offset Factor",
        "Actual Cal Factor",
        "Actual Date",
        "Scale Factor",
        "Dose",
        "MU",
    };

    /// Row of the first text of a beam's own column, and of its "Beam Name".
    static constexpr int FirstBeamRow = 8;
    static constexpr int BeamNameRow = 9;

    /// Headers of the set-up sheet's columns 0 to 15 ("Dim Campo" twice: width and height).
    static constexpr std::array<std::string_view, 16> SetupHeaders = {
        "Fascio",    "ID Fascio",  "Linac",      "Energia",     "DSP",         "Dim Campo",
        "Dim Campo", "Rot Gantry", "Rot Coll",   "Rot Lettino", "Alt Lettino", "Blocchi",
        "Schermi",   "Cunei",      "Dose [cGy]", "UM",
    };
};

/// Columns of the set-up sheet that the sheet itself fills (the beams fill the others).
inline constexpr int kLinacColumn = 2;
inline constexpr int kEnergyColumn = 3;
inline constexpr int kDoseColumn = 14;
inline constexpr int kSetupColumns = 16;

} // namespace kova::report
