#pragma once
// Composite figures: arrows, the zigzag spring, pulley wheels, wedges and wavefronts.

#include <QRgb>
#include <QString>

#include <array>
#include <span>

namespace vlab {

// Offsets from the tail of the last arrow head: corner1-x, tip-x, corner2-x, corner1-y, tip-y,
// corner2-y (y upwards).
extern std::array<double, 6> ArrowHeadPts;
// The free end of the last spring shares storage with ArrowHeadPts[0] and [3], so drawing an
// arrow overwrites it: read the end point before drawing any arrow.
inline double& SpringEndX = ArrowHeadPts[0];
inline double& SpringEndY = ArrowHeadPts[3];

// Eighteen small integers shared by the wavefront routines, the parameter panel and several
// experiments, each of which names the entries it uses.
extern std::array<int, 18> KitSlots;
inline int& WaveVariant = KitSlots[0];           // wave superposition: pulse shape chosen in the panel
inline int& SourceWaveTicks = KitSlots[0];       // interference: fronts from the source
inline int& SlitWaveTicks = KitSlots[1];         // interference: fronts from the slits
inline int* const ChargeQ = &KitSlots[0];        // electric field: the four charges, entries 0 to 3
inline int* const ChargeColour = &KitSlots[10];  // electric field: their colours, entries 10 to 13
inline int& OverlapColumns = KitSlots[12];       // wave superposition: overlapping columns this step
inline int& TestSign = KitSlots[17];             // electric field: sign of the test charge

void DrawArrow(double length, int angle, double x, double y, int penMode, int colour, int shaftWidth,
               int headWidth, int headKind);
void DrawLabelledArrow(double length, int angle, double x, double y, int penMode, int penStyle, int colour,
                       int shaftWidth, int headWidth, int headKind, int fontSize, const QString& label);
void DrawSpring(double x, double y, double coils, double stretchPerCoil, int fittingKind, int orientation,
                int anchorKind);
void DrawPulleyWheel(double centreX, double centreY, double radius, double leftLen, double hangerLen,
                     double rightLen, int leftKind, int hangerKind, int rightKind);
void DrawWedge(double x, double y, double angle2, double angle1, double length2, double length1,
               int penColour, int penMode, int brushStyle, int brushColour);
void DrawCircularWavefronts(double x, double y, double spacing, double driftA, double driftB, double scale,
                            int colour, int penWidth, double travelled, int slot);
void DrawPlaneWavefronts(double x, double y, double spacing, double driftA, double driftB, double scale,
                         int colour, int ignored, double travelled, int slot);

// One arrow of a batch: its tail, its angle in whole degrees and its colour.
struct ArrowAt {
    double x, y;
    int angle;
    QRgb colour;
};
// Arrows of one length and head kind, each from its own tail along its own angle in its own
// colour, with a 1-pixel shaft and head: the pixels DrawLabelledArrow(length, angle, x, y,
// penMode, penStyle, 100, 1, 1, headKind, size, "") sets for each in turn after the pen is given
// its colour, for a fraction of the calls. ArrowHeadPts and the pen colour are the last arrow's;
// the style is the one its lines are drawn in, not the one a label leaves.
void DrawArrows(double length, int headKind, int penMode, int penStyle, std::span<const ArrowAt> arrows);

// Puts every shared result of the kit and the surface back to their program-start values, and
// forgets everything kept in the surface's cache.
void ResetDrawKit();

}  // namespace vlab
