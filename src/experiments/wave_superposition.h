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

// Clears the surface and draws one frame; the pulses advance one step.
void WaveSuperpositionStep();
void WaveSuperpositionReset();
// A press in the step area (x 201 to 269, y 151 to 179) advances one step, at any time.
void WaveSuperpositionMouseDown(int x, int y);
void WaveSuperpositionMouseUp(int x, int y);

// One step of the pulse plotter: advances WavePlotCounts[slot], puts the fronts at
// xFrom + N * speed and rightStart - N * speed, and draws the string column by column from xFrom
// to xTo. The steep sides have slope 2e, the gentle ones e, both pulses are f high. Stops the run
// when a front reaches the far end. A slot outside 0..3, a slope e that is not positive or an
// argument that is not finite draws nothing and changes nothing.
void PlotPulsePair(double xFrom, double xTo, double rightStart, double baseline, double e, double f,
                   double speed, int kind, int sumColour, int penWidth, int showParts, int slot);
// The string at one column: each pulse's line and whether the pulse covers the column (1 or 0),
// and the sum line.
struct StringColumn {
    double y1 = 0, in1 = 0, y2 = 0, in2 = 0, sum = 0;
};
// The string at column x for pulses with their leading edges at front1 and front2. kind is the
// second pulse's shape: 1 a crest and 0 a trough with the steep side leading, 4 a crest and 3 a
// trough with the gentle side leading; any other kind has no second pulse.
StringColumn PulseColumnAt(double x, double front1, double front2, double baseline, double e, double f,
                           int kind);
// The same for the fronts in Front1 and Front2, left in Y1, In1, Y2, In2 and YSum.
void PulseColumn(double x, double baseline, double e, double f, int kind);
// The highest point of the string at this step, pixels above its baseline: the displacement
// y = y1 + y2 of the medium, the largest over the string's columns, where the sum line or a pulse
// running alone shows it. 0 when the pair chosen draws no string.
double WaveHighestPoint();
void WaveSuperpositionDescribe(QJsonObject& out);
void WaveSuperpositionResetProgramState();

}  // namespace vlab
