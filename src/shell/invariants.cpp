#include "shell/invariants.h"

#include <QFrame>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QStringList>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <cmath>

#include "draw/canvas.h"
#include "lab/lab_state.h"
#include "panel/table3.h"
#include "registry/registry.h"
#include "shell/lab_window.h"
#include "shell/title_screen.h"
#include "shell/windows.h"

namespace vlab {

namespace {

// The run-control controls of the lab window as the user sees them.
struct Seen {
    bool row, returnShown, returnOn, settingOn, startOn, pauseOn, stopOn, exitShown, teachingShown, helpShown,
        splashShown, timer, barUsable, mouseOn;
    QString pauseText;
};

Seen Look(const TForm1& f) {
    Seen s{};
    s.row = f.PageControl1->isVisibleTo(&f);
    s.returnShown = f.Button11->isVisibleTo(&f);
    s.returnOn = f.Button11->isEnabled();
    s.settingOn = f.Button4->isEnabled();
    s.startOn = f.Button2->isEnabled();
    s.pauseOn = f.Button7->isEnabled();
    s.pauseText = f.Button7->text();
    s.stopOn = f.Button26->isEnabled();
    s.exitShown = f.BitBtn1->isVisibleTo(&f);
    s.teachingShown = f.SpeedButton1->isVisibleTo(&f);
    s.helpShown = f.BitBtn2->isVisibleTo(&f);
    s.splashShown = f.Image3->isVisibleTo(&f);
    s.timer = f.Timer1->isActive();
    s.barUsable = f.TrackBar1->isVisibleTo(&f) && f.TrackBar1->isEnabled();
    s.mouseOn = MouseMoveActive != 0 || MouseClickActive != 0;
    return s;
}

// Collects the broken expectations of one state.
class Expect {
public:
    explicit Expect(const char* state) : state_(QLatin1String(state)) {}
    void That(bool holds, const char* what) {
        if (!holds) broken_ << QLatin1String(what);
    }
    QString Result() const {
        if (broken_.isEmpty()) return {};
        return state_ + QStringLiteral(": ") + broken_.join(QStringLiteral(", "));
    }

private:
    QString state_;
    QStringList broken_;
};

// The run-control table: which state the controls say the run is in, and whether everything else
// agrees with that state.
QString CheckRunControl(const TForm1& form) {
    const Seen s = Look(form);
    const Experiment* e = FindExperiment(ExperimentCode);
    const bool pauseUsable = e && e->pauseUsable;

    Expect always("every state");
    always.That(s.helpShown, "BitBtn2 hidden");
    always.That(s.barUsable, "TrackBar1 hidden or disabled");
    always.That(s.exitShown != s.teachingShown, "Exit and SpeedButton1 not exactly one shown");
    if (QString r = always.Result(); !r.isEmpty()) return r;

    if (s.row) {
        Expect x("start-up");
        x.That(!s.returnShown, "Return shown");
        x.That(!s.settingOn, "Setting enabled");
        x.That(!s.startOn, "Start enabled");
        x.That(!s.pauseOn, "Pause enabled");
        x.That(s.pauseText == QLatin1String("Pause"), "Pause captioned Continue");
        x.That(!s.stopOn, "Stop enabled");
        x.That(s.exitShown, "Exit hidden");
        x.That(!s.timer, "Timer1 running");
        x.That(!s.mouseOn, "mouse flags on");
        return x.Result();
    }

    Expect common("experiment on show");
    common.That(e != nullptr, "ExperimentCode of no experiment");
    common.That(s.returnShown, "Return hidden");
    common.That(s.stopOn, "Stop disabled");
    common.That(!s.splashShown, "splash picture shown");
    if (QString r = common.Result(); !r.isEmpty()) return r;

    if (s.timer) {
        Expect x("Running");
        x.That(!s.returnOn, "Return enabled");
        x.That(!s.settingOn, "Setting enabled");
        x.That(!s.startOn, "Start enabled");
        x.That(s.pauseOn == pauseUsable, pauseUsable ? "Pause disabled" : "Pause enabled");
        x.That(s.pauseText == QLatin1String("Pause"), "Pause captioned Continue");
        x.That(s.teachingShown, "SpeedButton1 hidden");
        // Only an experiment whose Start leaves the mouse alone keeps taking clicks while it runs.
        x.That(!s.mouseOn || !e->startSilencesMouse, "mouse flags on");
        return x.Result();
    }
    if (s.pauseText != QLatin1String("Pause")) {
        Expect x("Paused");
        x.That(pauseUsable, "Continue shown for an experiment without Pause");
        x.That(s.pauseOn, "Continue disabled");
        x.That(!s.returnOn, "Return enabled");
        x.That(!s.settingOn, "Setting enabled");
        x.That(!s.startOn, "Start enabled");
        x.That(s.teachingShown, "SpeedButton1 hidden");
        x.That(!s.mouseOn || !e->startSilencesMouse, "mouse flags on");
        return x.Result();
    }
    if (s.returnOn) {
        // Stop gives Stopped; a run that ends by itself leaves the teaching button up (Ended).
        Expect x(s.exitShown ? "Stopped" : "Ended");
        // A run that ends in Setting's own first picture (a friction pull of 0 N) ends before
        // Setting's last steps, which then turn Setting off again and leave Start on.
        const bool endedInSetUp = !s.exitShown && !s.settingOn && s.startOn;
        x.That(s.settingOn || endedInSetUp, "Setting disabled");
        x.That(!s.startOn || endedInSetUp, "Start enabled");
        x.That(!s.pauseOn, "Pause enabled");
        x.That(!s.mouseOn, "mouse flags on");
        return x.Result();
    }
    if (s.exitShown) {
        Expect x("Chosen");
        x.That(s.settingOn, "Setting disabled");
        x.That(!s.startOn, "Start enabled");
        x.That(!s.pauseOn, "Pause enabled");
        x.That(!s.mouseOn || (e && e->mouseOnWhenChosen), "mouse flags on");
        return x.Result();
    }
    Expect x("Ready");
    x.That(!s.pauseOn, "Pause enabled");
    // Setting comes back only when the panel is left by its Exit, and then Start is off.
    x.That(!s.settingOn || !s.startOn, "Setting and Start both enabled");
    return x.Result();
}

// The first lab variable (or array entry) that holds NaN or an infinity.
QString FirstNotFinite(const QJsonObject& vars) {
    for (auto it = vars.begin(); it != vars.end(); ++it) {
        const QJsonValue v = it.value();
        if (v.isDouble() && !std::isfinite(v.toDouble())) return it.key();
        if (v.isArray()) {
            const QJsonArray a = v.toArray();
            for (qsizetype i = 0; i < a.size(); ++i) {
                if (a.at(i).isDouble() && !std::isfinite(a.at(i).toDouble()))
                    return QStringLiteral("%1[%2]").arg(it.key()).arg(i);
            }
        }
    }
    return {};
}

}  // namespace

QString CheckInvariants() {
    if (!Form1 || !Main) return QStringLiteral("a window of the lab is gone");
    if (!Main->isVisible() && !Form1->isVisible())
        return QStringLiteral("neither the title screen nor the lab window is shown");
    if (QString r = CheckRunControl(*Form1); !r.isEmpty()) return r;

    QJsonObject vars;
    DescribeLab(vars);
    if (table3) table3->Describe(vars);
    if (const QString bad = FirstNotFinite(vars); !bad.isEmpty())
        return QStringLiteral("%1 is not a finite number").arg(bad);

    if (const long outside = Surface().outsideCalls(); outside > 0)
        return QStringLiteral(
                   "%1 drawing call(s) handed a point that is not finite or far outside the surface")
            .arg(outside);
    return {};
}

}  // namespace vlab
