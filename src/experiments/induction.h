#pragma once
// Electromagnetic induction (code 207): a wire loop crossing a magnetic field, at constant speed or sliding
// down an incline.

#include <QJsonObject>

#include <array>

namespace vlab {

extern int InductionMode;      // 0 constant speed, 1 incline
extern double FieldDirection;  // 0 or 1: ringed dots or solid dots
extern double LoopOffset;      // constant speed: TickCount - 120
extern double InducedCurrent;  // constant speed: +50, -50 or 0
extern double PushForce;       // constant speed: 50 or 0
extern double CoilSpeed;       // incline: speed along the incline
extern double CoilTravel;      // incline: distance slid so far
extern std::array<double, 2>
    InclineNear;            // x and y of the point 210 px up the incline, where the field band begins
extern double CoilCornerX;  // the coil's lower corner on the incline, x
extern double CoilCornerY;  // the coil's lower corner on the incline, y

void InductionStep();
// The loop's speed at constant speed, pixels per step: pushed 1 px a tick from the first tick on,
// at rest in the set-up's picture and in the incline mode.
double LoopSpeed();
void InductionReset();
void InductionMouseDown(int x, int y);
void InductionMouseMove(int x, int y);
void InductionMouseUp(int x, int y);
void InductionDescribe(QJsonObject& out);
void InductionResetProgramState();

}  // namespace vlab
