#pragma once
// Electric field of point charges (code 206): the field grid, the field arrows at a test point and
// the test charge's flight.

#include <QColor>
#include <QJsonObject>

#include <array>

namespace vlab {

extern std::array<double, 4> ChargeX;     // charge centres by layout, x
extern std::array<double, 4> ChargeY;     // charge centres by layout, y
extern double TestX;                      // test point, x
extern double TestY;                      // test point, y
extern double TestPrevX;                  // test charge at the previous step, x
extern double TestPrevY;                  // test charge at the previous step, y
extern bool TestPlaced;                   // a test point has been clicked
extern bool SignButtonsLive;              // the two sign buttons accept clicks
extern std::array<double, 4> DistSq;      // squared distance from each charge to the test point
extern std::array<double, 4> FieldMag;    // field strength of each charge at the test point
extern std::array<double, 4> FieldAngle;  // its direction, degrees, y up

void ElectricFieldStep();

// The field where the test charge is now, worked out as the next step works it out before it
// moves the charge: the strength of charge i's field there (0 for a slot without a placed charge,
// without a test point, or on the charge itself, where the field has no finite value), and the
// strength of their resultant. Both are as many pixels as the arrows at the test point are long.
double FieldStrengthAtTest(int i);
double ResultantAtTest();
// The test charge's speed, pixels per step (a step is 0.01 units of the flight's time).
double TestChargeSpeed();
void ElectricFieldReset();
// When the experiment is chosen: works out what the grid needs of every charge place of the three
// layouts with either sign, so that no grid drawn after the panel's Yes has to.
void ElectricFieldChosen();
void ElectricFieldMouseDown(int x, int y);
void ElectricFieldMouseMove(int x, int y);
void ElectricFieldMouseUp(int x, int y);
// The colour of a grid arrow for a field strength: white at 0, aqua at 255, green towards 2550,
// darkening to black at 25500 and beyond.
QRgb FieldStrengthColour(double strength);
void ElectricFieldDescribe(QJsonObject& out);
void ElectricFieldResetProgramState();

}  // namespace vlab
