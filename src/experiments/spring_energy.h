#pragma once
// Spring oscillator energy (code 203): a block on a spring, its force arrow and the energy graph.

#include <QJsonObject>

#include <array>

namespace vlab {

extern double SpringConstant;              // k, whole numbers 1 to 4
extern double SpringMass;                  // m, whole numbers 1 to 4
extern double SpringOmega;                 // sqrt(k/m): phase advance per tick, degrees
extern double SpringDisplacement;          // amplitude A set by dragging, pixels, -270..270
extern double SpringX;                     // current displacement, pixels
extern double SpringPotential;             // Us of the current tick, graph pixels
extern double SpringKinetic;               // Ek of the current tick, graph pixels
extern double SpringEnergy0;               // Us at tick 1: the reference total energy
extern std::array<double, 8> SpringTrail;  // even-tick set [0..3], odd-tick set [4..7]
extern int SpringLastButton;               // 0: k was changed last, 1: m
extern int SpringDragging;                 // the block is held by the mouse
extern int SpringFirstGrab;                // the grab offset is still to be recorded

void SpringEnergyStep();
// The block's velocity at this tick, pixels per second (positive to the right): the rate of change
// of SpringX. One tick stands for pi/180 s, since a period of 2 pi sqrt(m/k) s lasts
// 360 / sqrt(k/m) ticks.
double SpringSpeed();
void SpringEnergyReset();
void SpringEnergyMouseDown(int x, int y);
void SpringEnergyMouseMove(int x, int y);
void SpringEnergyMouseUp(int x, int y);
void SpringEnergyDescribe(QJsonObject& out);
void SpringEnergyResetProgramState();

}  // namespace vlab
