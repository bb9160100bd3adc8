#pragma once

// What every multileaf field a reader lists must satisfy, whatever the file held. Any
// broken promise aborts, so libFuzzer reports it like a crash.

#include "core/mlc/mlc_factors.h"
#include "core/mlc/mlc_file.h"
#include "core/mlc/mlc_jaws.h"

#include <cmath>
#include <cstdlib>
#include <memory>

namespace kova::fuzz {

/// A photon energy whose phantom scatter table every field is looked up in.
inline const TgEnergy& ScatterEnergy() {
    static const std::unique_ptr<TgEnergy> energy = [] {
        auto e = std::make_unique<TgEnergy>();
        e->MLCSupported = true;
        for (double size : {4.0, 10.0, 30.0}) {
            auto field = std::make_unique<RefField>();
            field->Width = field->Height = size;
            field->isScatterPhantomFactorAvailable = true;
            field->ScatterPhantomFactor = 0.9 + size / 100;
            e->RefFields.push_back(std::move(field));
        }
        return e;
    }();
    return *energy;
}

inline void Require(bool promise) {
    if (!promise) {
        std::abort();
    }
}

inline void CheckField(const MLCField& field) {
    bool moderate = true; // leaves a sum of which cannot overflow
    for (int i = 0; i < kLeafPairCount; ++i) {
        // Every leaf came from a word that converted to a finite number.
        Require(std::isfinite(field.leaves.R[i]) && std::isfinite(field.leaves.L[i]));
        // ...within the reach of a collimator.
        Require(std::fabs(field.leaves.R[i]) <= kMaxLeafTip &&
                std::fabs(field.leaves.L[i]) <= kMaxLeafTip);
        moderate = moderate && std::fabs(field.leaves.R[i]) < 1e300 &&
                   std::fabs(field.leaves.L[i]) < 1e300;
    }
    const MLCGeometry& g = field.geometry;
    Require(!(g.area < 0) && !(g.perimeter < 0));
    if (moderate) {
        Require(std::isfinite(g.area) && std::isfinite(g.perimeter));
        // An opening has an outline: the two tips of every open pair at least.
        Require(g.area == 0 || g.perimeter >= 2 * kLeafWidth);
    }
    Require(field.picture.BlackCount() <= MLCPicture::kSize * MLCPicture::kSize);
    Require(MLCFieldTexts(field)[0] == field.name);
    Require(RecommendedJawTexts(field).size() == 14);
    // Factors are either refused or finite and above 0.
    const Result<MLCFactors> factors = ComputeMLCFactors(ScatterEnergy(), 10, g.area, g.perimeter);
    Require(!factors.ok() || (std::isfinite(factors->Average()) && factors->sqrtFactor > 0 &&
                              factors->leqFactor > 0));
    Require(factors.ok() || !factors.reason().empty());
}

inline void CheckFields(const Result<std::vector<MLCField>>& fields) {
    if (!fields.ok()) {
        Require(!fields.reason().empty());
        return;
    }
    for (const MLCField& field : *fields) {
        CheckField(field);
    }
}

inline void CheckList(const Result<MLCFieldList>& list) {
    if (!list.ok()) {
        Require(!list.reason().empty());
        return;
    }
    Require(!list->fields.empty()); // an empty list is reported as "No multileaf field"
    for (const MLCField& field : list->fields) {
        CheckField(field);
    }
}

} // namespace kova::fuzz
