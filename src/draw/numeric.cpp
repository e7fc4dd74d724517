#include "draw/numeric.h"

#include <QLocale>

#include <algorithm>
#include <climits>
#include <cmath>

namespace vlab {

namespace {
// 10^0 to 10^22, each exact in a double, and the first whole number a double cannot hold next to
// its neighbour.
constexpr int kMaxExactPower = 22;
constexpr double kPowersOfTen[kMaxExactPower + 1] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                     1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                     1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr double kTwoTo53 = 9007199254740992.0;

// Rounds a non-negative value to `decimals` places; values too large to carry a fraction at that
// scale are returned as they are (a double that large has no decimals left to round).
// Scaling up, each product by 10 is rounded once, as every IEEE product is. Scaling back, each step takes
// exactly one tenth and rounds once: r * 0.1 with the double 0.1 would carry that constant's own error
// of 5.6e-18 into every step, so 0.30000000000000004 cleaned to 12 places would keep its noise. The exact
// tenth is the double nearest to r / 10, which IEEE division gives on every platform, with no extended
// precision involved.
double RoundNonNegative(double value, int decimals) {
    double scaled = value;
    for (int i = 0; i < decimals; ++i) scaled *= 10.0;
    if (!std::isfinite(scaled)) return value;
    const double f = std::floor(scaled);
    double r = (scaled - f) >= 0.5 ? f + 1.0 : f;
    for (int i = 0; i < decimals; ++i) r /= 10.0;
    return r;
}
}  // namespace

double RoundTo(double value, int decimals) {
    if (std::isnan(value) || std::isinf(value)) return value;
    if (decimals < 0) decimals = 0;
    if (decimals > 40) decimals = 40;  // beyond double precision: more steps change nothing useful
    // A whole number whose scaled form stays below 2^53 comes back as it is: every product by 10
    // on the way up and every tenth on the way down is then a whole number, exact in a double.
    // Squared pixel distances and end points of upright and level rays are such numbers.
    if (decimals <= kMaxExactPower && value == std::floor(value) &&
        std::fabs(value) * kPowersOfTen[decimals] < kTwoTo53)
        return value;
    return value >= 0 ? RoundNonNegative(value, decimals) : -RoundNonNegative(-value, decimals);
}

void RoundToEach(double* values, std::size_t count, int decimals) {
    decimals = std::clamp(decimals, 0, 40);
    // Blocks of 32, each step taken for the whole block before the next and without branches, so
    // that the compiler gives each step to the vector unit and the divider starts on one value
    // while earlier ones are still on their way.
    constexpr std::size_t kBlock = 32;
    // Below 2^52, adding and taking away 2^52 rounds a non-negative double to its nearest whole
    // number; from 2^52 on every double is whole.
    constexpr double kWhole = 4503599627370496.0;
    for (std::size_t start = 0; start < count; start += kBlock) {
        const std::size_t n = std::min(kBlock, count - start);
        double* const v = values + start;
        double a[kBlock] = {}, scaled[kBlock] = {}, r[kBlock] = {};
        for (std::size_t k = 0; k < n; ++k) a[k] = std::fabs(v[k]);
        for (std::size_t k = 0; k < kBlock; ++k) scaled[k] = a[k];
        for (int i = 0; i < decimals; ++i)
            for (double& x : scaled) x *= 10.0;
        for (std::size_t k = 0; k < kBlock; ++k) {
            const double x = scaled[k], nearest = (x + kWhole) - kWhole;
            const double below = nearest > x ? nearest - 1.0 : nearest;
            const double f = x < kWhole ? below : x;
            r[k] = (x - f) >= 0.5 ? f + 1.0 : f;
        }
        for (int i = 0; i < decimals; ++i)
            for (double& x : r) x /= 10.0;
        for (std::size_t k = 0; k < n; ++k) {
            // Whole numbers and values too large (or not numbers) take RoundTo's own way.
            const bool whole = !(a[k] < kWhole) || (a[k] + kWhole) - kWhole == a[k];
            const bool stepped = scaled[k] - scaled[k] == 0 && !whole;
            v[k] = !stepped ? RoundTo(v[k], decimals) : v[k] < 0 ? -r[k] : r[k];
        }
    }
}

bool RoundsToZero(double value, int decimals) {
    decimals = std::clamp(decimals, 0, 40);
    double scaled = std::fabs(value);
    for (int i = 0; i < decimals; ++i) scaled *= 10.0;
    return scaled < 0.5;  // false for NaN and the infinities, which come back as they are
}

double AbsReal(double value) { return value >= 0 ? value : -value; }

int AbsInt(int value) {
    // The one int without a positive counterpart stays as large as an int can be.
    if (value == INT_MIN) return INT_MAX;
    return value >= 0 ? value : -value;
}

double FMod(double a, double b) {
    if (b == 0.0) return a;  // no remainder to take: the value itself
    const double q = std::trunc(a / b);
    return a - b * std::fabs(q);
}

int CountChar(const QString& text, const QString& oneChar) {
    if (oneChar.size() != 1) return 0;
    return static_cast<int>(text.count(oneChar.at(0)));
}

QString ShortestText(double value) {
    if (value == 0.0) return QStringLiteral("0");  // never "-0"
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

int TruncToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace vlab
