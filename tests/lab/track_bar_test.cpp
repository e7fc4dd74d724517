// The speed bar's model: range rules, clamping, and the change handler that runs inside setters.

#include "lab/track_bar.h"

#include <QtTest>

using vlab::TrackBar;

class TrackBarTest : public QObject {
    Q_OBJECT
private slots:
    void rangeRulesAndClamping();
    void handlerRunsOnlyOnActualChanges();
    void handlerMayResetTheRangeFromInside();
};

void TrackBarTest::rangeRulesAndClamping() {
    TrackBar bar;  // 1..100 at 1
    bar.SetPosition(500);
    QCOMPARE(bar.Position(), 100);
    bar.SetPosition(-7);
    QCOMPARE(bar.Position(), 1);

    bar.SetMin(101);  // above the maximum: ignored
    QCOMPARE(bar.Min(), 1);
    bar.SetMax(0);  // below the minimum: ignored
    QCOMPARE(bar.Max(), 100);

    bar.SetPosition(80);
    bar.SetMax(50);  // clamps the position down
    QCOMPARE(bar.Position(), 50);
    bar.SetMin(50);  // equal to the maximum is allowed
    QCOMPARE(bar.Min(), 50);
    bar.SetMax(700);
    bar.SetMin(100);  // clamps the position up
    QCOMPARE(bar.Position(), 100);
}

void TrackBarTest::handlerRunsOnlyOnActualChanges() {
    TrackBar bar;
    int calls = 0;
    int seen = 0;
    bar.OnChange = [&] {
        ++calls;
        seen = bar.Position();  // the new position is visible inside the handler
    };
    bar.SetPosition(1);
    QCOMPARE(calls, 0);
    bar.SetPosition(30);
    QCOMPARE(calls, 1);
    QCOMPARE(seen, 30);
    bar.SetPosition(30);
    QCOMPARE(calls, 1);
    bar.SetMax(20);  // the clamp is a change
    QCOMPARE(calls, 2);
    QCOMPARE(seen, 20);
    bar.SetMin(5);  // no clamp needed: no change
    QCOMPARE(calls, 2);
    bar.SetFrequency(3);
    bar.SetLineSize(2);
    QCOMPARE(calls, 2);
}

void TrackBarTest::handlerMayResetTheRangeFromInside() {
    // The handler narrows the range back to 1..100; a position set outside it is pulled in by the
    // handler's own change, which runs the handler again once and then settles.
    TrackBar bar;
    bar.SetPosition(100);
    int calls = 0;
    bar.OnChange = [&] {
        ++calls;
        bar.SetMax(100);
        bar.SetMin(1);
    };
    bar.SetMin(100);
    bar.SetMax(700);
    QCOMPARE(calls, 0);
    bar.SetPosition(400);
    QCOMPARE(bar.Position(), 100);
    QCOMPARE(bar.Min(), 1);
    QCOMPARE(bar.Max(), 100);
    QCOMPARE(calls, 2);
}

QTEST_MAIN(TrackBarTest)
#include "track_bar_test.moc"
