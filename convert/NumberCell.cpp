#include "NumberCell.h"

#include <cmath>

namespace {
constexpr std::uint32_t kThousandthsBit = 0x80000000;
constexpr std::uint32_t kLargestFillValue = 0x7FFFFFFF;  // hundredths, or thousandths below bit 31
// How far a value read back may lie from a whole number of hundredths and
// still count as one, in hundredths: far more than a double's error at the
// largest fill amount (about 1e-7 there), far less than a thousandth (10).
constexpr double kHundredthsTolerance = 1e-4;
constexpr double kTwoToThe52 = 4503599627370496.0;

// std::round (halves away from zero), which the C runtime here computes by a
// slow general routine, four times a row.  Below 2^52 the whole part fits an
// integer and the fraction is exact; at or beyond it, and for infinities and
// NaN, a value is its own rounding.
double RoundHalfAway(double value) {
    if (!(std::fabs(value) < kTwoToThe52)) return value;
    const double whole = static_cast<double>(static_cast<std::int64_t>(value));
    const double fraction = value - whole;
    if (fraction >= 0.5) return whole + 1.0;
    if (fraction <= -0.5) return whole - 1.0;
    return std::copysign(whole, value);
}
}  // namespace

bool ScaleToField(double value, double factor, std::uint32_t largest, std::uint32_t& field) {
    const double scaled = RoundHalfAway(value * factor);
    // Compared as doubles first: converting an out-of-range double to an
    // integer is undefined.
    if (!(scaled >= 0.0 && scaled <= static_cast<double>(largest))) return false;
    field = static_cast<std::uint32_t>(scaled);
    return true;
}

bool ScaleFillAmount(double value, std::uint32_t& field) {
    const double hundredths = value * 100.0;
    // A cell written with two decimals (by the export or by hand) may arrive
    // as a double a little off its hundredths: it stays in hundredths.
    const bool wholeHundredths = std::fabs(hundredths - RoundHalfAway(hundredths)) <= kHundredthsTolerance;
    std::uint32_t thousandths = 0;
    if (!wholeHundredths && ScaleToField(value, 1000.0, kLargestFillValue, thousandths)) {
        field = kThousandthsBit | thousandths;
        return true;
    }
    return ScaleToField(value, 100.0, kLargestFillValue, field);
}
