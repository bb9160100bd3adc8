#include "core/mlc/mlc_factors.h"

#include "core/dosimetry/photon_lookups.h"
#include "core/text/number_text.h"

#include <cmath>

namespace kova {
namespace {

/// A figure that must be a finite number above 0.
Status CheckPositive(double value, const std::string& what) {
    if (std::isfinite(value) && value > 0) {
        return Status::Ok();
    }
    return Status::Fail(what + " is " + FigureText(value) + "; it must be above 0");
}

/// Phantom scatter factor of the square of side `side`.
Result<double> SquareScatter(const TgEnergy& energy, double side) {
    const Result<TableValue> found = LookupPhantomScatter(energy, side, side);
    if (!found) {
        return found.status();
    }
    return found->value;
}

} // namespace

Result<MLCFactors> ComputeMLCFactors(const TgEnergy& energy, double jawEquivSquare, double area,
                                     double perimeter) {
    if (!energy.MLCSupported) {
        return Result<MLCFactors>::Fail("the energy " + energy.Name +
                                        " has no multileaf collimator");
    }
    for (const Status& input :
         {CheckPositive(area, "the multileaf field area (cm^2)"),
          CheckPositive(perimeter, "the multileaf field perimeter (cm)"),
          CheckPositive(jawEquivSquare, "the equivalent square of the jaws (cm)")}) {
        if (!input) {
            return input;
        }
    }
    const Result<double> reference = SquareScatter(energy, jawEquivSquare);
    if (!reference) {
        return reference.status();
    }
    if (const Status positive =
            CheckPositive(*reference, "the phantom scatter factor of the jaw field");
        !positive) {
        return positive;
    }
    // Four times the area over the perimeter: the side of a square opening itself.
    const Result<double> bySide = SquareScatter(energy, std::sqrt(area));
    const Result<double> byOutline = SquareScatter(energy, 4 * area / perimeter);
    if (!bySide || !byOutline) {
        return bySide ? byOutline.status() : bySide.status();
    }
    const MLCFactors factors{*bySide / *reference, *byOutline / *reference, area, perimeter};
    // A tiny or negative scatter factor in the table would give a factor that looks like a
    // number but means nothing.
    for (const Status& result :
         {CheckPositive(factors.sqrtFactor, "the multileaf factor sqrt(a)"),
          CheckPositive(factors.leqFactor, "the multileaf factor leq"),
          CheckPositive(factors.Average(), "the average multileaf factor")}) {
        if (!result) {
            return result;
        }
    }
    return factors;
}

std::string MLCFactorMessage(double area, double perimeter, const MLCFactors& factors) {
    return "a = " + FormatFloat("0.0", area) + " cm^2, p = " + FormatFloat("0.0", perimeter) +
           " cm\nMultileaf Factor sqrt(a) = " + FormatFloat("0.000", factors.sqrtFactor) +
           "\nMultileaf Factor leq = " + FormatFloat("0.000", factors.leqFactor) +
           "\n\nGuessed (Avg.) Multileaf Factor = " + FormatFloat("0.000", factors.Average());
}

std::string MLCEntryName(std::string_view fileName, std::string_view fieldName) {
    return std::string(fileName) + "::" + std::string(fieldName);
}

} // namespace kova
