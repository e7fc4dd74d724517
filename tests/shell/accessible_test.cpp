// What a screen reader hears: every control of every window, read through Qt's accessibility
// interface, has a name and a description, and a button's name is the caption on show.

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QtTest>

#include "dialog/check_dialog.h"
#include "draw/fonts.h"
#include "lab/lab_state.h"
#include "panel/table3.h"
#include "registry/registry.h"
#include "shell/help_viewer.h"
#include "shell/lab_window.h"
#include "shell/title_screen.h"
#include "shell/windows.h"

using namespace vlab;

namespace {

QString Read(QWidget* w, QAccessible::Text what) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(what) : QString();
}

// The controls a user acts on or reads, by the names the windows give them; the toolkit's own
// inner parts (a combo box's edit line, a memo's scroll bars, a tab bar's scroll arrows) are read
// through their owner.
bool IsControl(QWidget* w) {
    if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_"))) return false;
    if (qobject_cast<QScrollBar*>(w) || qobject_cast<QTabBar*>(w->parentWidget())) return false;
    if (auto* label = qobject_cast<QLabel*>(w)) {
        // A plain text label is read by its text; pictures and hot spots have none to read.
        return qobject_cast<PictureBox*>(w) || !label->pixmap().isNull();
    }
    return qobject_cast<QAbstractButton*>(w) || qobject_cast<QSlider*>(w) || qobject_cast<QComboBox*>(w) ||
           qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
           qobject_cast<QTextBrowser*>(w) || qobject_cast<QTabWidget*>(w) || qobject_cast<SurfaceView*>(w);
}

QList<QWidget*> Windows() { return {Main, Form1, table3, check, Form2}; }

QString Caption(QAbstractButton* b) {
    QString text = b->text();
    return text.remove(u'&').simplified();
}

}  // namespace

class AccessibleTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallFontSubstitutes(); }
    void init() {
        CreateWindows();
        Main->show();
    }
    void cleanup() { DestroyWindows(); }

    void everyControlIsNamedAndDescribed();
    void uncaptionedControlsHaveTheirOwnNames();
    void buttonNamesFollowTheirCaptions();
};

void AccessibleTest::everyControlIsNamedAndDescribed() {
    int controls = 0;
    for (QWidget* window : Windows()) {
        QVERIFY2(!Read(window, QAccessible::Name).isEmpty(), qPrintable(window->objectName()));
        // Within one window two controls never sound alike.
        QSet<QString> heard;
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (!IsControl(w)) continue;
            ++controls;
            const QString where = window->objectName() + u'.' + w->objectName();
            const QString name = Read(w, QAccessible::Name);
            const QString description = Read(w, QAccessible::Description);
            QVERIFY2(!name.isEmpty(), qPrintable(where + QStringLiteral(" has no name")));
            QVERIFY2(!description.isEmpty(), qPrintable(where + QStringLiteral(" has no description")));
            const QString both = name + u'|' + description;
            QVERIFY2(!heard.contains(both),
                     qPrintable(where + QStringLiteral(" sounds like another: ") + both));
            heard.insert(both);
        }
    }
    // The windows' own controls were all found: eight experiment buttons alone are more than this.
    QVERIFY2(controls > 35, qPrintable(QString::number(controls)));
}

void AccessibleTest::uncaptionedControlsHaveTheirOwnNames() {
    // The hot spots and the drawing surface show nothing a reader could pick up, so their names are
    // written for them, and the two hot spots of the title screen are told apart.
    const QString enter = Read(Main->Image4, QAccessible::Name);
    const QString leave = Read(Main->Image5, QAccessible::Name);
    QVERIFY(enter.contains(QStringLiteral("进入")));
    QVERIFY(leave.contains(QStringLiteral("退出")));
    QVERIFY(!Read(Form1->Image1, QAccessible::Name).isEmpty());
    // A slider or a memo is named by what it stands for, not by its value or contents.
    const QString speed = Read(Form1->TrackBar1, QAccessible::Name);
    Form1->SpeedBar.SetPosition(Form1->SpeedBar.Max());
    QCOMPARE(Read(Form1->TrackBar1, QAccessible::Name), speed);
    Form1->Memo1->appendPlainText(QStringLiteral("一行记录"));
    QCOMPARE(Read(Form1->Memo1, QAccessible::Name), QStringLiteral("实验记录"));
}

void AccessibleTest::buttonNamesFollowTheirCaptions() {
    for (QWidget* window : Windows()) {
        for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
            if (!IsControl(b)) continue;
            QCOMPARE(Read(b, QAccessible::Name), Caption(b));
        }
    }
    // Each experiment button is described by its own experiment.
    for (const Experiment* e : AllExperiments()) {
        QPushButton* b = Form1->ExperimentButton(e->code);
        QVERIFY(b);
        QVERIFY(Read(b, QAccessible::Description).contains(Caption(b)));
    }

    // The run-control button that changes its caption while running is read by the caption it
    // shows now.
    const Experiment* pausing = nullptr;
    for (const Experiment* e : AllExperiments()) {
        if (e->pauseUsable && !e->settingOpensPanel && !e->startWaitsForSurface) pausing = e;
    }
    QVERIFY(pausing);
    Main->Image4Click();
    Form1->ExperimentButton(pausing->code)->click();
    Form1->Button4->click();
    Form1->Button2->click();
    QVERIFY(Form1->Timer1->isActive());
    Form1->Button7->click();
    QCOMPARE(Form1->Button7->text(), QStringLiteral("Continue"));
    QCOMPARE(Read(Form1->Button7, QAccessible::Name), QStringLiteral("Continue"));
    Form1->Button7->click();
    QCOMPARE(Read(Form1->Button7, QAccessible::Name), QStringLiteral("Pause"));
    Form1->Button26->click();
}

QTEST_MAIN(AccessibleTest)
#include "accessible_test.moc"
