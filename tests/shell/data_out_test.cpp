// Pictures out of the lab window: Ctrl+C puts the surface as drawn on the clipboard, the save
// dialog offers the experiment's title and step as the name, and the right button opens the menu
// of both without reaching the experiment.

#include "shell/data_out.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "draw/canvas.h"
#include "experiments/spring_energy.h"
#include "lab/lab_state.h"
#include "registry/registry.h"
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
};

QTEST_MAIN(DataOutTest)
#include "data_out_test.moc"
