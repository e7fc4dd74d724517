#include "dialog/check_dialog.h"

#include <QFont>
#include <QFrame>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextCursor>

#include "dialog/accessible.h"
#include "dialog/widget_colours.h"
#include "draw/fonts.h"
#include "draw/style.h"
#include "lab/lab_state.h"

namespace vlab {

// Made at start-up with the other windows (see shell/windows.h), kept here so that the panel
// below the shell can ask its question.
Tcheck* check = nullptr;

namespace {

const QColor kLabBackground(0xE7, 0xD1, 0xD1);

}  // namespace

Tcheck::Tcheck(QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog) {
    setObjectName(QStringLiteral("check"));
    setModal(true);
    setFixedSize(220, 111);
    // Purple shows as a one-pixel frame around Panel1.
    PaintRole(this, QPalette::Window, QColor(0x80, 0x00, 0x80));
    QPalette blue = palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    blue.setColor(QPalette::ButtonText, Qt::blue);
    setPalette(blue);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(1, 1, 218, 109);

    Panel2 = new QFrame(Panel1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(6, 6, 205, 54);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    Memo1 = new QPlainTextEdit(Panel2);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(-2, -1, 208, 55);
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont memoFont(kSongFace);
    memoFont.setPixelSize(12);
    Memo1->setFont(memoFont);
    QPalette memoPalette = Memo1->palette();
    memoPalette.setColor(QPalette::Base, memoPalette.color(QPalette::Button));  // the scroll-bar grey
    memoPalette.setColor(QPalette::Text, Qt::blue);
    Memo1->setPalette(memoPalette);

    Panel3 = new QFrame(Panel1);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setGeometry(11, 66, 195, 38);

    QFont bold = font();
    bold.setBold(true);
    BitBtn1 = new QPushButton(QStringLiteral("&Yes"), Panel3);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(20, 8, 60, 23);
    BitBtn1->setFont(bold);
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogYesButton));
    BitBtn1->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });

    BitBtn2 = new QPushButton(QStringLiteral("&No"), Panel3);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(113, 8, 60, 23);
    BitBtn2->setFont(bold);
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogNoButton));
    BitBtn2->setAutoDefault(false);
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });

    SetAccessible(this, QStringLiteral("确认"), QStringLiteral("请确认下列内容"));
    SetAccessible(Memo1, QStringLiteral("确认内容"), QStringLiteral("要确认的设置或问题"));
    SetAccessible(BitBtn1, QString(), QStringLiteral("确认"));
    SetAccessible(BitBtn2, QString(), QStringLiteral("不确认，返回"));

    // Creation steps: the drawing surface starts with this font; then the two panels' colours.
    SetFont(0, 6, 3);
    Panel1->resize(218, 109);
    PaintRole(Panel1, QPalette::Window, kLabBackground);
    PaintRole(Panel3, QPalette::Window, kLabBackground);
}

void Tcheck::BitBtn1Click() {
    ConfirmAnswer = 1;
    done(QDialog::Accepted);
}

void Tcheck::BitBtn2Click() {
    ConfirmAnswer = 0;
    done(QDialog::Rejected);
}

// Any other way out of the dialog (Escape, the window manager) counts as No, so a stale Yes from
// an earlier question can never be read as this question's answer.
void Tcheck::reject() {
    ConfirmAnswer = 0;
    QDialog::reject();
}

bool AskConfirmation(const QStringList& lines) {
    if (!check) return false;
    check->Memo1->clear();
    for (const QString& line : lines) check->Memo1->appendPlainText(line);
    // A question longer than the box starts at its first line; the rest is a scroll away.
    check->Memo1->moveCursor(QTextCursor::Start);
    check->Memo1->ensureCursorVisible();
    ConfirmAnswer = 0;
    check->exec();
    return ConfirmAnswer == 1;
}

}  // namespace vlab
