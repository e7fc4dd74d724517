#pragma once
// Primitive shapes and text, and the small geometry and motion routines the experiments share.

#include <QString>

#include <array>
#include <cstddef>

namespace vlab {

// Shared results, read by callers after the routine that writes them.
extern double RayEndX, RayEndY;    // end of the last ray with a length above 0.001
extern double VectorAngleDeg;      // angle of the last vector, 0 <= angle < 360
extern double SumX, SumY, SumMag;  // the last resultant of SumVectors4
// Scratch storage for up to four moving bodies; each experiment gives the slots its own meaning.
extern std::array<double, 4> BodyVX, BodyX, BodyVY, BodyY;

void DrawRect(double left, double top, double right, double bottom, int penColour, int penWidth, int penStyle,
              int penMode, int brushStyle, int brushColour);
void DrawEllipse(double centreX, double centreY, double width, double height, int penColour, int penWidth,
                 int penStyle, int penMode, int brushStyle, int brushColour);
void DrawArc(double centreX, double centreY, double startDeg, double endDeg, double radius, int penColour,
             int penWidth, int penStyle, int penMode);
void DrawLabel(double x, double y, int fontSize, int fontColourIndex, int fontStyleCode, const QString& text);
void DrawRay(double length, double angle, double x, double y, int penStyle, int penMode, int colour,
             int penWidth, int endKind, double endSize, int endPenColour, int endFillColour);
// Where DrawRay would end `n` rays of one length from the points (x[i], y[i]) along angles[i],
// with the roundings of many rays worked side by side; nothing is drawn and no shared result
// changes. False, with nothing written, for a length DrawRay draws no ray of.
bool RayEnds(double length, std::size_t n, const double* angles, const double* x, const double* y,
             double* endX, double* endY);
void DrawTiltedBlock(double x, double y, double angle, double length, double width, int colour);
void DrawTiltedPanel(double x, double y, double angle, double length, double width, int colour,
                     int brushStyle);
void DrawTiltedPanel2(double x, double y, double angle, double length, double width, int fillColour,
                      int penColour, int brushStyle);
void DrawZigzag(double x, double y, int count, double step, double amplitude, int direction, int penWidth,
                int colour);
void ClearArea(int left, int top, int right, int bottom);
void VectorAngle(double x, double y);
// The angle VectorAngle leaves in VectorAngleDeg for (x, y), without leaving it there.
double VectorAngleOf(double x, double y);
void SumVectors4(double mag1, double deg1, double mag2, double deg2, double mag3, double deg3, double mag4,
                 double deg4);
// SumVectors4 for four vectors whose directions are given by their cosines and sines, as
// SumVectors4 works them out from degrees (a caller that keeps them saves those steps).
void SumDirectedVectors4(const std::array<double, 4>& mag, const std::array<double, 4>& cos,
                         const std::array<double, 4>& sin);
void AdvanceBody(double vx, double vy, double ax, double ay, double x, double y, double dt, int slot);

}  // namespace vlab
