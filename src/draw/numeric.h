#pragma once
// Numeric helpers shared by all drawing and physics code.

#include <QString>

namespace vlab {

// Rounds to `decimals` places, halves away from zero, scaling by repeated multiplication by 10
// and back one exact tenth at a time (not one division by a power of ten). Plain doubles only:
// the same results on every platform.
double RoundTo(double value, int decimals);
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
