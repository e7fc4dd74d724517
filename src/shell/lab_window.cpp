#include "shell/lab_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointingDevice>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSlider>
#include <QStyle>
#include <QStyleHints>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <cmath>

#include "dialog/accessible.h"
#include "dialog/check_dialog.h"
#include "dialog/widget_colours.h"
#include "draw/canvas.h"
#include "draw/fonts.h"
#include "draw/shapes.h"
#include "draw/style.h"
#include "lab/lab_state.h"
#include "panel/table3.h"
#include "registry/registry.h"
#include "registry/run_record.h"
#include "shell/data_out.h"
#include "shell/help_viewer.h"
#include "shell/title_screen.h"
#include "shell/windows.h"

namespace vlab {

namespace {

const QColor kLabBackground(0xE7, 0xD1, 0xD1);
const QColor kMaroon(0x80, 0x00, 0x00);
const QColor kTeal(0x00, 0x80, 0x80);
constexpr int kMemoLines = 1000;

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, QRect place,
                        const QFont& font) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(place);
    b->setFont(font);
    b->setAutoDefault(false);
    return b;
}

int Floor(double v) { return static_cast<int>(std::floor(v)); }

// What a user can press: shown within its window and enabled.
bool Usable(const QWidget* w) { return w->isVisibleTo(w->window()) && w->isEnabled(); }

const QString kPauseCaption = QStringLiteral("Pause");
const QString kContinueCaption = QStringLiteral("Continue");

}  // namespace

// ---------------------------------------------------------------------------------------------
// Image1

SurfaceView::SurfaceView(TForm1* form, QWidget* parent) : QWidget(parent), form_(form) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    refresh_.setSingleShot(true);
    connect(&refresh_, &QTimer::timeout, this, [this] { Refresh(); });
    hold_.setSingleShot(true);
    connect(&hold_, &QTimer::timeout, this, [this] { LongPress(); });
}

void SurfaceView::SurfaceChanged() {
    if (refresh_.isActive()) return;  // the refresh already on its way shows these pixels too
    const qint64 shown = sincePaint_.isValid() ? sincePaint_.elapsed() : kRefreshMs;
    if (shown >= kRefreshMs)
        Refresh();
    else
        refresh_.start(static_cast<int>(kRefreshMs - shown));
}

void SurfaceView::Refresh() {
    if (scale_ == 1.0) {
        update();
        return;
    }
    const QRegion changed = blender_.Update(Surface().image(), scale_);
    if (!changed.isEmpty()) update(changed);
}

void SurfaceView::SetScale(double scale) {
    scale_ = scale;
    update();
}

void SurfaceView::paintEvent(QPaintEvent* event) {
    sincePaint_.start();
    QPainter p(this);
    if (scale_ == 1.0) {
        p.drawImage(0, 0, Surface().image());
        return;
    }
    // A repaint the window system asks for (the view shown or uncovered) may come before the
    // refresh of the latest pixels: those are blended now and painted where they changed.
    const QRegion late = blender_.Update(Surface().image(), scale_) - event->region();
    for (const QRect& r : event->region()) p.drawImage(r.topLeft(), blender_.Image(), r);
    if (!late.isEmpty()) update(late);
}

QPoint SurfaceView::SurfacePixel(const QMouseEvent* event) const {
    return {Floor(event->position().x() / scale_), Floor(event->position().y() / scale_)};
}

void SurfaceView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    menuByTouch_ = false;
    if (HoldsTouch(event)) return;
    const QPoint at = SurfacePixel(event);
    form_->Image1MouseDown(at.x(), at.y());
}

bool SurfaceView::HoldsTouch(const QMouseEvent* event) {
    const QPointingDevice* device = event->pointingDevice();
    if (!device || device->type() != QInputDevice::DeviceType::TouchScreen) return false;
    holding_ = true;
    heldAt_ = event->position();
    hold_.start(QGuiApplication::styleHints()->mousePressAndHoldInterval());
    return true;
}

void SurfaceView::ReleaseHeldTouch() {
    hold_.stop();
    holding_ = false;
    form_->Image1MouseDown(Floor(heldAt_.x() / scale_), Floor(heldAt_.y() / scale_));
}

void SurfaceView::LongPress() {
    if (!holding_) return;
    holding_ = false;
    menuByTouch_ = true;
    ShowDataOutMenu(form_, mapToGlobal(heldAt_).toPoint());
}

void SurfaceView::contextMenuEvent(QContextMenuEvent* event) { ShowDataOutMenu(form_, event->globalPos()); }

void SurfaceView::mouseMoveEvent(QMouseEvent* event) {
    if (menuByTouch_ && (event->buttons() & Qt::LeftButton)) return;
    if (holding_) {
        // A finger that stays where it pressed is still deciding; one that moves on drags.
        if ((event->position() - heldAt_).manhattanLength() <
            QGuiApplication::styleHints()->startDragDistance())
            return;
        ReleaseHeldTouch();
    }
    const QPoint at = SurfacePixel(event);
    form_->Image1MouseMove(at.x(), at.y());
}

void SurfaceView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (menuByTouch_) {
        menuByTouch_ = false;
        return;
    }
    if (holding_) ReleaseHeldTouch();  // a tap: its press, then its release
    const QPoint at = SurfacePixel(event);
    form_->Image1MouseUp(at.x(), at.y());
}

// ---------------------------------------------------------------------------------------------
// Creation

TForm1::TForm1(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("虚拟实验室"));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    BuildControls();
    SetHost(this);

    // The drawing surface's fonts are fixed at 96 dpi by the canvas itself.
    // The bar clamps 500 to its maximum 100 and the speed-bar rule makes the interval 100.
    SpeedBar.SetPosition(Timer1->interval());
    // The surface's start style: a red 3-pixel pen and a white brush (its colour makes the clear
    // brush solid).
    SetDrawStyle(0, 3, 0, 0, 2, 12);
    // The window's size, and the pale rose of the lab behind the memo, the group box and Panel2.
    setFixedSize(788, 600);
    PaintRole(this, QPalette::Window, kLabBackground);
    PaintRole(Memo1, QPalette::Base, kLabBackground);
    PaintRole(GroupBox1, QPalette::Window, kLabBackground);
    PaintRole(Panel2, QPalette::Window, kLabBackground);
    // A white surface, then the start-up controls: help on show, Setting and Stop off, and the
    // code of the pulleys standing until an experiment is chosen.
    ClearArea(0, 0, 700, 540);
    BitBtn2->show();
    Button4->setEnabled(false);
    ExperimentCode = 202;
    Button26->setEnabled(false);
    DrawLabFrame();
    // The help folder is read once, here. The help pages are appended with a leading "/", so the root folder
    // becomes empty.
    ProgramFolder = QDir::currentPath();
    if (ProgramFolder == QLatin1String("/")) ProgramFolder.clear();

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

TForm1::~TForm1() { SetHost(nullptr); }

void TForm1::BuildControls() {
    Image1 = new SurfaceView(this, this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, kSurfaceWidth, kSurfaceHeight);

    Image3 = new QLabel(this);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setGeometry(12, 67, 677, 472);
    Image3->setPixmap(QPixmap(QStringLiteral(":/vlab/splash.png")));
    Image3->setScaledContents(true);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(0, 548, 701, 49);
    Memo1->setReadOnly(true);
    // The strip keeps the newest lines only: a lesson of restarted runs appends a few lines each
    // and must not grow the program without bound.
    Memo1->setMaximumBlockCount(kMemoLines);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setFont(SongFont(13));
    PaintRole(Memo1, QPalette::Text, kTeal);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(1, 0, 785, 57);
    PageControl1->setFont(SongFont(15, true));
    PageControl1->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { width: 111px; color: #800000; }"));
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    PageControl1->addTab(TabSheet1, QStringLiteral("虚拟实验室"));
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] { PageControl1Change(); });

    // One button per registry entry; the eight of the lab page are also kept under their names.
    const std::pair<const char*, QPushButton**> named[] = {
        {"Button3", &Button3},   {"Button5", &Button5},   {"Button1", &Button1}, {"Button46", &Button46},
        {"Button27", &Button27}, {"Button45", &Button45}, {"Button6", &Button6}, {"Button47", &Button47}};
    for (const Experiment* e : AllExperiments()) {
        QPushButton* b = MakeButton(TabSheet1, e->buttonName, e->caption, QRect(e->buttonX, 0, 80, 30),
                                    SongFont(e->captionSize));
        PaintRole(b, QPalette::ButtonText, e->captionMaroon ? kMaroon : QColor(Qt::black));
        const int code = e->code;
        connect(b, &QPushButton::clicked, this, [this, code] { ChooseExperiment(code); });
        for (const auto& [name, member] : named)
            if (qstrcmp(name, e->buttonName) == 0) *member = b;
    }

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(704, 2, 81, 56);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel2->hide();
    Button11 =
        MakeButton(Panel2, "Button11", QStringLiteral("Return"), QRect(8, 7, 65, 40), SongFont(11, true));
    Button11->hide();
    connect(Button11, &QPushButton::clicked, this, [this] { Button11Click(); });

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(704, 61, 80, 307);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    PaintRole(Panel1, QPalette::Window, QColor(0xFF, 0xFF, 0x00));
    Image2 = new QLabel(Panel1);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(5, 3, 70, 300);
    Image2->setPixmap(QPixmap(QStringLiteral(":/vlab/title_vertical.png")));

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(704, 368, 81, 225);

    const QFont runFont = SongFont(12, true);
    BitBtn2 =
        MakeButton(GroupBox1, "BitBtn2", QStringLiteral("操作说明"), QRect(8, 32, 65, 25), SongFont(13));
    PaintRole(BitBtn2, QPalette::ButtonText, Qt::black);
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    Button4 = MakeButton(GroupBox1, "Button4", QStringLiteral("Setting"), QRect(8, 96, 65, 30), runFont);
    Button4->setEnabled(false);
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    Button7 = MakeButton(GroupBox1, "Button7", QStringLiteral("Pause"), QRect(8, 127, 65, 30), runFont);
    Button7->setEnabled(false);
    connect(Button7, &QPushButton::clicked, this, [this] { Button7Click(); });
    Button26 = MakeButton(GroupBox1, "Button26", QStringLiteral("Stop"), QRect(8, 158, 65, 30), runFont);
    connect(Button26, &QPushButton::clicked, this, [this] { Button26Click(); });
    BitBtn1 = MakeButton(GroupBox1, "BitBtn1", QStringLiteral("Exit"), QRect(8, 188, 65, 30), runFont);
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    SpeedButton1 = new QToolButton(GroupBox1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("物理教室"));
    SpeedButton1->setGeometry(8, 188, 65, 30);
    SpeedButton1->setFont(runFont);
    SpeedButton1->setFocusPolicy(Qt::NoFocus);
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->hide();
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });

    // Start and the speed bar lie over the group box's area.
    Button2 = MakeButton(this, "Button2", QStringLiteral("Start"), QRect(712, 433, 65, 30), runFont);
    Button2->setEnabled(false);
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });

    TrackBar1 = new QSlider(Qt::Horizontal, this);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setGeometry(712, 374, 65, 25);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    connect(TrackBar1, &QSlider::valueChanged, this, [this](int value) {
        if (mirroring_) return;
        SpeedBar.SetPosition(value);
        MirrorSpeedBar();
    });
    Image3->raise();
    Button2->raise();
    TrackBar1->raise();

    // The form's own values: range 1 to 100 at 1, ticks every 10. The change handler is attached
    // afterwards, so loading these runs nothing.
    SpeedBar.SetMin(1);
    SpeedBar.SetMax(100);
    SpeedBar.SetPosition(1);
    SpeedBar.SetFrequency(10);
    SpeedBar.OnMirror = [this] { MirrorSpeedBar(); };
    SpeedBar.OnChange = [this] { TrackBar1Change(); };
    MirrorSpeedBar();
    DescribeControls();
    InstallDataOut(this);
    BuildKeys();
}

void TForm1::BuildKeys() {
    // Window shortcuts: they act only while the lab window is the active one, so a modal window
    // (which takes the activation) keeps them off; the handlers ask again.
    spaceKey_ = new QShortcut(QKeySequence(Qt::Key_Space), this, [this] { SpaceKey(); });
    spaceKey_->setAutoRepeat(false);  // a held key must not toggle Pause and Continue in a row
    helpKey_ = new QShortcut(QKeySequence(Qt::Key_F1), this, [this] { HelpKey(); });
    helpKey_->setAutoRepeat(false);
    stepKey_ = new QShortcut(QKeySequence(Qt::Key_Right), this, [this] { StepKey(); });
    fullScreenKey_ = new QShortcut(QKeySequence(Qt::Key_F11), this, [this] { FullScreenKey(); });
    fullScreenKey_->setAutoRepeat(false);
    Button7->installEventFilter(this);
    UpdateKeys();
    Button2->setToolTip(QStringLiteral("开始动画（空格键）"));
    Button7->setToolTip(QStringLiteral("暂停或继续动画（空格键）；暂停时按 → 键走一步"));
    BitBtn2->setToolTip(QStringLiteral("打开本实验的操作说明（F1）"));
}

void TForm1::DescribeControls() {
    SetAccessible(Image1, QStringLiteral("实验画面"),
                  QStringLiteral("实验的绘图区：动画、图线和读数画在这里，部分实验在此点击或拖动设置初始值"));
    SetAccessible(Image3, QStringLiteral("实验室图片"), QStringLiteral("选择实验之前显示的图片"));
    SetAccessible(Image2, QStringLiteral("虚拟实验室竖排标题"), QStringLiteral("实验室的竖排标题图片"));
    SetAccessible(Memo1, QStringLiteral("实验记录"), QStringLiteral("设置的初始值和实验结果的文字记录"));
    SetAccessible(PageControl1, QStringLiteral("实验选择"), QStringLiteral("八个实验的按钮"));
    SetAccessible(TrackBar1, QStringLiteral("速度"), QStringLiteral("拖动改变动画的速度"));
    for (const Experiment* e : AllExperiments()) {
        if (QPushButton* b = ExperimentButton(e->code))
            SetAccessible(b, QString(), QStringLiteral("选择实验：%1").arg(b->text().simplified()));
    }
    SetAccessible(Button11, QString(), QStringLiteral("返回实验选择"));
    SetAccessible(BitBtn2, QString(), QStringLiteral("打开本实验的操作说明"));
    SetAccessible(SpeedButton1, QString(), QStringLiteral("打开本实验的教学页"));
    SetAccessible(Button4, QString(), QStringLiteral("设置实验的初始值"));
    SetAccessible(Button2, QString(), QStringLiteral("开始动画"));
    SetAccessible(Button7, QString(), QStringLiteral("暂停或继续动画"));
    SetAccessible(Button26, QString(), QStringLiteral("停止动画"));
    SetAccessible(BitBtn1, QString(), QStringLiteral("退出程序，先询问是否确定"));
}

void TForm1::MirrorSpeedBar() {
    if (!TrackBar1) return;
    mirroring_ = true;
    TrackBar1->setRange(SpeedBar.Min(), SpeedBar.Max());
    TrackBar1->setValue(SpeedBar.Position());
    TrackBar1->setTickInterval(SpeedBar.Frequency());
    TrackBar1->setSingleStep(SpeedBar.LineSize());
    TrackBar1->setToolTip(SpeedBar.Hint());
    mirroring_ = false;
}

QPushButton* TForm1::ExperimentButton(int code) const {
    const Experiment* e = FindExperiment(code);
    return e ? TabSheet1->findChild<QPushButton*>(QLatin1String(e->buttonName)) : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Drawing

void TForm1::DrawLabFrame() {
    DrawTiltedPanel(2, 20, 90, 535, 700, 12, 0);
    DrawTiltedPanel(4, 59, 90, 486, 693, 16, 0);
    SurfaceChanged();
}

void TForm1::DrawExperimentTitle() {
    DrawTiltedPanel(3, 3, 90, 560, 700, 13, 0);
    DrawTiltedPanel2(7, 40, 90, 506, 686, 12, 13, 0);
    DrawTiltedPanel2(10, 43, 90, 500, 680, 12, 13, 0);
    DrawTiltedPanel2(7, 8, 90, 27, 686, 12, 13, 0);
    DrawTiltedPanel2(10, 11, 90, 21, 680, 12, 13, 0);
    if (const Experiment* e = FindExperiment(ExperimentCode)) DrawLabel(e->titleX, 10, 14, 0, 1, e->title);
    SurfaceChanged();
}

// ---------------------------------------------------------------------------------------------
// Choosing an experiment

void TForm1::Button3Click() { ChooseExperiment(201); }
void TForm1::Button5Click() { ChooseExperiment(202); }
void TForm1::Button1Click() { ChooseExperiment(203); }
void TForm1::Button46Click() { ChooseExperiment(204); }
void TForm1::Button27Click() { ChooseExperiment(205); }
void TForm1::Button45Click() { ChooseExperiment(206); }
void TForm1::Button6Click() { ChooseExperiment(207); }
void TForm1::Button47Click() { ChooseExperiment(208); }

void TForm1::ChooseExperiment(int code) {
    const Experiment* e = FindExperiment(code);
    if (!e) return;
    ExperimentCode = code;
    ClearRunRecord();
    Image3->hide();
    ResetExperiment();
    ShowExperimentControls();
    ClearArea(0, 0, 700, 550);
    if (e->chosen) e->chosen();
    DrawExperimentTitle();
    OpenHelp(e->helpPage, true);
}

void TForm1::ResetExperiment() {
    SetStepInterval(500);
    Timer1->stop();
    MouseMoveActive = 0;
    MouseClickActive = 0;
    TickCount = 0;
    if (const Experiment* e = FindExperiment(ExperimentCode)) e->reset();
}

void TForm1::ShowExperimentControls() {
    Button4->setEnabled(true);
    Button26->setEnabled(true);
    Button7->setEnabled(false);
    BitBtn2->show();
    TrackBar1->show();
    TrackBar1->setEnabled(true);
    PageControl1->hide();
    Panel2->show();
    Button11->show();
    Button11->setEnabled(false);
}

void TForm1::ShowStoppedControls() {
    Timer1->stop();
    BitBtn2->show();
    Button4->setEnabled(true);
    Button7->setEnabled(false);
    Button11->setEnabled(true);
    MouseMoveActive = 0;
    MouseClickActive = 0;
}

// ---------------------------------------------------------------------------------------------
// Run control

void TForm1::Button4Click() {
    ResetExperiment();
    ShowExperimentControls();
    Button4->setEnabled(false);
    Button7->setEnabled(false);
    Button2->setEnabled(true);
    if (table3 && table3->Button1) table3->Button1->setEnabled(false);
    SpeedButton1->show();
    BitBtn1->hide();

    if (const Experiment* e = FindExperiment(ExperimentCode)) SetUp(*e);
    Button4->setEnabled(false);
    SurfaceChanged();
}

// The set-up of the experiment on show: its own steps, the panel where it has one, the first
// picture once the panel is confirmed, and the mouse flags before or after that picture.
void TForm1::SetUp(const Experiment& e) {
    Timer1->stop();
    ClearRunRecord();
    if (e.settingUp) e.settingUp();
    if (e.settingOpensPanel) {
        ShowPanelModal();
        if (!PanelAccepted) return;
    }
    if (e.settingMouse == SettingMouse::BeforeStep) MouseMoveActive = MouseClickActive = 1;
    e.step();
    StartRunRecord();
    if (e.settingMouse == SettingMouse::AfterStep) MouseMoveActive = MouseClickActive = 1;
    if (e.setUpDone) e.setUpDone();
    if (e.startWaitsForSurface) Button2->setEnabled(false);
}

void TForm1::Button2Click() {
    Timer1->start();
    Button2->setEnabled(false);
    Button11->setEnabled(false);
    const Experiment* e = FindExperiment(ExperimentCode);
    if (e && e->pauseUsable) Button7->setEnabled(true);
    if (e && e->startSilencesMouse) {
        MouseMoveActive = 0;
        MouseClickActive = 0;
    }
}

void TForm1::Button7Click() {
    const Experiment* e = FindExperiment(ExperimentCode);
    if (!e || !e->pauseUsable) return;
    if (Timer1->isActive()) {
        Timer1->stop();
        Button7->setText(kContinueCaption);
    } else {
        Timer1->start();
        Button7->setText(kPauseCaption);
    }
    UpdateKeys();
}

void TForm1::Button26Click() {
    if (LabPageMarker != 20) return;
    Timer1->stop();
    ShowStoppedControls();
    Button7->setText(kPauseCaption);
    Button2->setEnabled(false);
    SpeedButton1->hide();
    BitBtn1->show();
    UpdateKeys();
}

void TForm1::Button11Click() {
    // Return is only enabled while the run is stopped; stopping again keeps it that way whatever
    // led here.
    Timer1->stop();
    PageControl1->show();
    Panel2->hide();
    Button26->setEnabled(false);
    Button4->setEnabled(false);
    Button2->setEnabled(false);
    SpeedButton1->hide();
    BitBtn1->show();
    Image3->show();
    Memo1->clear();
    ClearArea(0, 0, 700, 600);
    DrawLabFrame();
}

void TForm1::BitBtn1Click() {
    if (!AskConfirmation({QStringLiteral("你确定要离开吗??")})) return;
    Timer1->stop();
    leaving_ = true;
    close();
    if (Main) Main->close();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (leaving_) {
        QWidget::closeEvent(event);
        return;
    }
    // The lab is left only through a confirmed Exit. Where Exit is hidden (a run set up, running,
    // paused or ended) the only way out stays Stop, then Exit, so the close is ignored.
    event->ignore();
    if (!BitBtn1->isHidden()) BitBtn1Click();
}

// ---------------------------------------------------------------------------------------------
// Keys

bool TForm1::RunPaused() const {
    const Experiment* e = FindExperiment(ExperimentCode);
    return e && e->pauseUsable && LabPageMarker == 20 && Usable(Button7) && !Timer1->isActive() &&
           Button7->text() == kContinueCaption;
}

void TForm1::UpdateKeys() {
    if (stepKey_) stepKey_->setEnabled(RunPaused());
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Button7 && event->type() == QEvent::EnabledChange) UpdateKeys();
    return QWidget::eventFilter(watched, event);
}

void TForm1::SpaceKey() {
    if (QApplication::activeModalWidget()) return;
    if (Usable(Button2))
        Button2->click();
    else if (Usable(Button7))
        Button7->click();
}

void TForm1::StepKey() {
    if (QApplication::activeModalWidget() || !RunPaused()) return;
    Timer1Timer();  // the tick Timer1 would deliver, and its redraw
    // A run that ended on this tick ends as it would have while running: Pause disabled, and
    // captioned Pause, so that the next Start does not offer Continue while the run goes.
    if (!Button7->isEnabled()) Button7->setText(kPauseCaption);
    UpdateKeys();
}

void TForm1::HelpKey() {
    if (QApplication::activeModalWidget()) return;
    if (Usable(BitBtn2)) BitBtn2->click();
}

void TForm1::FullScreenKey() {
    if (QApplication::activeModalWidget()) return;
    SetFullScreen(!fullScreen_);
}

// ---------------------------------------------------------------------------------------------
// Scale and full screen

namespace {
const QSize kNormalSize(788, 600);

QScreen* ScreenOf(const QWidget* w) { return w->screen() ? w->screen() : QGuiApplication::primaryScreen(); }
}  // namespace

double TForm1::Scale() const { return Image1->Scale(); }

void TForm1::SetScale(double scale) {
    if (!(scale > 0)) return;
    scale_ = scale;
    if (fullScreen_) return;  // shown when full screen is left
    ScaleWidgets(this, scale);
    Image1->SetScale(scale);
    if (QScreen* screen = ScreenOf(this)) move(screen->availableGeometry().center() - rect().center());
    ScaleCompanionWindows(scale);
}

void TForm1::SetFullScreen(bool on) {
    if (on == fullScreen_) return;
    QScreen* screen = ScreenOf(this);
    if (on && !screen) return;
    fullScreen_ = on;
    if (!on) {
        setWindowState(windowState() & ~Qt::WindowFullScreen);
        SetScale(scale_);
        return;
    }
    const QSize area = screen->geometry().size();
    const double fit = FitScale(kNormalSize, area);
    const QSize lab = ScaledRect(QRect(QPoint(), kNormalSize), fit).size();
    ScaleWidgets(this, fit, QPoint((area.width() - lab.width()) / 2, (area.height() - lab.height()) / 2));
    setFixedSize(area);  // the window covers the screen; the pale rose of the window shows around the lab
    Image1->SetScale(fit);
    ScaleCompanionWindows(fit);
    // Placed on the screen by hand too: a display without a window manager ignores the state.
    move(screen->geometry().topLeft());
    setWindowState(windowState() | Qt::WindowFullScreen);
}

// ---------------------------------------------------------------------------------------------
// Help pages

void TForm1::OpenHelp(const QString& page, bool introRule) {
    HelpPagePath = ProgramFolder + page;
    if (introRule && IntroShown == 0) {
        HelpPagePath = ProgramFolder + QStringLiteral("/help/op.htm");
        IntroShown = 1;
    }
    // Closing first makes every request open the page afresh, also when the viewer is on screen.
    if (Form2) {
        Form2->close();
        Form2->show();
    }
}

void TForm1::BitBtn2Click() {
    if (Form2) Form2->close();
    Image3->hide();
    const Experiment* e = FindExperiment(ExperimentCode);
    OpenHelp(e ? e->helpPage : QString(), true);
}

void TForm1::SpeedButton1Click() {
    if (Form2) Form2->close();
    const Experiment* e = FindExperiment(ExperimentCode);
    OpenHelp(e ? e->teachingPage : QString(), false);
}

// ---------------------------------------------------------------------------------------------
// Speed bar, timer, tab page

// The speed-bar rule: runs on every actual change of the bar's position. A change it makes itself
// runs it again, and that inner run changes nothing further.
void TForm1::TrackBar1Change() {
    SpeedBar.SetHint(QStringLiteral("改变速度大小"));
    const Experiment* e = FindExperiment(ExperimentCode);
    if (e && e->slowSpeedBar) {
        SpeedBar.SetMax(500);
        SpeedBar.SetMin(10);
        SpeedBar.SetFrequency(100);
    } else {
        SpeedBar.SetMax(100);
        SpeedBar.SetMin(1);
        SpeedBar.SetFrequency(10);
        SpeedBar.SetLineSize(1);
    }
    Timer1->setInterval(SpeedBar.Position());
}

void TForm1::Timer1Timer() {
    if (LabPageMarker != 20) return;
    StepExperiment();
    SurfaceChanged();
}

void TForm1::StepExperiment() {
    const Experiment* e = FindExperiment(ExperimentCode);
    if (!e) return;
    TickCount += 1;
    if (e->countsRealTicks) InterferenceTicks += 1.0;
    e->step();
    RecordTick();
}

void TForm1::PageControl1Change() {
    Memo1->clear();
    if (PageControl1->currentIndex() == 0) {
        LabPageMarker = 20;
        DrawLabFrame();
    }
}

// ---------------------------------------------------------------------------------------------
// Mouse on the drawing surface: the experiment on show decides; each one checks its own flags.

void TForm1::Image1MouseDown(int x, int y) {
    const Experiment* e = FindExperiment(ExperimentCode);
    if (e && e->mouseDown) {
        e->mouseDown(x, y);
        SurfaceChanged();
    }
}

void TForm1::Image1MouseMove(int x, int y) {
    if (MouseMoveActive != 1) return;
    const Experiment* e = FindExperiment(ExperimentCode);
    if (e && e->mouseMove) {
        e->mouseMove(x, y);
        SurfaceChanged();
    }
}

void TForm1::Image1MouseUp(int x, int y) {
    const Experiment* e = FindExperiment(ExperimentCode);
    if (e && e->mouseUp) e->mouseUp(x, y);
}

// ---------------------------------------------------------------------------------------------
// LabHost

void TForm1::SetStepInterval(int milliseconds) {
    Timer1->setInterval(milliseconds);
    SpeedBar.SetPosition(milliseconds);
}

void TForm1::SetTimerInterval(int milliseconds) { Timer1->setInterval(milliseconds); }

void TForm1::SetSpeedBar(int minimum, int maximum, int position, int frequency) {
    SpeedBar.SetMin(minimum);
    SpeedBar.SetMax(maximum);
    SpeedBar.SetPosition(position);
    SpeedBar.SetFrequency(frequency);
}

void TForm1::StopTimer() { Timer1->stop(); }
void TForm1::SetStartEnabled(bool enabled) { Button2->setEnabled(enabled); }
void TForm1::SetSettingEnabled(bool enabled) { Button4->setEnabled(enabled); }
void TForm1::SetPauseEnabled(bool enabled) { Button7->setEnabled(enabled); }
void TForm1::AppendMemo(const QString& line) { Memo1->appendPlainText(line); }

void TForm1::SetSurfaceCursor(SurfaceCursor cursor) {
    Image1->setCursor(cursor == SurfaceCursor::Hand ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TForm1::ShowPanelModal() {
    if (!table3) return;
    // Only the panel's own confirmation may report accepted values; a panel left any other way
    // must not pass on an answer from an earlier set-up.
    PanelAccepted = 0;
    table3->close();
    table3->exec();
}

QString TForm1::ChargeLayoutText() { return table3 ? table3->ChargeLayoutText() : QString(); }

void TForm1::SetChargeLayoutText(const QString& text) {
    if (table3) table3->SetChargeLayoutText(text);  // the program's own change: no handler runs
}

void TForm1::ShowReturnIfRowHidden() {
    // The panel left by its Exit while an experiment is on show: Return stays reachable.
    if (PageControl1->isHidden()) Button11->show();
}

void TForm1::SurfaceChanged() {
    if (Image1) Image1->SurfaceChanged();
}

}  // namespace vlab
