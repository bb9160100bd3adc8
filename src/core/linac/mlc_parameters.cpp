#include "core/linac/mlc_parameters.h"

#include "core/common/file_bytes.h"
#include "core/common/key_value_text.h"
#include "core/linac/linac_spec.h"
#include "core/text/number_text.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace kova {
namespace {

/// One key of a sidecar entry: its name in the file, what it is called in messages, its
/// range (the lower bound excluded or not) and where its value goes.
struct SidecarKey {
    const char* key;
    const char* what;
    const char* unit;
    double minimum;
    bool minimumExcluded;
    double maximum;
    std::optional<double> MlcSidecarEntry::*slot;
};

constexpr SidecarKey kKeys[] = {
    {"LeafTransmission", "leaf transmission", "", 0, true, 0.1, &MlcSidecarEntry::leafTransmission},
    {"DosimetricLeafGap", "dosimetric leaf gap", " cm", 0, false, 0.5, &MlcSidecarEntry::leafGap},
};

Status CheckRange(const SidecarKey& key, const std::string& energy, double value) {
    const bool low = key.minimumExcluded ? !(value > key.minimum) : !(value >= key.minimum);
    if (low || !(value <= key.maximum)) {
        return Status::Fail(std::string("the ") + key.what + " of " + energy + " is " +
                            FormatGeneral(value) + key.unit + "; it must be " +
                            (key.minimumExcluded ? "above " : "") + FormatGeneral(key.minimum) +
                            (key.minimumExcluded ? " and at most " : " to ") +
                            FormatGeneral(key.maximum) + key.unit);
    }
    return Status::Ok();
}

Status AddEnergy(const KeyValueLine& line, const TLinacSpec& linac,
                 std::vector<MlcSidecarEntry>& entries) {
    const auto named = [&line](const auto& item) { return item->Name == line.key; };
    if (std::none_of(linac.gEnergies.begin(), linac.gEnergies.end(), named)) {
        return Status::Fail("[" + line.key + "] is no photon energy of " + linac.Name);
    }
    for (const MlcSidecarEntry& entry : entries) {
        if (entry.energy == line.key) {
            return Status::Fail("[" + line.key + "] is given twice");
        }
    }
    entries.push_back({line.key, std::nullopt, std::nullopt});
    return Status::Ok();
}

Status SetValue(const KeyValueLine& line, std::vector<MlcSidecarEntry>& entries) {
    if (entries.empty()) {
        return Status::Fail("'" + line.text + "' comes before any [energy] title");
    }
    MlcSidecarEntry& entry = entries.back();
    for (const SidecarKey& key : kKeys) {
        if (line.key != key.key) {
            continue;
        }
        if (entry.*key.slot) {
            return Status::Fail(line.key + " of " + entry.energy + " is given twice");
        }
        const Result<double> value = StrToFloat(line.value);
        if (!value) {
            return value.status();
        }
        if (Status range = CheckRange(key, entry.energy, *value); !range) {
            return range;
        }
        entry.*key.slot = *value;
        return Status::Ok();
    }
    return Status::Fail("unknown key '" + line.key + "' (LeafTransmission or DosimetricLeafGap)");
}

} // namespace

std::string MlcSidecarName(const std::string& linacFileName) {
    return linacFileName + ".ini";
}

Result<std::vector<MlcSidecarEntry>> ParseMlcSidecar(std::string_view text,
                                                     const TLinacSpec& linac) {
    std::vector<MlcSidecarEntry> entries;
    for (const KeyValueLine& line : SplitKeyValueText(text)) {
        Status status = Status::Fail("expected '[energy]' or 'Key = Value'");
        if (line.type == KeyValueLine::Type::Title) {
            status = AddEnergy(line, linac, entries);
        } else if (line.type == KeyValueLine::Type::Entry) {
            status = SetValue(line, entries);
        }
        if (!status) {
            return Status::Fail("line " + std::to_string(line.number) + ": " + status.reason());
        }
    }
    return entries;
}

void ReadMlcSidecar(const std::string& linacPath, TLinacSpec& linac) {
    const std::filesystem::path path = MlcSidecarName(linacPath);
    linac.Mlc = MlcSidecar{};
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return;
    }
    const FileBytes bytes = ReadFileBytes(path.string(), kMaxMlcSidecarBytes);
    if (!bytes.ok()) {
        linac.Mlc.problem = bytes.reason;
        return;
    }
    Result<std::vector<MlcSidecarEntry>> parsed = ParseMlcSidecar(bytes.bytes, linac);
    if (!parsed) {
        linac.Mlc.problem = path.filename().string() + ", " + parsed.reason();
        return;
    }
    linac.Mlc.entries = std::move(parsed.value());
}

Result<MlcParameters> MlcParametersFor(const TLinacSpec& linac, const std::string& energyName) {
    if (!linac.Mlc.problem.empty()) {
        return Status::Fail(linac.Mlc.problem);
    }
    const std::string where = " (" + MlcSidecarName(linac.FileName) + ")";
    const auto entry =
        std::find_if(linac.Mlc.entries.begin(), linac.Mlc.entries.end(),
                     [&](const MlcSidecarEntry& e) { return e.energy == energyName; });
    for (const SidecarKey& key : kKeys) {
        if (entry == linac.Mlc.entries.end() || !((*entry).*key.slot)) {
            return Status::Fail("the energy " + energyName + " has no " + key.what + where);
        }
    }
    return MlcParameters{*entry->leafTransmission, *entry->leafGap};
}

} // namespace kova
