#pragma once
// The drawing-style vocabulary: colour codes, pen, brush and font codes, and the two routines that
// apply them to the surface.

#include <QColor>

namespace vlab {

// Colour codes 0 to 21 name the lab's colours; 99 and above mean "leave the colour as it is".
inline constexpr int kKeepColour = 99;
// The background of windows and panels (colour code 13).
inline constexpr QRgb kLabRose = 0xE7D1D1;

// The colour a code names. Codes 22 to 98 and negative codes each give a fixed colour of their own
// (only the friction graph reaches them, one colour per run). Not meaningful for 99 and above.
QColor ColourOfCode(int code);
// The 13-entry font palette: entry 11 is the system's inactive caption text colour.
QColor FontColourOfIndex(int index);

void SetDrawStyle(int penColour, int penWidth, int penStyle, int penMode, int brushStyle, int brushColour);
void SetFont(int styleCode, int size, int colourIndex);

}  // namespace vlab
