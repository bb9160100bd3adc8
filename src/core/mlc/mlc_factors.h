#pragma once

#include "core/common/result.h"
#include "core/linac/energy.h"

#include <string>
#include <string_view>

namespace kova {

/// The two estimates of the multileaf factor: the phantom scatter of the square equivalent
/// to the leaf opening over that of the jaw field.
struct MLCFactors {
    double sqrtFactor = 1; ///< opening as a square of the same area, side sqrt(a)
    double leqFactor = 1;  ///< opening as a square of side 4a / p
    double area = 0;       ///< a, cm^2: the opening they were worked out on
    double perimeter = 0;  ///< p, cm
    /// The factor a new multileaf entry gets: the mean of the two.
    double Average() const { return (sqrtFactor + leqFactor) * 0.5; }
};

/// The multileaf factors of a leaf opening of `area` (cm^2) and `perimeter` (cm) under a jaw
/// field whose equivalent square is `jawEquivSquare` (cm, as the beam shows it), on the
/// phantom scatter factors of `energy`'s reference fields:
/// sqrtFactor = Sp(sqrt(a)) / Sp(e) and leqFactor = Sp(4a / p) / Sp(e). The side 4a / p
/// equals sqrt(a) for a square opening, so a 10 x 10 opening under 10 x 10 jaws gives 1.
/// Fails, with the reason, when the energy has no multileaf support, the area, perimeter or
/// equivalent square is not a number above 0, a lookup fails, the phantom scatter of the
/// jaw field is not above 0, or a factor is not a finite number above 0.
Result<MLCFactors> ComputeMLCFactors(const TgEnergy& energy, double jawEquivSquare, double area,
                                     double perimeter);

/// Title of the box that shows the factors before a new multileaf entry is made.
inline constexpr const char* kMLCMessageTitle = "KOVA Message";

/// The text of that box: "a = 100.0 cm^2, p = 40.0 cm\nMultileaf Factor sqrt(a) = 1.000\n
/// Multileaf Factor leq = 1.000\n\nGuessed (Avg.) Multileaf Factor = 1.000".
std::string MLCFactorMessage(double area, double perimeter, const MLCFactors& factors);

/// The name of a multileaf entry made from a file's field: "plan.mlc::F1" (the field name as
/// read, a leading blank included).
std::string MLCEntryName(std::string_view fileName, std::string_view fieldName);

} // namespace kova
