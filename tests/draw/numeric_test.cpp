// The numeric helpers: rounding, remainders, absolute values, counts and the shortest form of a
// number as the user sees it.

#include "draw/numeric.h"

#include <QtTest>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

using namespace vlab;

class NumericTest : public QObject {
    Q_OBJECT
private slots:
    void roundToHalvesAwayFromZero() {
        QCOMPARE(RoundTo(2.5, 0), 3.0);
        QCOMPARE(RoundTo(-2.5, 0), -3.0);
        QCOMPARE(RoundTo(-0.5, 0), -1.0);
        QCOMPARE(RoundTo(0.49999999999999994, 0), 0.0);
        QCOMPARE(RoundTo(2.4, 0), 2.0);
        QCOMPARE(RoundTo(-2.4, 0), -2.0);
        // No scaling below one decimal: a whole number.
        QCOMPARE(RoundTo(7.6, -3), 8.0);
    }

    void roundToDecimalsByRepeatedMultiplication() {
        QVERIFY(std::fabs(RoundTo(0.125, 2) - 0.13) < 1e-15);
        // Cleaning floating noise at 12 places lands on the nearest double.
        QCOMPARE(RoundTo(0.30000000000000004, 12), 0.3);
        QCOMPARE(RoundTo(1.15, 1), 1.2);
        QCOMPARE(RoundTo(0.1 + 0.2, 12), 0.3);
        QCOMPARE(RoundTo(-(0.1 + 0.2), 12), -0.3);
        // A cosine residue disappears: cos 270 degrees times 620.
        QCOMPARE(RoundTo(620 * std::cos(DegToRad(270)), 12), 0.0);
        QCOMPARE(RoundTo(123.456, 12), 123.456);
    }

    void roundToIsDefinedForEveryDouble() {
        QCOMPARE(RoundTo(1e300, 12), 1e300);  // too large to carry decimals: unchanged, no overflow
        QCOMPARE(RoundTo(-1e300, 12), -1e300);
        QCOMPARE(RoundTo(9.0e18, 0), 9.0e18);  // beyond any 64-bit integer's reach
        QCOMPARE(RoundTo(1e200, 200), 1e200);
        QVERIFY(std::isnan(RoundTo(std::nan(""), 12)));
        QCOMPARE(RoundTo(std::numeric_limits<double>::infinity(), 3),
                 std::numeric_limits<double>::infinity());
        QCOMPARE(RoundTo(std::numeric_limits<double>::denorm_min(), 12), 0.0);
        QCOMPARE(RoundTo(0.5, 1000), 0.5);
    }

    // The inline rounding of the drawing loops must agree bit for bit with the library's, zeros'
    // signs, halves, the edge of exact doubles and the values that are no numbers included.
    void inlineRoundingAgreesWithTheLibrary() {
        const double big = 4503599627370496.0;  // 2^52
        const std::vector<double> values = {0.0,
                                            -0.0,
                                            0.5,
                                            -0.5,
                                            1.5,
                                            -1.5,
                                            2.5,
                                            -2.5,
                                            0.49999999999999994,
                                            -0.49999999999999994,
                                            99.99,
                                            -99.99,
                                            big - 0.5,
                                            -(big - 0.5),
                                            big,
                                            -big,
                                            1e300,
                                            -1e300,
                                            1e-300,
                                            -1e-300,
                                            std::nextafter(3.0, 0.0),
                                            std::numeric_limits<double>::infinity(),
                                            -std::numeric_limits<double>::infinity()};
        auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
        for (const double v : values) {
            QVERIFY2(same(FastTrunc(v), std::trunc(v)), qPrintable(QString::number(v, 'g', 17)));
            QVERIFY2(same(FastFloor(v), std::floor(v)), qPrintable(QString::number(v, 'g', 17)));
            QVERIFY2(same(RoundToWhole(v), RoundTo(v, 0)), qPrintable(QString::number(v, 'g', 17)));
        }
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QVERIFY(std::isnan(FastTrunc(nan)) && std::isnan(FastFloor(nan)) && std::isnan(RoundToWhole(nan)));
        // A sweep over the arc offsets the kit rounds: cos and sin times radii of the ripple tank.
        for (int deg = -360; deg <= 720; deg += 7)
            for (double r = 0; r < 500; r += 12.5) {
                const double v = std::cos(DegToRad(deg)) * r;
                QVERIFY(same(RoundToWhole(v), RoundTo(v, 0)));
                QVERIFY(same(FastTrunc(v + 0.25), std::trunc(v + 0.25)));
            }
    }

    // Whole numbers skip the steps when every step would give a whole number again; on either side
    // of that limit, and for values that are not whole, the result is the one the steps give:
    // times ten d times, half up, a tenth d times.
    void roundToWholeNumbersAsTheStepsWould() {
        auto steps = [](double v, int d) {
            const bool negative = v < 0;
            double s = negative ? -v : v;
            for (int i = 0; i < d; ++i) s *= 10.0;
            if (!std::isfinite(s)) return v;
            double r = (s - std::floor(s)) >= 0.5 ? std::floor(s) + 1 : std::floor(s);
            for (int i = 0; i < d; ++i) r /= 10.0;
            return negative ? -r : r;
        };
        std::vector<double> values = {0.0, -0.0, 1, -1, 700, 548, 90000, 123456789};
        for (int d = 0; d <= 22; ++d) {
            const double limit = std::floor(9007199254740992.0 / std::pow(10.0, d));
            for (double k = -3; k <= 3; ++k) values.push_back(limit + k), values.push_back(-(limit + k));
        }
        QRandomGenerator random(53);
        for (int i = 0; i < 20000; ++i) {
            values.push_back(std::floor(random.generateDouble() * 2e6 - 1e6));
            values.push_back(random.generateDouble() * 2e4 - 1e4);
        }
        for (const int d : {0, 1, 3, 4, 8, 12, 15, 22, 30}) {
            for (const double v : values) {
                const double got = RoundTo(v, d), want = steps(v, d);
                if (std::memcmp(&got, &want, sizeof got) != 0)
                    QFAIL(qPrintable(QStringLiteral("RoundTo(%1, %2) = %3, the steps give %4")
                                         .arg(v, 0, 'g', 17)
                                         .arg(d)
                                         .arg(got, 0, 'g', 17)
                                         .arg(want, 0, 'g', 17)));
            }
        }
    }

    // The side-by-side rounding must give what RoundTo gives value by value, whatever mix of
    // fractions, whole numbers, signs and non-numbers shares a block, and for counts that leave a
    // part block.
    void roundToEachAgreesWithRoundTo() {
        std::vector<double> values = {0.0,
                                      -0.0,
                                      0.5,
                                      -0.5,
                                      2.5,
                                      -2.5,
                                      0.30000000000000004,
                                      1e300,
                                      -1e300,
                                      1e-300,
                                      1e16,
                                      7.0,
                                      -7.0,
                                      std::nan(""),
                                      std::numeric_limits<double>::infinity(),
                                      -std::numeric_limits<double>::infinity(),
                                      6 * std::cos(DegToRad(215.3))};
        QRandomGenerator random(61);
        for (int i = 0; i < 5000; ++i) {
            values.push_back(random.generateDouble() * 12 - 6);
            values.push_back((random.generateDouble() - 0.5) * std::pow(10.0, random.bounded(-8, 18)));
            if (i % 7 == 0) values.push_back(std::floor(random.generateDouble() * 1e6));
        }
        for (const int d : {0, 3, 8, 12, 17, 40, 41, -2}) {
            for (const std::size_t count : {values.size(), std::size_t{1}, std::size_t{13}}) {
                std::vector<double> got(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(count));
                RoundToEach(got.data(), got.size(), d);
                for (std::size_t i = 0; i < count; ++i) {
                    const double want = RoundTo(values[i], d);
                    if (std::memcmp(&got[i], &want, sizeof want) != 0)
                        QFAIL(
                            qPrintable(QStringLiteral("RoundToEach gives %1 for %2 at %3 places, RoundTo %4")
                                           .arg(got[i], 0, 'g', 17)
                                           .arg(values[i], 0, 'g', 17)
                                           .arg(d)
                                           .arg(want, 0, 'g', 17)));
                }
            }
        }
    }

    void roundsToZeroExactlyWhenRoundToGivesZero() {
        std::vector<double> values = {0.0,
                                      -0.0,
                                      0.5,
                                      0.49999999999999994,
                                      std::nan(""),
                                      1e300,
                                      std::numeric_limits<double>::infinity(),
                                      std::numeric_limits<double>::denorm_min()};
        for (const int d : {0, 1, 8, 12, 40}) {
            // Both sides of the half unit of the last place, where the scaled value's own rounding
            // decides.
            const double half = 0.5 / std::pow(10.0, d);
            for (double v = half, i = 0; i < 4; ++i)
                v = std::nextafter(v, 0.0), values.push_back(v), values.push_back(-v);
            for (double v = half, i = 0; i < 4; ++i)
                v = std::nextafter(v, 1.0), values.push_back(v), values.push_back(-v);
        }
        QRandomGenerator random(67);
        for (int i = 0; i < 3000; ++i)
            values.push_back((random.generateDouble() - 0.5) * std::pow(10.0, random.bounded(-44, 4)));
        for (const int d : {-1, 0, 1, 3, 8, 12, 40, 45})
            for (const double v : values)
                if (RoundsToZero(v, d) != (RoundTo(v, d) == 0))
                    QFAIL(qPrintable(QStringLiteral("RoundsToZero(%1, %2) is %3")
                                         .arg(v, 0, 'g', 17)
                                         .arg(d)
                                         .arg(RoundsToZero(v, d))));
    }

    void fmodIsTheRemainderOfTruncatedDivision() {
        QCOMPARE(FMod(7, 2), 1.0);
        QCOMPARE(FMod(6, 2), 0.0);
        QCOMPARE(FMod(3.5, 3), 0.5);
        QCOMPARE(FMod(0, 2), 0.0);
        QCOMPARE(FMod(1e300, 2), 0.0);  // even: every double that large is
        // Outside the callers' range the formula still gives a number.
        QCOMPARE(FMod(-7, 2), -13.0);
        QCOMPARE(FMod(5, 0), 5.0);
    }

    void absAndCount() {
        QCOMPARE(AbsReal(-2.5), 2.5);
        QCOMPARE(AbsInt(-7), 7);
        QCOMPARE(AbsInt(INT_MIN), INT_MAX);
        QCOMPARE(CountChar("-1.5.", "."), 2);
        QCOMPARE(CountChar("--5", "-"), 2);
        QCOMPARE(CountChar("", "."), 0);
        QCOMPARE(CountChar("abab", "ab"), 0);  // not a single character
        QCOMPARE(CountChar("abab", ""), 0);
        QCOMPARE(CountChar("质量质", "质"), 2);
    }

    void numbersInShortestForm() {
        QCOMPARE(ShortestText(120), QString("120"));
        QCOMPARE(ShortestText(2.5), QString("2.5"));
        QCOMPARE(ShortestText(-4.9), QString("-4.9"));
        QCOMPARE(ShortestText(-0.0), QString("0"));
        QCOMPARE(ShortestText(0.1 + 0.2), QString("0.30000000000000004"));
        QCOMPARE(TruncToInt(-3.7), -3);
        QCOMPARE(TruncToInt(12.9), 12);
        QCOMPARE(TruncToInt(1e300), INT_MAX);
        QCOMPARE(TruncToInt(std::nan("")), 0);
    }
};

QTEST_APPLESS_MAIN(NumericTest)
#include "numeric_test.moc"
