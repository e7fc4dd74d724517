#include "shell/title_screen.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

#include "dialog/accessible.h"
#include "shell/lab_window.h"
#include "shell/windows.h"

namespace vlab {

PictureBox::PictureBox(QWidget* parent) : QLabel(parent) { setMouseTracking(true); }

void PictureBox::mousePressEvent(QMouseEvent* event) { pressed_ = event->button() == Qt::LeftButton; }

// A click is a left press and release on the same control.
void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click && OnClick) OnClick();
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    if (OnMove) OnMove(event->position().toPoint().x(), event->position().toPoint().y());
}

TMain::TMain(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral("虚拟实验室"));
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0x00, 0x00, 0xFF));
    setPalette(p);
    setAutoFillBackground(true);
    resize(804, 602);

    Image6 = new PictureBox(this);
    Image6->setObjectName(QStringLiteral("Image6"));
    Image6->setGeometry(0, 0, 807, 607);
    Image6->setPixmap(QPixmap(QStringLiteral(":/vlab/title.png")));
    Image6->setScaledContents(true);  // the 800 x 600 picture is stretched to the control
    Image6->OnMove = [this](int, int) { Image6MouseMove(); };

    Image4 = new PictureBox(this);
    Image4->setObjectName(QStringLiteral("Image4"));
    Image4->setGeometry(338, 305, 135, 51);
    Image4->OnClick = [this] { Image4Click(); };
    Image4->OnMove = [this](int, int) { Image4MouseMove(); };

    Image5 = new PictureBox(this);
    Image5->setObjectName(QStringLiteral("Image5"));
    Image5->setGeometry(656, 480, 89, 35);
    Image5->OnClick = [this] { Image5Click(); };
    Image5->OnMove = [this](int, int) { Image5MouseMove(); };

    SetAccessible(Image6, QStringLiteral("虚拟实验室标题画面"), QStringLiteral("程序的标题图片"));
    SetAccessible(Image4, QStringLiteral("进入实验室"), QStringLiteral("点击进入实验室，选择实验"));
    SetAccessible(Image5, QStringLiteral("退出"), QStringLiteral("点击退出程序"));

    // Creation steps.
    Image4->show();
    Image5->show();
    setFixedSize(807, 607);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void TMain::Image4Click() {
    if (Form1) Form1->show();
    hide();
}

void TMain::Image5Click() { close(); }

void TMain::Image4MouseMove() { Image4->setCursor(Qt::PointingHandCursor); }
void TMain::Image5MouseMove() { Image5->setCursor(Qt::PointingHandCursor); }
void TMain::Image6MouseMove() { Image6->setCursor(Qt::ArrowCursor); }

// The title screen is the application's main window: closing it, hidden or not, ends the program.
void TMain::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    QCoreApplication::quit();
}

}  // namespace vlab
