#include "lab/track_bar.h"

namespace vlab {

void TrackBar::SetMin(int value) {
    if (value > max_) return;
    min_ = value;
    Clamp();
}

void TrackBar::SetMax(int value) {
    if (value < min_) return;
    max_ = value;
    Clamp();
}

void TrackBar::SetPosition(int value) {
    if (value < min_) value = min_;
    if (value > max_) value = max_;
    if (value == position_) {
        Mirror();
        return;
    }
    position_ = value;
    Mirror();
    if (OnChange) OnChange();
}

void TrackBar::Clamp() { SetPosition(position_); }

}  // namespace vlab
