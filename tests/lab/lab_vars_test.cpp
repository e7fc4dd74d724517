// The variable lists that give the state dump its names and put the lab back to its start.

#include "lab/lab_vars.h"

#include <QJsonArray>
#include <QtTest>

#include "lab/lab_state.h"

using namespace vlab;

namespace {
int gCount = 7;
double gSpeed = 2.5;
std::uint8_t gFlag = 1;
bool gPlaced = false;
QString gPath = QStringLiteral("/help/op.htm");
std::array<int, 3> gSlots{1, 2, 3};
std::array<double, 2> gPoint{0.5, -4.9};
const LabVars kVars{{"Count", gCount}, {"Speed", gSpeed}, {"Flag", gFlag},  {"Placed", gPlaced},
                    {"Path", gPath},   {"Slots", gSlots}, {"Point", gPoint}};
}  // namespace

class LabVarsTest : public QObject {
    Q_OBJECT
private slots:
    void restoresEveryKindToItsStartValue() {
        gCount = -1;
        gSpeed = 99;
        gFlag = 0;
        gPlaced = true;
        gPath = "elsewhere";
        gSlots = {9, 9, 9};
        gPoint = {7, 7};
        kVars.Restore();
        QCOMPARE(gCount, 7);
        QCOMPARE(gSpeed, 2.5);
        QCOMPARE(gFlag, std::uint8_t(1));
        QCOMPARE(gPlaced, false);
        QCOMPARE(gPath, QString("/help/op.htm"));
        QCOMPARE(gSlots, (std::array<int, 3>{1, 2, 3}));
        QCOMPARE(gPoint, (std::array<double, 2>{0.5, -4.9}));
    }

    void describesNumbersFlagsArraysAndTexts() {
        kVars.Restore();
        gSpeed = 3.25;
        QJsonObject out;
        kVars.Describe(out);
        QCOMPARE(out.size(), 7);
        QCOMPARE(out["Count"].toInt(), 7);
        QCOMPARE(out["Speed"].toDouble(), 3.25);
        QVERIFY(out["Flag"].isDouble());  // a byte flag is a number, as the lab reads it
        QCOMPARE(out["Flag"].toInt(), 1);
        QVERIFY(out["Placed"].isBool());
        QCOMPARE(out["Path"].toString(), QString("/help/op.htm"));
        QCOMPARE(out["Slots"].toArray(), QJsonArray({1, 2, 3}));
        QCOMPARE(out["Point"].toArray(), QJsonArray({0.5, -4.9}));
    }
};

QTEST_MAIN(LabVarsTest)
#include "lab_vars_test.moc"
