#pragma once
// Numeric helpers shared by all drawing and physics code.

#include <QString>

#include <cmath>
#include <cstddef>

namespace vlab {

// Rounds to `decimals` places, halves away from zero, scaling by repeated multiplication by 10
// and back one exact tenth at a time (not one division by a power of ten). Plain doubles only:
// the same results on every platform.
double RoundTo(double value, int decimals);
// RoundTo for each of `count` values in place, with the same results. The long chains of tenths
// of several values are worked side by side instead of one after the other, which makes a long
// run of values several times faster than a loop of RoundTo calls.
void RoundToEach(double* values, std::size_t count, int decimals);
// RoundTo(value, decimals) == 0, found without the tenths: a value rounds to zero exactly when its
// scaled form rounds to zero, since no whole number of 1 or more reaches zero in 40 tenths.
bool RoundsToZero(double value, int decimals);
// std::trunc and std::floor without a library call, for the drawing loops that round every
// point. Exact: doubles of magnitude 2^52 and above are whole numbers already, and NaN and the
// infinities come back as they are.
inline double FastTrunc(double v) {
    constexpr double kWhole = 4503599627370496.0;  // 2^52
    if (!(v > -kWhole && v < kWhole)) return v;
    const double t = static_cast<double>(static_cast<long long>(v));
    return t == 0 ? std::copysign(0.0, v) : t;  // trunc keeps the sign of a zero
}
inline double FastFloor(double v) {
    const double t = FastTrunc(v);
    return t > v ? t - 1.0 : t;
}
// RoundTo(value, 0), inline.
inline double RoundToWhole(double value) {
    if (!(value - value == 0)) return value;  // NaN and infinities as they are
    const double a = value >= 0 ? value : -value;
    const double f = FastFloor(a);
    const double r = (a - f) >= 0.5 ? f + 1.0 : f;
    return value >= 0 ? r : -r;
}
double AbsReal(double value);
int AbsInt(int value);
// a - b * |trunc(a / b)|: the ordinary remainder for a >= 0 and b > 0.
double FMod(double a, double b);
// How many characters of text equal oneChar (0 unless oneChar is exactly one character long).
int CountChar(const QString& text, const QString& oneChar);

// A number as the user sees it: shortest decimal form ("120", "2.5", "-4.9").
QString ShortestText(double value);

// Truncation toward zero that is defined for every double: NaN gives 0, values beyond the int
// range give the nearest int limit.
int TruncToInt(double value);

inline constexpr double kPi = 3.141592653589793;
inline double DegToRad(double deg) { return deg * kPi * (1.0 / 180.0); }

}  // namespace vlab
