#pragma once
// The lab window `Form1`: the drawing surface, the experiment buttons, run control, the speed bar,
// the step timer and the message strip. It is the LabHost the experiments and the panel talk to.

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include "lab/lab_host.h"
#include "lab/track_bar.h"
#include "shell/scaling.h"

class QFrame;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QShortcut;
class QSlider;
class QTabWidget;
class QTimer;
class QToolButton;

namespace vlab {

class TForm1;
struct Experiment;

// `Image1`: shows the drawing surface and passes the mouse to the lab window in surface pixels.
class SurfaceView : public QWidget {
    Q_OBJECT
public:
    SurfaceView(TForm1* form, QWidget* parent);

    // The surface has new pixels. The view shows them at the screen's own pace: at once when its
    // last picture has been on show for a refresh period, otherwise when that period is over. At
    // the 1 ms speed-bar setting a repaint after every tick would cost more than the tick itself.
    void SurfaceChanged();
    // The time a picture stays on show before the next one, milliseconds (one frame at 60 Hz).
    static constexpr int kRefreshMs = 16;

    // The surface is shown magnified by scale; a pointer at (x, y) of the view is on surface pixel
    // (floor(x / scale), floor(y / scale)).
    void SetScale(double scale);
    double Scale() const { return scale_; }
    // The filter that magnifies the surface image.
    static constexpr SurfaceFilter kFilter = SurfaceFilter::SharpBlend;
    static_assert(kFilter == SurfaceFilter::SharpBlend,
                  "the view repaints changed parts through its SharpBlender");

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // The right button (or a long press) opens the copy and save menu; the left one stays the
    // experiment's.
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QPoint SurfacePixel(const QMouseEvent* event) const;
    // Asks for the repaint of what changed: magnified, only the screen pixels of the surface's
    // changed parts are blended again and painted.
    void Refresh();
    // On a touch screen a tap is a click and a drag a drag, and a long press opens the menu: the
    // finger's press waits until it moves, lifts or has been held long enough to tell which.
    bool HoldsTouch(const QMouseEvent* event);
    void ReleaseHeldTouch();
    void LongPress();

    TForm1* form_;
    double scale_ = 1.0;
    SharpBlender blender_;
    QElapsedTimer sincePaint_;
    QTimer refresh_;
    QTimer hold_;     // runs while a finger's press waits
    QPointF heldAt_;  // where that press is, on the view
    bool holding_ = false;
    bool menuByTouch_ = false;  // the press became the menu: its moves and release reach nothing
};

class TForm1 : public QWidget, public LabHost {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Controls, named as on the form.
    SurfaceView* Image1 = nullptr;
    QLabel* Image3 = nullptr;  // splash collage, over Image1 while no experiment is chosen
    QPlainTextEdit* Memo1 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QPushButton* Button5 = nullptr;   // Pulley
    QPushButton* Button3 = nullptr;   // Friction
    QPushButton* Button1 = nullptr;   // SpringEnergy
    QPushButton* Button46 = nullptr;  // Collision
    QPushButton* Button27 = nullptr;  // Interference
    QPushButton* Button45 = nullptr;  // ElectricField
    QPushButton* Button6 = nullptr;   // Induction
    QPushButton* Button47 = nullptr;  // WaveSuperposition
    QFrame* Panel2 = nullptr;
    QPushButton* Button11 = nullptr;  // Return
    QFrame* Panel1 = nullptr;
    QLabel* Image2 = nullptr;  // vertical title picture
    QGroupBox* GroupBox1 = nullptr;
    QPushButton* BitBtn2 = nullptr;       // 操作说明
    QPushButton* Button4 = nullptr;       // Setting
    QPushButton* Button7 = nullptr;       // Pause / Continue
    QPushButton* Button26 = nullptr;      // Stop
    QPushButton* BitBtn1 = nullptr;       // Exit
    QToolButton* SpeedButton1 = nullptr;  // 物理教室
    QPushButton* Button2 = nullptr;       // Start
    QSlider* TrackBar1 = nullptr;         // mirrors SpeedBar
    QTimer* Timer1 = nullptr;

    // The speed bar's model; TrackBar1 only shows it.
    TrackBar SpeedBar;

    // The experiment button of a code (201..208), or null.
    QPushButton* ExperimentButton(int code) const;

    // Event handlers.
    void Button3Click();
    void Button5Click();
    void Button1Click();
    void Button46Click();
    void Button27Click();
    void Button45Click();
    void Button6Click();
    void Button47Click();
    void Button4Click();              // Setting
    void SetUp(const Experiment& e);  // Setting's part for the experiment on show
    void Button2Click();              // Start
    void Button7Click();              // Pause / Continue
    void Button26Click();             // Stop
    void Button11Click();             // Return
    void BitBtn1Click();              // Exit
    void BitBtn2Click();              // help page
    void SpeedButton1Click();         // teaching page
    void TrackBar1Change();
    void Timer1Timer();
    void PageControl1Change();
    void Image1MouseDown(int x, int y);
    void Image1MouseMove(int x, int y);
    void Image1MouseUp(int x, int y);

    // Routines shared by the handlers.
    void ChooseExperiment(int code);
    void ResetExperiment();
    void ShowExperimentControls();
    void DrawLabFrame();
    void DrawExperimentTitle();
    void StepExperiment();

    // The keys of the lab window. Each acts as a click on its button would, only when that button
    // is shown and enabled, and never while a modal window is open.
    void SpaceKey();       // Start, or Pause/Continue, whichever is usable
    void StepKey();        // Right arrow: one tick of a paused run
    void HelpKey();        // F1: 操作说明
    void FullScreenKey();  // F11: full screen, and back

    // The window at scale times its normal size, centred on the screen (1: the normal window).
    void SetScale(double scale);
    // Full screen: the window covers the screen and shows the lab scaled to fit it, keeping its
    // aspect ratio, centred on the lab's pale rose; off: back to the scale set before. Called
    // while the window is hidden, it takes effect when the window is shown.
    void SetFullScreen(bool on);
    bool FullScreen() const { return fullScreen_; }
    // The scale the lab is drawn at now.
    double Scale() const;
    // A run paused by Pause in an experiment whose Pause works: the state the Right arrow steps in.
    bool RunPaused() const;

    // LabHost.
    void ShowStoppedControls() override;
    void SetStepInterval(int milliseconds) override;
    void SetTimerInterval(int milliseconds) override;
    void SetSpeedBar(int minimum, int maximum, int position, int frequency) override;
    void StopTimer() override;
    void SetStartEnabled(bool enabled) override;
    void SetSettingEnabled(bool enabled) override;
    void SetPauseEnabled(bool enabled) override;
    void AppendMemo(const QString& line) override;
    void SetSurfaceCursor(SurfaceCursor cursor) override;
    void ShowPanelModal() override;
    QString ChargeLayoutText() override;
    void SetChargeLayoutText(const QString& text) override;
    void ShowReturnIfRowHidden() override;
    void SurfaceChanged() override;

protected:
    // The window manager's close (Alt+F4): asked as Exit asks, and only where Exit is on show.
    void closeEvent(QCloseEvent* event) override;
    // Button7 enabled or disabled: the Right arrow follows whether a run is paused.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    // Names and descriptions for a screen reader.
    void DescribeControls();
    void MirrorSpeedBar();
    void OpenHelp(const QString& page, bool introRule);
    void BuildKeys();
    // The Right arrow is taken only while a run is paused; otherwise it stays the speed bar's.
    void UpdateKeys();

    QShortcut* spaceKey_ = nullptr;
    QShortcut* stepKey_ = nullptr;
    QShortcut* helpKey_ = nullptr;
    QShortcut* fullScreenKey_ = nullptr;
    double scale_ = 1.0;  // the window's scale when not full screen
    bool fullScreen_ = false;

    bool mirroring_ = false;  // TrackBar1 is being brought in line with the model
    bool leaving_ = false;    // Exit was answered Yes: the close that follows is the program's own
};

}  // namespace vlab
