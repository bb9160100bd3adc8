#include "core/workbench/multileaf_input.h"

#include "core/beams/control_names.h"
#include "core/beams/photon_beam_form.h"
#include "core/mlc/mlc_file.h"
#include "core/text/number_text.h"
#include "core/text/trim.h"

#include <filesystem>

namespace kova {
namespace {

const MLCField* FindField(const MLCFieldList& list, const BeamEntry* entry) {
    if (entry == nullptr) {
        return list.fields.empty() ? nullptr : &list.fields.front();
    }
    for (const MLCField& field : list.fields) {
        if (Trim(field.name) == Trim(entry->value)) {
            return &field;
        }
    }
    return nullptr;
}

/// The checks of the keys themselves; none when any failed.
const PhotonBeamForm* CheckKeys(const BeamBlock& block, const BeamForm& form,
                                std::vector<InputError>& errors) {
    const BeamEntry* file = block.Find("MultileafFile");
    const auto error = [&](const BeamEntry* entry, const std::string& message,
                           const std::string& text) {
        errors.push_back({block.file, entry != nullptr ? entry->line : block.line, message, text});
    };
    const auto* photon = dynamic_cast<const PhotonBeamForm*>(&form);
    if (photon == nullptr) {
        error(file, "a multileaf field needs a photon beam", file->value);
        return nullptr;
    }
    if (const BeamEntry* comp = block.Find(controls::kMultileafComp)) {
        error(comp, "MultileafComp and MultileafFile cannot both be given", comp->value);
        return nullptr;
    }
    if (const Status can = form.CanSet(controls::kMultileafComp); !can) {
        error(file, can.reason(), file->value);
        return nullptr;
    }
    const BeamEntry* jaws = block.Find("MLCJaws");
    if (jaws != nullptr && jaws->value != "Current" && jaws->value != "Recommended") {
        error(jaws, "MLCJaws must be Current or Recommended", jaws->value);
        return nullptr;
    }
    return photon;
}

/// The field texts the block typed, each a number: "Recommended" writes over them, but a
/// text that is not a number is refused as OK refuses it, never dropped unseen.
Status CheckTypedField(const BeamBlock& block, const BeamForm& form) {
    for (const BeamEntry& entry : block.entries) {
        const ControlSpec* control = form.Find(entry.key);
        if (control != nullptr && control->sheet != 0 && control->type == ControlType::Edit) {
            if (const Result<double> value = StrToFloat(entry.value); !value) {
                const std::string_view caption =
                    control->caption.empty() ? control->name : control->caption;
                return Status::Fail(std::string(caption) + ": " + value.reason());
            }
        }
    }
    return Status::Ok();
}

} // namespace

std::string MultileafFilePath(const BeamBlock& block, const std::string& value) {
    const std::filesystem::path path(value);
    if (path.is_absolute()) {
        return value;
    }
    return (std::filesystem::path(block.file).parent_path() / path).string();
}

MultileafOutcome ImportMultileafKeys(const BeamBlock& block, BeamForm& form,
                                     std::vector<InputError>& errors) {
    MultileafOutcome outcome;
    const BeamEntry* file = block.Find("MultileafFile");
    if (file == nullptr) {
        for (const char* key : {"MultileafField", "MLCJaws"}) {
            if (const BeamEntry* entry = block.Find(key)) {
                errors.push_back({block.file, entry->line, "this key needs a MultileafFile", key});
            }
        }
        return outcome;
    }
    if (CheckKeys(block, form, errors) == nullptr) {
        return outcome;
    }
    auto& photon = static_cast<PhotonBeamForm&>(form);
    const Result<MLCFieldList> list = ReadMLCFile(MultileafFilePath(block, file->value));
    if (!list) {
        errors.push_back({block.file, file->line, list.reason(), file->value});
        return outcome;
    }
    const BeamEntry* fieldEntry = block.Find("MultileafField");
    const MLCField* field = FindField(*list, fieldEntry);
    if (field == nullptr) {
        errors.push_back({block.file, fieldEntry->line,
                          "no field of " + list->fileName + " has this name", fieldEntry->value});
        return outcome;
    }
    const BeamEntry* jaws = block.Find("MLCJaws");
    if (jaws != nullptr && jaws->value == "Recommended") {
        if (const Status typed = CheckTypedField(block, form); !typed) {
            outcome.refusal = typed.reason();
            return outcome;
        }
        photon.SetRecommendedJaws(*field);
    } else {
        if (const Status fits = photon.CanUseCurrentJaws(); !fits) {
            outcome.refusal = "the jaws cannot be kept with the multileaf field: " + fits.reason();
            return outcome;
        }
    }
    const Result<MLCFactors> factors = photon.MultileafFactorsOf(*field);
    if (!factors) {
        outcome.refusal = factors.reason();
        return outcome;
    }
    photon.AddMultileafFromFile(list->fileName, *field, *factors);
    outcome.imported = MultileafImport{list->fileName, *field, *factors};
    return outcome;
}

} // namespace kova
