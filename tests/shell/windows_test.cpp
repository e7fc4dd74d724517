// Start-up, the title screen, the confirmation dialog and the help viewer; pictures of the title
// screen and the lab window are written to the build folder for a look.

#include "shell/windows.h"

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

#include "dialog/check_dialog.h"
#include "draw/canvas.h"
#include "draw/fonts.h"
#include "draw/style.h"
#include "lab/lab_state.h"
#include "panel/table3.h"
#include "pictures.h"
#include "shell/help_viewer.h"
#include "shell/lab_window.h"
#include "shell/title_screen.h"

using namespace vlab;
using namespace vlab::test;

namespace {

void Answer(bool yes) {
    QTimer::singleShot(0, qApp, [yes] {
        if (QApplication::activeModalWidget() == check)
            QTest::mouseClick(yes ? check->BitBtn1 : check->BitBtn2, Qt::LeftButton);
    });
}

bool Near(QRgb a, QColor b, int tolerance = 40) {
    return std::abs(qRed(a) - b.red()) <= tolerance && std::abs(qGreen(a) - b.green()) <= tolerance &&
           std::abs(qBlue(a) - b.blue()) <= tolerance;
}

}  // namespace

class WindowsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallFontSubstitutes(); }
    void init() {
        CreateWindows();
        Main->show();
    }
    void cleanup() { DestroyWindows(); }

    void startUpShowsOnlyTheTitleScreen();
    void titleScreenHotSpots();
    void leavingFromTheTitleScreenAsksNothing();
    void confirmationAnswers();
    void helpViewerFallsBackAndNamesMissingPages();
    void rootFolderHasNoDoubledSeparator();
    void pictures();
};

void WindowsTest::startUpShowsOnlyTheTitleScreen() {
    QVERIFY(Main->isVisible());
    QVERIFY(!Form1->isVisible());
    QVERIFY(!table3->isVisible());
    QVERIFY(!check->isVisible());
    QVERIFY(!Form2->isVisible());
    QCOMPARE(Main->size(), QSize(807, 607));
    QCOMPARE(Main->Image6->geometry(), QRect(0, 0, 807, 607));
    QCOMPARE(Main->Image4->geometry(), QRect(338, 305, 135, 51));
    QCOMPARE(Main->Image5->geometry(), QRect(656, 480, 89, 35));
    QCOMPARE(check->size(), QSize(220, 111));
    QCOMPARE(check->Panel1->geometry(), QRect(1, 1, 218, 109));
    QCOMPARE(check->BitBtn1->geometry(), QRect(20, 8, 60, 23));
    QCOMPARE(check->BitBtn2->geometry(), QRect(113, 8, 60, 23));
    QCOMPARE(Form2->size(), QSize(510, 518));
    QCOMPARE(Form2->CppWebBrowser1->geometry(), QRect(0, 0, 510, 518));
    QVERIFY(Form2->windowFlags() & Qt::Tool);
    // Drawing starts with the font the dialog set when it was created.
    QCOMPARE(Surface().fontPointSize(), 6);
    for (const char* name : {"Main", "Form1", "table3", "check", "Form2"}) {
        bool found = false;
        for (QWidget* w : QApplication::topLevelWidgets()) found |= w->objectName() == QLatin1String(name);
        QVERIFY2(found, name);
    }
}

void WindowsTest::titleScreenHotSpots() {
    QTest::mouseMove(Main->Image4, QPoint(10, 10));
    Main->Image4MouseMove();
    QCOMPARE(Main->Image4->cursor().shape(), Qt::PointingHandCursor);
    Main->Image5MouseMove();
    QCOMPARE(Main->Image5->cursor().shape(), Qt::PointingHandCursor);
    Main->Image6MouseMove();
    QCOMPARE(Main->Image6->cursor().shape(), Qt::ArrowCursor);
    // A press that leaves the spot before release is no click.
    QTest::mousePress(Main->Image4, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(Main->Image4, Qt::LeftButton, {}, QPoint(-50, 5));
    QVERIFY(Main->isVisible());
    QTest::mouseClick(Main->Image4, Qt::LeftButton, {}, QPoint(60, 25));
    QVERIFY(Form1->isVisible());
    QVERIFY(!Main->isVisible());
}

void WindowsTest::leavingFromTheTitleScreenAsksNothing() {
    bool asked = false;
    QTimer::singleShot(0, qApp, [&asked] {
        if (QApplication::activeModalWidget()) {
            asked = true;
            check->reject();
        }
    });
    QTest::mouseClick(Main->Image5, Qt::LeftButton, {}, QPoint(40, 15));
    QVERIFY(!Main->isVisible());
    QVERIFY(!Form1->isVisible());
    QCoreApplication::processEvents();
    QVERIFY(!asked);
}

void WindowsTest::confirmationAnswers() {
    Answer(true);
    QVERIFY(AskConfirmation({QStringLiteral("第一个问题"), QStringLiteral("第二行")}));
    QCOMPARE(ConfirmAnswer, std::uint8_t(1));
    // The question is replaced, not appended to.
    Answer(false);
    QVERIFY(!AskConfirmation({QStringLiteral("另一个问题")}));
    QCOMPARE(check->Memo1->toPlainText(), QStringLiteral("另一个问题"));
    QCOMPARE(ConfirmAnswer, std::uint8_t(0));
    // Escape after an earlier Yes is a No, never the old answer.
    Answer(true);
    QVERIFY(AskConfirmation({QStringLiteral("?")}));
    QTimer::singleShot(0, qApp, [] { QTest::keyClick(check, Qt::Key_Escape); });
    QVERIFY(!AskConfirmation({QStringLiteral("?")}));
    QCOMPARE(ConfirmAnswer, std::uint8_t(0));
    QVERIFY(!check->isVisible());
    // A question longer than the box is read from its first line.
    int firstVisible = -1;
    QTimer::singleShot(0, qApp, [&firstVisible] {
        firstVisible = check->Memo1->verticalScrollBar()->value();
        check->BitBtn2->click();
    });
    AskConfirmation({QStringLiteral("作用力F = 0 ~ 46"), QStringLiteral("作用方向 = 0° "),
                     QStringLiteral("接触面积 = 直立(较小)"), QString(), QStringLiteral("第五行")});
    QVERIFY(check->Memo1->verticalScrollBar()->maximum() > 0);
    QCOMPARE(firstVisible, 0);
}

void WindowsTest::helpViewerFallsBackAndNamesMissingPages() {
    // A page that exists is shown from where it was asked for.
    const QString existing = QDir::currentPath() + QStringLiteral("/help/t5.htm");
    QCOMPARE(TForm2::ResolvePage(existing), existing);
    // A page missing everywhere gets the viewer's own page naming the file, never a blank view.
    HelpPagePath = QStringLiteral("/nowhere/at/all/help/zz9.htm");
    Form2->show();
    QVERIFY(Form2->ShownFile().isEmpty());
    const QString text = Form2->CppWebBrowser1->toPlainText();
    QVERIFY2(text.contains(QStringLiteral("zz9.htm")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("找不到帮助页")));
    // No path at all: nothing is looked up.
    QCOMPARE(TForm2::ResolvePage(QString()), QString());
    // Every show opens the page afresh, also when the viewer is already on screen.
    HelpPagePath = existing;
    Form2->close();
    Form2->show();
    QCOMPARE(Form2->ShownFile(), existing);
    QVERIFY(Form2->CppWebBrowser1->toPlainText().contains(QStringLiteral("干涉")));
}

void WindowsTest::rootFolderHasNoDoubledSeparator() {
    DestroyWindows();
    const QString here = QDir::currentPath();
    QDir::setCurrent(QStringLiteral("/"));
    CreateWindows();
    QDir::setCurrent(here);
    QCOMPARE(ProgramFolder, QString());
    Form1->show();
    QTest::mouseClick(Form1->BitBtn2, Qt::LeftButton);
    QCOMPARE(HelpPagePath, QStringLiteral("/help/op.htm"));
}

void WindowsTest::pictures() {
    const QImage title = Main->grab().toImage();
    QVERIFY(SavePicture(title, QStringLiteral("shell_title_screen.png")));
    QCOMPARE(title.size(), QSize(807, 607));
    // The caption plates lie under the hot spots: gold under the entry, pale rose under the exit,
    // the blue title background elsewhere.
    QVERIFY(Near(title.pixel(338 + 12, 305 + 25), QColor(0xFF, 0xE8, 0x80), 60));
    QVERIFY(Near(title.pixel(656 + 8, 480 + 17), QColor(0xF0, 0xE0, 0xE0), 50));
    QVERIFY(qBlue(title.pixel(5, 590)) > 200 && qRed(title.pixel(5, 590)) < 80);

    QTest::mouseClick(Main->Image4, Qt::LeftButton, {}, QPoint(60, 25));
    const QImage lab = Form1->grab().toImage();
    QVERIFY(SavePicture(lab, QStringLiteral("shell_lab_window.png")));
    QCOMPARE(lab.size(), QSize(788, 600));
    QVERIFY(Near(lab.pixel(709, 66), QColor(0xFF, 0xFF, 0x00), 10));        // vertical title on yellow
    QCOMPARE(QColor(Surface().image().pixel(300, 30)), QColor(Qt::white));  // the lab frame
    QCOMPARE(QColor(Surface().image().pixel(300, 300)), ColourOfCode(16));

    QTest::mouseClick(Form1->Button3, Qt::LeftButton);
    QVERIFY(SavePicture(Form1->grab().toImage(), QStringLiteral("shell_lab_friction.png")));
    QVERIFY(SavePicture(Form2->grab().toImage(), QStringLiteral("shell_help_viewer.png")));
}

QTEST_MAIN(WindowsTest)
#include "windows_test.moc"
