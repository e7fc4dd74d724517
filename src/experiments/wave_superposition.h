#pragma once
// Wave superposition (code 208): two pulses run towards each other and their sum is drawn column by column.

#include <QJsonObject>

#include <array>

namespace vlab {

extern std::array<int, 4>
    WavePlotCounts;     // step counters of the pulse plotter, one per slot (the experiment uses slot 1)
extern double PrevY1;   // first pulse's line at the previous column
extern double PrevY2;   // second pulse's line at the previous column
extern double PrevSum;  // sum line at the previous column
extern double Y1;       // first pulse's line at the current column
extern double Y2;       // second pulse's line at the current column
extern double YSum;     // sum line at the current column
extern double In1;      // 1 if the column lies within the first pulse
extern double In2;      // 1 if the column lies within the second pulse
extern double Front1;   // leading edge x of the first pulse
extern double Front2;   // leading edge x of the second pulse

void WaveSuperpositionStep();
void WaveSuperpositionReset();
void WaveSuperpositionDescribe(QJsonObject& out);
void WaveSuperpositionResetProgramState();

}  // namespace vlab
