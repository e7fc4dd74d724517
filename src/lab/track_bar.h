#pragma once
// The speed bar's model: a horizontal track bar with these rules. The position always lies
// within [minimum, maximum]; a minimum above the maximum (or a maximum below the minimum) is
// ignored; every actual change of the position calls the change handler at once, before the
// setter returns, whether the user or the program made it. The on-screen slider only mirrors it.

#include <QString>

#include <functional>

namespace vlab {

class TrackBar {
public:
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    int Frequency() const { return frequency_; }
    int LineSize() const { return lineSize_; }
    const QString& Hint() const { return hint_; }

    void SetMin(int value);
    void SetMax(int value);
    void SetPosition(int value);
    void SetFrequency(int value) {
        frequency_ = value;
        Mirror();
    }
    void SetLineSize(int value) {
        lineSize_ = value;
        Mirror();
    }
    void SetHint(const QString& hint) {
        hint_ = hint;
        Mirror();
    }

    // Called on every actual change of the position.
    std::function<void()> OnChange;
    // Called after any change of the model, so a view can follow it.
    std::function<void()> OnMirror;

private:
    void Clamp();
    void Mirror() const {
        if (OnMirror) OnMirror();
    }

    int min_ = 1;
    int max_ = 100;
    int position_ = 1;
    int frequency_ = 10;
    int lineSize_ = 1;
    QString hint_;
};

}  // namespace vlab
