#include "support/linac_text.h"

#include <charconv>
#include <stdexcept>

namespace kova::test {
namespace {

/// Collects tokens and joins them with one separator.
class Joiner {
public:
    explicit Joiner(const std::string& separator) : m_separator(separator) {}

    void Add(std::string_view token) {
        if (m_count++ > 0) {
            m_text += m_separator;
        }
        m_text += token;
    }

    void AddTable(const TokenTable& table) {
        Add(table.Count ? *table.Count : std::to_string(table.Entries.size()));
        for (const std::string& entry : table.Entries) {
            Add(entry);
        }
    }

    std::string Take() { return std::move(m_text); }

private:
    const std::string& m_separator;
    std::string m_text;
    int m_count = 0;
};

void AddPhoton(Joiner& out, const PhotonEnergyText& e) {
    for (const std::string* token :
         {&e.Name,         &e.NominalEnergy, &e.MaxWidth,     &e.MaxHeight,
          &e.MinWidth,     &e.MinHeight,     &e.MaxLeft,      &e.MaxRight,
          &e.MaxBottom,    &e.MaxTop,        &e.MinLeft,      &e.MinRight,
          &e.MinBottom,    &e.MinTop,        &e.SCD,          &e.Buildup,
          &e.TBISupported, &e.TBIRef,        &e.TBIFieldSize, &e.OpenWedgeMUSupported,
          &e.PrintOffset,  &e.MLCSupported,  &e.IgnoreOffset, &e.cGyUMRatio,
          &e.HalfLife,     &e.CalDate}) {
        out.Add(*token);
    }
    for (const TokenTable* table :
         {&e.RefFields, &e.Wedges, &e.Trays, &e.OffsetFactors, &e.MultileafFactors, &e.Shields}) {
        out.AddTable(*table);
    }
}

} // namespace

std::string Tok(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (result.ec != std::errc()) {
        throw std::runtime_error("cannot write a number token");
    }
    return std::string(buffer, result.ptr);
}

std::string TextWord(std::string_view text) {
    std::string word(text);
    for (char& c : word) {
        if (c == ' ') {
            c = static_cast<char>(0xE7);
        }
    }
    return word;
}

std::string RefFieldEntry(double width, double height, double fieldFactor, bool scatterAvailable,
                          double scatterFactor, const std::vector<std::pair<double, double>>& pdd) {
    std::string text = Tok(width) + " " + Tok(height) + " " + Tok(fieldFactor) + " " +
                       (scatterAvailable ? "1" : "0") + " " + Tok(scatterFactor) + " " +
                       std::to_string(pdd.size());
    for (const auto& [depth, dose] : pdd) {
        text += " " + Tok(depth) + " " + Tok(dose);
    }
    return text;
}

std::string WedgeEntry(std::string_view name, int type, double maxWidth, double maxHeight,
                       bool offsetWedged, const std::vector<WFRow>& rows) {
    std::string text = TextWord(name) + " " + std::to_string(type) + " " + Tok(maxWidth) + " " +
                       Tok(maxHeight) + " " + (offsetWedged ? "1" : "0") + " " +
                       std::to_string(rows.size());
    for (const WFRow& row : rows) {
        text += " " + Tok(row.FieldSize) + " " + Tok(row.PDDWarp) + " " + Tok(row.WF);
    }
    return text;
}

std::string NamedEntry(std::string_view name, double factor) {
    return TextWord(name) + " " + Tok(factor);
}

std::string OffsetEntry(double offset, double factor) {
    return Tok(offset) + " " + Tok(factor);
}

std::string LinacText::Text() const {
    Joiner out(Separator);
    for (const std::string* token :
         {&Magic, &Format, &Name, &Brand, &Model, &SerialNumber, &SAD, &WidthChar, &HeightChar,
          &LeftChar, &RightChar, &BottomChar, &TopChar, &AsymmetricOnWidth, &AsymmetricOnHeight}) {
        out.Add(*token);
    }
    out.Add(PhotonCount ? *PhotonCount : std::to_string(Photons.size()));
    for (const PhotonEnergyText& photon : Photons) {
        AddPhoton(out, photon);
    }
    out.Add(ElectronCount ? *ElectronCount : std::to_string(Electrons.size()));
    for (const ElectronEnergyText& electron : Electrons) {
        for (const std::string* token :
             {&electron.Name, &electron.NominalEnergy, &electron.SSD, &electron.Buildup90}) {
            out.Add(*token);
        }
        out.AddTable(electron.Applicators);
    }
    std::string text = out.Take();
    return text + Trailer;
}

} // namespace kova::test
