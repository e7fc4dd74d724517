// The worked examples of the help pages: every number marked with the dump it comes from
// (data-dump="FILE.json NAME" or "FILE.json NAME[i]") is the value the scenario that made the
// page's pictures leaves in that dump, and every closed-form answer marked with its formula
// (data-formula="NAME QUANTITY INPUTS...") is what the physics below gives, to the digits the page
// shows. The physics is worked out here from Newton's laws, the conservation laws and the
// geometry of the slits, not taken from the program.

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "linear_solve.h"
#include "scenario_support.h"

using namespace vlab::test;

namespace {

QString PageHtml(const QString& page) {
    QFile file(QStringLiteral(VLAB_SOURCE_DIR "/help/") + page);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList AllPages() {
    // Every page of the help folder.
    return QDir(QStringLiteral(VLAB_SOURCE_DIR "/help"))
        .entryList({QStringLiteral("*.htm")}, QDir::Files, QDir::Name);
}

// The number a page shows (a minus sign may be U+2212) equals value to half a unit of its last digit.
bool Shows(const QString& text, double value) {
    QString shown = text.trimmed();
    shown.replace(QChar(0x2212), u'-');
    bool ok = false;
    const double number = shown.toDouble(&ok);
    const int dot = shown.indexOf(u'.');
    const int decimals = dot < 0 ? 0 : int(shown.size() - dot - 1);
    return ok && std::fabs(value - number) <= 0.5 * std::pow(10.0, -decimals) + 1e-9;
}

constexpr double kG = 9.8;

// Pulleys: Newton's second law for each block (upward positive, light ropes and pulleys) and the
// length of each rope. Unknowns in order aA, aB, T (and aC, the movable pulley's aP).
std::optional<double> Pulley(int arrangement, const QString& quantity, const std::vector<double>& m) {
    std::vector<std::vector<double>> a;
    std::vector<double> b;
    QStringList names;
    if (arrangement == 1 && m.size() == 2) {
        // A and B on one rope over a fixed pulley.
        a = {{m[0], 0, -1}, {0, m[1], -1}, {1, 1, 0}};
        b = {-m[0] * kG, -m[1] * kG, 0};
        names = {QStringLiteral("aA"), QStringLiteral("aB"), QStringLiteral("T")};
    } else if (arrangement == 2 && m.size() == 2) {
        // A hangs from a movable pulley held by two lengths of the rope; B hangs from its free end,
        // so B moves twice as far as A.
        a = {{m[0], 0, -2}, {0, m[1], -1}, {2, 1, 0}};
        b = {-m[0] * kG, -m[1] * kG, 0};
        names = {QStringLiteral("aA"), QStringLiteral("aB"), QStringLiteral("T")};
    } else if (arrangement == 3 && m.size() == 3) {
        // C on one side of the fixed pulley, the movable pulley P (rope tension 2T) on the other;
        // A and B on the rope over P.
        a = {
            {m[0], 0, 0, 0, -1}, {0, m[1], 0, 0, -1}, {0, 0, m[2], 0, -2}, {0, 0, 1, 1, 0}, {1, 1, 0, -2, 0}};
        b = {-m[0] * kG, -m[1] * kG, -m[2] * kG, 0, 0};
        names = {QStringLiteral("aA"), QStringLiteral("aB"), QStringLiteral("aC"), QStringLiteral("aP"),
                 QStringLiteral("T")};
    } else {
        return std::nullopt;
    }
    const std::vector<double> x = Solve(a, b);
    const qsizetype i = names.indexOf(quantity);
    if (x.empty() || i < 0) return std::nullopt;
    return x[size_t(i)];
}

// Elastic collision: of the two velocities of A that keep both the momentum and the kinetic energy,
// the one that is not the velocity before.
std::optional<double> Collision(const QString& quantity, const std::vector<double>& in) {
    if (in.size() != 4) return std::nullopt;
    const double mA = in[0], vA = in[1], mB = in[2], vB = in[3];
    const double p = mA * vA + mB * vB, twiceE = mA * vA * vA + mB * vB * vB;
    // vB' = (p - mA vA') / mB into the energy: a quadratic in vA'.
    const double qa = mA + mA * mA / mB, qb = -2 * p * mA / mB, qc = p * p / mB - twiceE;
    const double root = std::sqrt(std::max(0.0, qb * qb - 4 * qa * qc));
    const double r1 = (-qb + root) / (2 * qa), r2 = (-qb - root) / (2 * qa);
    const double after = std::fabs(r1 - vA) > std::fabs(r2 - vA) ? r1 : r2;
    if (quantity == QLatin1String("vA")) return after;
    if (quantity == QLatin1String("vB")) return (p - mA * after) / mB;
    return std::nullopt;
}

// The double slit: slits 300 pixels before the screen, each half the spacing from the centre line.
// delta Y H: the path difference r1 - r2 at screen row Y; offset N H LAMBDA: how far from the
// centre r1 - r2 is N wavelengths; approx H LAMBDA: the small-angle spacing l·λ/d.
constexpr double kSlitsToScreen = 300;
double PathDifference(double offset, double halfGap) {
    return std::hypot(kSlitsToScreen, offset + halfGap) - std::hypot(kSlitsToScreen, offset - halfGap);
}
std::optional<double> Slits(const QString& quantity, const std::vector<double>& in) {
    if (quantity == QLatin1String("delta") && in.size() == 2) return PathDifference(in[0] - 110, in[1]);
    if (quantity == QLatin1String("approx") && in.size() == 2) return kSlitsToScreen * in[1] / (2 * in[0]);
    if (quantity == QLatin1String("offset") && in.size() == 3) {
        const double target = in[0] * in[2];
        if (target >= 2 * in[1]) return std::nullopt;  // never that far apart: no such band
        double lo = 0, hi = 10000;
        for (int i = 0; i < 200; ++i) {
            const double mid = (lo + hi) / 2;
            (PathDifference(mid, in[1]) < target ? lo : hi) = mid;
        }
        return lo;
    }
    return std::nullopt;
}

// Friction on a real block: weight 100 N, static coefficient 0.8, pulled at θ degrees with the
// normal force 100 - F sinθ of the pull F at that moment. The pull at which the horizontal part
// reaches the largest static friction.
std::optional<double> Friction(const QString& quantity, const std::vector<double>& in) {
    if (quantity != QLatin1String("slide") || in.size() != 1) return std::nullopt;
    const double theta = in[0] * std::numbers::pi / 180, mu = 0.8, weight = 100;
    // F cosθ = mu (weight - F sinθ)
    const double denominator = std::cos(theta) + mu * std::sin(theta);
    if (denominator <= 0) return std::nullopt;
    return mu * weight / denominator;
}

std::optional<double> Formula(const QString& name, const QString& quantity, const std::vector<double>& in) {
    if (name.startsWith(QLatin1String("pulley"))) return Pulley(name.mid(6).toInt(), quantity, in);
    if (name == QLatin1String("collision")) return Collision(quantity, in);
    if (name == QLatin1String("slits")) return Slits(quantity, in);
    if (name == QLatin1String("friction")) return Friction(quantity, in);
    return std::nullopt;
}

}  // namespace

class HelpExamplesTest : public QObject {
    Q_OBJECT
private slots:
    void examplesMatchTheirDumps() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QDir scenarios(QStringLiteral(VLAB_SOURCE_DIR "/docs/help-pictures"));
        for (const QString& name : scenarios.entryList({QStringLiteral("*.vls")})) {
            if (name == QLatin1String("lab.vls")) continue;  // windows only, no example
            const Outcome out = Play(folder.path(), {scenarios.filePath(name)});
            QVERIFY2(out.status == 0, qPrintable(name + u' ' + out.errors));
        }
        static const QRegularExpression marked(
            QStringLiteral("data-dump=\"([^\" ]+) ([A-Za-z0-9]+)(?:\\[(\\d+)\\])?\"[^>]*>([^<]+)<"));
        int checked = 0;
        for (const QString& page : AllPages()) {
            const QString html = PageHtml(page);
            QVERIFY2(!html.isEmpty(), qPrintable(page));
            int onPage = 0;
            auto m = marked.globalMatch(html);
            while (m.hasNext()) {
                const auto hit = m.next();
                const QJsonObject dump = Load(folder.path(), hit.captured(1));
                const QString var = hit.captured(2);
                QVERIFY2(dump.contains(var), qPrintable(page + u' ' + hit.captured(0)));
                QJsonValue value = dump.value(var);
                if (!hit.captured(3).isEmpty()) value = value.toArray().at(hit.captured(3).toInt());
                QVERIFY2(
                    value.isDouble() && Shows(hit.captured(4), value.toDouble()),
                    qPrintable(QStringLiteral("%1: %2 shows %3, the dump holds %4")
                                   .arg(page, hit.captured(0).section(u'"', 1, 1), hit.captured(4).trimmed())
                                   .arg(value.toDouble(), 0, 'g', 12)));
                ++onPage;
                ++checked;
            }
            if (page.startsWith(u't'))
                QVERIFY2(onPage >= 2, qPrintable(page + QStringLiteral(" has no checked example")));
        }
        QVERIFY(checked >= 20);
    }

    // Closed-form answers against the physics worked out above; each lesson with closed forms
    // proves at least one, and a mark naming no known formula fails.
    void closedFormsMatchPhysics() {
        static const QRegularExpression marked(
            QStringLiteral("data-formula=\"([a-z0-9]+) ([A-Za-z]+)((?: -?[0-9.]+)*)\"[^>]*>([^<]+)<"));
        const QList<std::pair<QString, QString>> lessons{
            {QStringLiteral("t1.htm"), QStringLiteral("friction")},
            {QStringLiteral("t2.htm"), QStringLiteral("pulley")},
            {QStringLiteral("t4.htm"), QStringLiteral("collision")},
            {QStringLiteral("t5.htm"), QStringLiteral("slits")}};
        int checked = 0;
        for (const QString& page : AllPages()) {
            const QString html = PageHtml(page);
            QSet<QString> names;
            auto m = marked.globalMatch(html);
            while (m.hasNext()) {
                const auto hit = m.next();
                std::vector<double> inputs;
                for (const QString& word : hit.captured(3).split(u' ', Qt::SkipEmptyParts))
                    inputs.push_back(word.toDouble());
                const std::optional<double> value = Formula(hit.captured(1), hit.captured(2), inputs);
                QVERIFY2(value, qPrintable(page + QStringLiteral(": no formula ") + hit.captured(0)));
                QVERIFY2(Shows(hit.captured(4), *value),
                         qPrintable(QStringLiteral("%1: %2 %3%4 shows %5, the physics gives %6")
                                        .arg(page, hit.captured(1), hit.captured(2), hit.captured(3),
                                             hit.captured(4).trimmed())
                                        .arg(*value, 0, 'g', 12)));
                names.insert(hit.captured(1).startsWith(QLatin1String("pulley")) ? QStringLiteral("pulley")
                                                                                 : hit.captured(1));
                ++checked;
            }
            for (const auto& [lesson, name] : lessons)
                if (page == lesson)
                    QVERIFY2(names.contains(name), qPrintable(page + QStringLiteral(" checks no ") + name));
        }
        // Every mark was read: one the pattern above cannot parse would otherwise go unchecked.
        int marks = 0;
        for (const QString& page : AllPages())
            marks += int(PageHtml(page).count(QLatin1String("data-formula=\"")));
        QCOMPARE(checked, marks);
        QVERIFY(checked >= 20);
    }
};

QTEST_MAIN(HelpExamplesTest)
#include "help_examples_test.moc"
