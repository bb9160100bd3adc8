#pragma once

#include <cmath>
#include <cstddef>
#include <optional>

namespace kova {

/// The two table entries around a query x on one key: the nearest entry and, when x lies
/// between two keys, the nearest entry strictly on the other side of x.
struct NearestBracket {
    std::size_t nearest = 0;
    std::optional<std::size_t> bracket; ///< none when x equals the nearest key or lies beyond
    bool exact = false;                 ///< the nearest key equals x exactly
};

/// Finds the nearest candidate to x among `count` keys given by key(i), then its bracket.
/// Only keys closer than `radius` count; among equal distances the earlier candidate wins.
/// None when no key is within the radius.
template <class KeyOf>
std::optional<NearestBracket> FindNearestBracket(std::size_t count, KeyOf key, double x,
                                                 double radius) {
    std::optional<std::size_t> nearest;
    double best = radius;
    for (std::size_t i = 0; i < count; ++i) {
        const double distance = std::fabs(key(i) - x);
        if (distance < best) {
            best = distance;
            nearest = i;
        }
    }
    if (!nearest) {
        return std::nullopt;
    }
    NearestBracket found;
    found.nearest = *nearest;
    const double nearestKey = key(*nearest);
    if (nearestKey == x) {
        found.exact = true;
        return found;
    }
    best = radius;
    for (std::size_t i = 0; i < count; ++i) {
        const double k = key(i);
        const bool otherSide = (nearestKey < x && x < k) || (k < x && x < nearestKey);
        if (i != *nearest && otherSide && std::fabs(k - x) < best) {
            best = std::fabs(k - x);
            found.bracket = i;
        }
    }
    return found;
}

/// Straight line through (kb, vb) and (kn, vn), evaluated at x.
inline double Interpolate(double kb, double vb, double kn, double vn, double x) {
    return vb + (vn - vb) * (x - kb) / (kn - kb);
}

} // namespace kova
