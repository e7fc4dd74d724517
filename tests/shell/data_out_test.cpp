// Pictures out of the lab window: Ctrl+C puts the surface as drawn on the clipboard, the save
// dialog offers the experiment's title and step as the name, and the right button opens the menu
// of both without reaching the experiment; on a touch screen a tap, a drag and a long press do the
// same as a click, a drag and the right button.

#include "shell/data_out.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPointingDevice>
#include <QPushButton>
#include <QStyleHints>
#include <QTimer>
#include <QtTest>

#include <cmath>

#include "draw/canvas.h"
#include "draw/figures.h"
#include "experiments/spring_energy.h"
#include "lab/lab_state.h"
#include "registry/registry.h"
#include "shell/help_viewer.h"
#include "shell/lab_window.h"
#include "shell/windows.h"

using namespace vlab;

namespace {

// The lab window with the spring oscillator set up and run for some ticks: a picture with content.
void SpringRun(int ticks) {
    CreateWindows();
    Form1->show();
    Form1->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Form1));
    Form1->ChooseExperiment(CodeOf("SpringEnergy"));
    QTest::mouseClick(Form1->Button4, Qt::LeftButton);
    SpringDisplacement = 150;  // as if the block had been dragged out 150 pixels
    for (int i = 0; i < ticks; ++i) Form1->StepExperiment();
}

}  // namespace

class DataOutTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { DestroyWindows(); }

    void copyPutsTheSurfaceOnTheClipboard() {
        SpringRun(90);
        QApplication::clipboard()->clear();
        QTest::keySequence(Form1, QKeySequence::Copy);
        const QImage copied = QApplication::clipboard()->image();
        QCOMPARE(copied.size(), QSize(kSurfaceWidth, kSurfaceHeight));
        QCOMPARE(copied.convertToFormat(QImage::Format_RGB32), Surface().image());
        // A copy is a picture of that moment: later ticks do not change it.
        Form1->StepExperiment();
        QVERIFY(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32) !=
                Surface().image());
    }

    void pictureNameIsTitleAndStep() {
        SpringRun(0);
        Form1->ChooseExperiment(CodeOf("Friction"));
        TickCount = 970;
        QCOMPARE(PictureFileName(), QStringLiteral("摩擦力-第970步.png"));
        Form1->ChooseExperiment(CodeOf("WaveSuperposition"));
        QCOMPARE(PictureFileName(), QStringLiteral("波的重叠a-第0步.png"));
    }

    void rightButtonOpensTheMenuOnly() {
        SpringRun(0);
        QWidget* surface = Form1->Image1;
        const QPoint kBox(50, 165);  // the spring constant's box: a left press there steps k
        const double k = SpringConstant;
        QStringList entries;
        QTimer::singleShot(0, qApp, [&entries] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) return;
            for (QAction* a : menu->actions()) entries << a->text() + u' ' + a->shortcut().toString();
            menu->grab().save(QStringLiteral(VLAB_TEST_PICTURES "/surface_menu.png"));
            menu->close();
        });
        QTest::mousePress(surface, Qt::RightButton, {}, kBox);
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, kBox, surface->mapToGlobal(kBox));
        QApplication::sendEvent(surface, &menuEvent);
        QTest::mouseRelease(surface, Qt::RightButton, {}, kBox);
        QCOMPARE(entries, QStringList({QStringLiteral("复制画面 Ctrl+C"), QStringLiteral("保存画面… Ctrl+S"),
                                       QStringLiteral("导出数据… Ctrl+E")}));
        QCOMPARE(SpringConstant, k);  // the right button reaches no experiment
        QTest::mouseClick(surface, Qt::LeftButton, {}, kBox);
        QVERIFY(SpringConstant != k);  // the left one does, at the same pixel
    }

    // On a touch screen, at a larger scale too: a tap is a click, a drag is the mouse's drag through
    // the same points, and a long press opens the menu and reaches no experiment.
    void touchTapDragAndLongPress() {
        SpringRun(0);
        Form1->SetScale(1.5);
        Form2->close();     // the help page the choice opened lies over the surface
        Form1->move(0, 0);  // touch points must lie on the screen
        QWidget* surface = Form1->Image1;
        static QPointingDevice* finger = QTest::createTouchDevice();
        auto view = [](int x, int y) { return QPoint(x * 3 / 2 + 1, y * 3 / 2 + 1); };  // inside pixel (x, y)
        auto touch = [&](const std::vector<QPoint>& path) {
            QTest::touchEvent(surface, finger).press(0, view(path.front().x(), path.front().y()));
            for (std::size_t i = 1; i < path.size(); ++i)
                QTest::touchEvent(surface, finger).move(0, view(path[i].x(), path[i].y()));
            QTest::touchEvent(surface, finger).release(0, view(path.back().x(), path.back().y()));
        };
        const double k = SpringConstant;
        touch({QPoint(50, 165)});
        QCOMPARE(SpringConstant, std::fmod(k, 4) + 1);

        // The block dragged by the finger and by the mouse through the same points, 11 pixels a
        // move (a finger's first move shorter than the drag distance is not yet a drag).
        // From inside the block to the right, where the oscillation's amplitude is set.
        auto path = [] {
            std::vector<QPoint> points;
            const int grab = static_cast<int>(SpringEndX) + 5;
            for (int x = grab; x <= grab + 99; x += 11) points.emplace_back(x, static_cast<int>(SpringEndY));
            return points;
        }();
        QTest::mouseClick(Form1->Button4, Qt::LeftButton);
        const double atSetting = SpringDisplacement;
        touch(path);
        const double byFinger = SpringDisplacement;
        QTest::mouseClick(Form1->Button4, Qt::LeftButton);
        QTest::mousePress(surface, Qt::LeftButton, {}, view(path.front().x(), path.front().y()));
        for (std::size_t i = 1; i < path.size(); ++i)
            QTest::mouseMove(surface, view(path[i].x(), path[i].y()));
        QTest::mouseRelease(surface, Qt::LeftButton, {}, view(path.back().x(), path.back().y()));
        QCOMPARE(byFinger, SpringDisplacement);
        QVERIFY(SpringDisplacement > atSetting + 50);

        QGuiApplication::styleHints()->setMousePressAndHoldInterval(100);
        bool menuShown = false;
        const double held = SpringConstant;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&menuShown] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                menuShown = menu->actions().size() == 3;
                menu->close();
            }
        });
        poll.start(10);
        QTest::touchEvent(surface, finger).press(0, view(50, 165));
        QTRY_VERIFY(menuShown);
        QTest::touchEvent(surface, finger).release(0, view(50, 165));
        QCOMPARE(SpringConstant, held);
    }
};

QTEST_MAIN(DataOutTest)
#include "data_out_test.moc"
