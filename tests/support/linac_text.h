#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kova::test {

/// Builds linac texts for tests. Every field holds its token exactly as it goes into the
/// text, so a test can put any broken token anywhere ("abc" for a number, "2" for a flag).
/// Text words are stored encoded: write a space as 0xE7 (see TextWord). The defaults make a
/// small valid linac: one photon energy with one entry in each table and one electron
/// energy with one applicator.

/// The shortest text that reads back to `value` (independent of the program's formatting).
std::string Tok(double value);
/// A text word: each space replaced by the byte 0xE7.
std::string TextWord(std::string_view text);

/// A counted table: its entries as raw token text and the count written before them, which
/// defaults to the number of entries (set `Count` to write a wrong or broken count).
struct TokenTable {
    std::vector<std::string> Entries;
    std::optional<std::string> Count;
};

struct WFRow {
    double FieldSize = 0;
    double PDDWarp = 1;
    double WF = 1;
};

/// Width, height, field factor, scatter flag, scatter factor, then the (depth, dose) pairs.
std::string RefFieldEntry(double width, double height, double fieldFactor, bool scatterAvailable,
                          double scatterFactor, const std::vector<std::pair<double, double>>& pdd);
/// Name, type, maximum width and height, offset-wedged flag, then the factor rows.
std::string WedgeEntry(std::string_view name, int type, double maxWidth, double maxHeight,
                       bool offsetWedged, const std::vector<WFRow>& rows);
/// A tray, shield, multileaf factor or applicator: name and factor.
std::string NamedEntry(std::string_view name, double factor);
/// Centre field offset [cm] and offset factor.
std::string OffsetEntry(double offset, double factor);

/// The tokens of one photon energy block, in file order.
struct PhotonEnergyText {
    std::string Name = "X6";
    std::string NominalEnergy = "6";
    std::string MaxWidth = "40", MaxHeight = "40", MinWidth = "1", MinHeight = "1";
    std::string MaxLeft = "20", MaxRight = "20", MaxBottom = "20", MaxTop = "20";
    std::string MinLeft = "-2", MinRight = "-2", MinBottom = "-10", MinTop = "-10";
    std::string SCD = "100", Buildup = "1.5";
    std::string TBISupported = "0", TBIRef = "400", TBIFieldSize = "40";
    std::string OpenWedgeMUSupported = "0", PrintOffset = "0", MLCSupported = "1";
    std::string IgnoreOffset = "0.5";
    std::string cGyUMRatio = "1", HalfLife = "0", CalDate = "01/01/2026";
    TokenTable RefFields{{RefFieldEntry(10, 10, 1, false, 1, {{1.5, 1}, {10, 0.67}})}, {}};
    TokenTable Wedges{{WedgeEntry("W60", 0, 20, 30, false, {{10, 1, 0.3}})}, {}};
    TokenTable Trays{{NamedEntry("Tray", 0.97)}, {}};
    TokenTable OffsetFactors{{OffsetEntry(5, 1.01)}, {}};
    TokenTable MultileafFactors{{NamedEntry("MLC", 0.99)}, {}};
    TokenTable Shields{{NamedEntry("Block", 0.95)}, {}};
};

/// The tokens of one electron energy block, in file order.
struct ElectronEnergyText {
    std::string Name = "E9";
    std::string NominalEnergy = "9";
    std::string SSD = "100";
    std::string Buildup90 = "2.7";
    TokenTable Applicators{{NamedEntry("A10", 1.02)}, {}};
};

/// A whole linac text. Text() joins every token with `Separator`.
struct LinacText {
    std::string Magic = "DAZUZODADIDUSPECFILE";
    std::string Format = "0";
    std::string Name = "Test", Brand = "Acme", Model = "M1", SerialNumber = "SN1";
    std::string SAD = "100";
    std::string WidthChar = "X", HeightChar = "Y", LeftChar = "X1", RightChar = "X2",
                BottomChar = "Y1", TopChar = "Y2";
    std::string AsymmetricOnWidth = "1", AsymmetricOnHeight = "1";
    std::vector<PhotonEnergyText> Photons{PhotonEnergyText{}};
    std::optional<std::string> PhotonCount; ///< defaults to Photons.size()
    std::vector<ElectronEnergyText> Electrons{ElectronEnergyText{}};
    std::optional<std::string> ElectronCount; ///< defaults to Electrons.size()
    std::string Trailer;                      ///< raw text appended after the last token
    std::string Separator = "\n";

    std::string Text() const;
};

} // namespace kova::test
