#pragma once
// Showing a window larger: every widget of it is laid out again at a scale, with its place, size,
// font, icon and the lengths of its style sheet multiplied, so that Qt draws the texts, frames and
// sliders afresh at the new size (sharp, not a magnified picture of the window). The first time a
// window is scaled each widget's own values are kept; scale 1 puts them back exactly.
//
// A window that moves its widgets while it is shown (the panel does, as its items change) places
// them through PlaceAtScale and FixSizeAtScale, in the coordinates of the normal size: they land
// where the window's present scale puts them.

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

class QRegularExpression;
class QString;
class QWidget;

namespace vlab {

// The text with every length the pattern finds (its first group, a whole number) at the scale.
QString ScaledLengths(const QString& text, const QRegularExpression& length, double scale);

// The scale that fits a window of the given size into an area, keeping its aspect ratio.
double FitScale(QSize window, QSize area);

// A rectangle of the normal layout at the scale, moved by offset: its edges are scaled, so widgets
// that touch at the normal size still touch.
QRect ScaledRect(const QRect& normal, double scale, QPoint offset = {});

// Lays out every widget of window (the window itself included: its fixed size) at the scale, its
// children moved by offset inside it.
void ScaleWidgets(QWidget* window, double scale, QPoint offset = {});

// The scale window was last laid out at (1 for a window never scaled).
double WidgetScale(const QWidget* window);

// The window's size and a widget's font at the normal size.
QSize NormalSize(const QWidget* window);
QFont NormalFont(const QWidget* w);

// The widget's place at the normal size: the one it was given there, whatever its scale now.
QRect NormalGeometry(const QWidget* w);
// Gives the widget that place at the normal size, shown at its window's present scale.
void PlaceAtScale(QWidget* w, const QRect& normal);
// Moves it, keeping its size.
void MoveAtScale(QWidget* w, QPoint normalTopLeft);
// Sizes it to its contents (a label to its text) at the present scale.
void AdjustSizeAtScale(QWidget* w);
// Fixes the window's size at the normal size, shown at its present scale.
void FixSizeAtScale(QWidget* window, QSize normal);

}  // namespace vlab
