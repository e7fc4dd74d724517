#include "shell/lab_host.h"

namespace vlab {

namespace {

// Stands in while no lab window exists (unit tests of an experiment alone, start-up order): every
// request is accepted and has no effect.
class NullHost final : public LabHost {
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

NullHost nullHost;
LabHost* currentHost = nullptr;

}  // namespace

LabHost& Host() { return currentHost ? *currentHost : nullHost; }

void SetHost(LabHost* host) { currentHost = host; }

}  // namespace vlab
