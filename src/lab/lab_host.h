#pragma once
// What experiments and the parameter panel ask of the lab window. The lab window implements it;
// unit tests implement it with a fake. Experiments never include widget headers.

#include <QString>

namespace vlab {

enum class SurfaceCursor { Default, Hand };

class LabHost {
public:
    virtual ~LabHost() = default;
    // Stops the timer and shows the stopped controls (an experiment whose run ends by itself).
    virtual void ShowStoppedControls() = 0;
    // Timer1's interval, then the speed bar's position (which runs the speed-bar rule).
    virtual void SetStepInterval(int milliseconds) = 0;
    // Timer1's interval only, without touching the speed bar.
    virtual void SetTimerInterval(int milliseconds) = 0;
    // The speed bar's minimum, maximum, position and tick frequency, set in that order.
    virtual void SetSpeedBar(int minimum, int maximum, int position, int frequency) = 0;
    virtual void StopTimer() = 0;
    virtual void SetStartEnabled(bool enabled) = 0;
    virtual void SetSettingEnabled(bool enabled) = 0;
    virtual void SetPauseEnabled(bool enabled) = 0;
    // Appends one line to the message box Memo1 under the picture.
    virtual void AppendMemo(const QString& line) = 0;
    virtual void SetSurfaceCursor(SurfaceCursor cursor) = 0;
    // Closes the parameter panel and shows it modally; returns when it has closed.
    virtual void ShowPanelModal() = 0;
    // The text of the parameter panel's charge-layout box (the electric field reads and sets it).
    virtual QString ChargeLayoutText() = 0;
    virtual void SetChargeLayoutText(const QString& text) = 0;
    // The surface changed outside a tick: ask the screen to repaint it.
    virtual void SurfaceChanged() = 0;
    // The parameter panel's exit path: shows Return (Button11) when the experiment-button row
    // (PageControl1) is hidden. Does nothing by default.
    virtual void ShowReturnIfRowHidden() {}
};

// Accepts every request and does nothing: stands in while no lab window exists, and test fakes
// derive from it to observe only what they need.
class NullHost : public LabHost {
public:
    void ShowStoppedControls() override {}
    void SetStepInterval(int) override {}
    void SetTimerInterval(int) override {}
    void SetSpeedBar(int, int, int, int) override {}
    void StopTimer() override {}
    void SetStartEnabled(bool) override {}
    void SetSettingEnabled(bool) override {}
    void SetPauseEnabled(bool) override {}
    void AppendMemo(const QString&) override {}
    void SetSurfaceCursor(SurfaceCursor) override {}
    void ShowPanelModal() override {}
    QString ChargeLayoutText() override { return {}; }
    void SetChargeLayoutText(const QString&) override {}
    void SurfaceChanged() override {}
};

// The host the lab talks to; never null (a do-nothing host stands in until a window registers).
LabHost& Host();
void SetHost(LabHost* host);

}  // namespace vlab
