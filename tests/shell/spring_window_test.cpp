// The spring oscillator driven through the real lab window, with mouse events delivered to the
// drawing surface the way Qt delivers them while the button is held (also beyond its edges).

#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <cmath>
#include <numbers>

#include "draw/canvas.h"
#include "draw/fonts.h"
#include "experiments/spring_energy.h"
#include "lab/lab_state.h"
#include "pictures.h"
#include "registry/registry.h"
#include "shell/lab_window.h"
#include "shell/windows.h"

using namespace vlab;
using namespace vlab::test;

namespace {

void Send(QEvent::Type type, int x, int y) {
    const QPointF local(x, y);
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, Form1->Image1->mapToGlobal(local), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(Form1->Image1, &event);
}

void MoveAlong(int from, int to) {
    const int step = to > from ? 5 : -5;
    for (int x = from; step > 0 ? x < to : x > to; x += step) Send(QEvent::MouseMove, x, 100);
    Send(QEvent::MouseMove, to, 100);
}

}  // namespace

class SpringWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstallFontSubstitutes(); }
    void init() {
        CreateWindows();
        Form1->show();
    }
    void cleanup() { DestroyWindows(); }

    void chooseDragSetKStartAndRun() {
        Form1->Button1->click();
        QCOMPARE(ExperimentCode, CodeOf("SpringEnergy"));
        QCOMPARE(Form1->Timer1->interval(), 10);
        Send(QEvent::MouseButtonPress, 334, 100);  // the mouse is off until Setting
        QCOMPARE(SpringDragging, 0);

        Form1->Button4->click();
        Send(QEvent::MouseButtonPress, 334, 100);
        MoveAlong(334, 1000);  // far beyond the right edge: the block stops at 270
        QCOMPARE(SpringDisplacement, 270.0);
        MoveAlong(1000, 534);  // back over the block, which follows the pointer again
        QCOMPARE(SpringDisplacement, 200.0);
        QCOMPARE(Form1->Image1->cursor().shape(), Qt::PointingHandCursor);
        Send(QEvent::MouseButtonRelease, 534, 100);
        QCOMPARE(Form1->Image1->cursor().shape(), Qt::ArrowCursor);
        Send(QEvent::MouseButtonPress, 50, 165);
        Send(QEvent::MouseButtonRelease, 50, 165);
        QCOMPARE(SpringConstant, 3.0);

        Form1->Button2->click();
        QVERIFY(Form1->Timer1->isActive());
        Send(QEvent::MouseButtonPress, 50, 165);  // the boxes and the block are dead while running
        Send(QEvent::MouseButtonPress, 534, 100);
        MoveAlong(534, 300);
        QCOMPARE(SpringConstant, 3.0);
        QCOMPARE(SpringDisplacement, 200.0);

        for (int i = 0; i < 400; ++i) Form1->Timer1Timer();
        QCOMPARE(TickCount, 400);
        const double x = 200 * std::cos(400 * std::sqrt(1.5) * std::numbers::pi / 180);
        QVERIFY(std::fabs(SpringX - x) < 1e-9);
        QVERIFY(SavePicture(Surface().image(), QStringLiteral("spring_window_tick400.png")));
        // The block stands at 314 + x on the surface, pale green.
        QCOMPARE(Pixel(static_cast<int>(314 + x) + 20, 80), QRgb(0xA6DDA5));
    }
};

QTEST_MAIN(SpringWindowTest)
#include "spring_window_test.moc"
