#pragma once
// Shared by the experiment tests: a host that records what an experiment asks of the lab window and
// answers as the window does.

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <vector>

#include "lab/lab_host.h"
#include "lab/lab_state.h"

namespace vlab::test {

class RecordingHost : public NullHost {
public:
    std::vector<int> intervals;                 // every SetStepInterval
    std::vector<int> timerIntervals;            // every SetTimerInterval
    std::vector<std::array<int, 4>> speedBars;  // minimum, maximum, position, frequency
    SurfaceCursor cursor = SurfaceCursor::Default;
    QString layout;               // the panel's charge-layout text
    QStringList memo;             // lines written under the picture
    std::function<void()> panel;  // stands in for the parameter panel while it is open
    bool startEnabled = false;
    int repaints = 0;
    int panels = 0;  // times the panel was shown
    int timerStops = 0;
    int stops = 0;           // runs ended through ShowStoppedControls
    int firstStopTick = -1;  // TickCount when the first of them ended
    int lastStopTick = -1;   // TickCount when the last of them ended

    // Everything recorded back to nothing; the layout text stays.
    void Clear() {
        intervals.clear();
        timerIntervals.clear();
        speedBars.clear();
        cursor = SurfaceCursor::Default;
        startEnabled = false;
        memo.clear();
        repaints = panels = timerStops = stops = 0;
        firstStopTick = lastStopTick = -1;
    }

    // As the window does: the timer stops and both mouse flags go off.
    void ShowStoppedControls() override {
        if (stops++ == 0) firstStopTick = TickCount;
        lastStopTick = TickCount;
        MouseMoveActive = MouseClickActive = 0;
    }
    void SetStepInterval(int ms) override { intervals.push_back(ms); }
    void SetTimerInterval(int ms) override { timerIntervals.push_back(ms); }
    void SetSpeedBar(int lo, int hi, int pos, int freq) override { speedBars.push_back({lo, hi, pos, freq}); }
    void StopTimer() override { ++timerStops; }
    void SetStartEnabled(bool e) override { startEnabled = e; }
    void SetSurfaceCursor(SurfaceCursor c) override { cursor = c; }
    QString ChargeLayoutText() override { return layout; }
    void SetChargeLayoutText(const QString& t) override { layout = t; }
    void SurfaceChanged() override { ++repaints; }
    void AppendMemo(const QString& line) override { memo << line; }
    void ShowPanelModal() override {
        ++panels;
        if (panel) panel();
    }
};

}  // namespace vlab::test
