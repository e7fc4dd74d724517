#include "draw/shapes.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "draw/canvas.h"
#include "draw/numeric.h"
#include "draw/style.h"

namespace vlab {

double RayEndX = 0, RayEndY = 0;
double VectorAngleDeg = 0;
double SumX = 0, SumY = 0, SumMag = 0;
std::array<double, 4> BodyVX{}, BodyX{}, BodyVY{}, BodyY{};

namespace {

// A whole turn ten times over is more than any arc needs; the cap keeps a huge or endless angle
// range from looping for ever.
constexpr int kMaxArcSteps = 3600;
// No zigzag of the lab has more than a few dozen vertices; this only bounds absurd counts.
constexpr int kMaxZigzagVertices = 100000;

// Cosine and sine of every whole degree an arc of the lab runs through, computed exactly as the
// arc loop would compute them; degrees outside the table are computed on the spot.
constexpr int kArcTableFirst = -360;
constexpr int kArcTableLast = 720;
struct ArcTable {
    std::array<double, kArcTableLast - kArcTableFirst + 1> cos{}, sin{};
    ArcTable() {
        for (int d = kArcTableFirst; d <= kArcTableLast; ++d) {
            const double th = d;
            cos[d - kArcTableFirst] = std::cos(DegToRad(th));
            sin[d - kArcTableFirst] = std::sin(DegToRad(th));
        }
    }
};
const ArcTable kArcTable;

// th is a whole number of degrees.
void ArcCosSin(double th, double& c, double& s) {
    if (th >= kArcTableFirst && th <= kArcTableLast) {
        const auto i = static_cast<std::size_t>(static_cast<int>(th) - kArcTableFirst);
        c = kArcTable.cos[i];
        s = kArcTable.sin[i];
        return;
    }
    c = std::cos(DegToRad(th));
    s = std::sin(DegToRad(th));
}

// Corners of a block whose base starts at (x, y) and runs `length` along `angle`, standing `width`
// on the upper side of the base. Empty outside 0 < angle < 180.
std::optional<std::vector<QPointF>> tiltedCorners(double x, double y, double angle, double length,
                                                  double width) {
    if (!(angle > 0.0 && angle < 180.0)) return std::nullopt;
    if (angle == 90.0) {
        // Axis-aligned: length runs downwards, width to the right of (x, y).
        return std::vector<QPointF>{{x, y}, {x, y + length}, {x + width, y + length}, {x + width, y}};
    }
    if (angle < 90.0) {
        const double a = DegToRad(angle);
        const double px = x + RoundTo(length * std::cos(a), 12), py = y - RoundTo(length * std::sin(a), 12);
        const double ux = RoundTo(-width * std::sin(a), 12), uy = RoundTo(-width * std::cos(a), 12);
        return std::vector<QPointF>{{x, y}, {px, py}, {px + ux, py + uy}, {x + ux, y + uy}};
    }
    const double t = DegToRad(180.0 - angle);
    const double px = x - RoundTo(length * std::cos(t), 12), py = y - RoundTo(length * std::sin(t), 12);
    const double ux = RoundTo(width * std::sin(t), 12), uy = RoundTo(-width * std::cos(t), 12);
    return std::vector<QPointF>{{x, y}, {x + ux, y + uy}, {px + ux, py + uy}, {px, py}};
}

// Thin solid arcs already worked out, by centre, angles and radius: the pixels they set and the
// point the pen ends on. The ripple tank draws the same few hundred rings frame after frame.
// An arc is kept once per visible area of the surface it was drawn under (pixels outside it are
// left out).
struct ArcKey {
    double centreX, centreY, startDeg, endDeg, radius;
    QRect area;
    bool operator==(const ArcKey&) const = default;
};
struct ArcKeyHash {
    std::size_t operator()(const ArcKey& k) const {
        std::size_t h = 0;
        for (const double v : {k.centreX, k.centreY, k.startDeg, k.endDeg, k.radius})
            h = h * 1000003u ^ std::hash<double>{}(v);
        for (const int v : {k.area.left(), k.area.top(), k.area.right(), k.area.bottom()})
            h = h * 1000003u ^ std::hash<int>{}(v);
        return h;
    }
};
struct ArcPixels {
    std::vector<std::uint32_t> offsets;
    QRect bounds;
    QPointF end;
};
// The arcs worked out on one canvas, kept in its cache.
struct ArcMemo : Canvas::Cache::Memo {
    static constexpr std::size_t kMaxArcs = 4096;
    std::unordered_map<ArcKey, ArcPixels, ArcKeyHash> arcs;
    std::vector<QPoint> points;  // scratch for the points of the arc being worked out
    std::size_t size() const override { return arcs.size(); }
};

// The arc from the canvas's cache, worked out first if need be; null when one of its points lies
// outside the clip box (such an arc is drawn point by point). startDeg is a whole number.
const ArcPixels* CachedArc(Canvas& c, double centreX, double centreY, double startDeg, double endDeg,
                           double radius) {
    ArcMemo& memo = c.cache().memo<ArcMemo>();
    const ArcKey key{centreX, centreY, startDeg, endDeg, radius, c.visibleArea()};
    if (const auto found = memo.arcs.find(key); found != memo.arcs.end()) return &found->second;
    std::vector<QPoint>& points = memo.points;
    points.clear();
    int steps = 0;
    for (double th = startDeg; th <= endDeg && steps < kMaxArcSteps; th += 1.0, ++steps) {
        double cosTh = 0, sinTh = 0;
        ArcCosSin(th, cosTh, sinTh);
        const double px = FastTrunc(centreX + RoundToWhole(cosTh * radius));
        const double py = FastTrunc(centreY - RoundToWhole(sinTh * radius));
        if (!InClipBox(px, py)) return nullptr;
        points.emplace_back(static_cast<int>(px), static_cast<int>(py));
    }
    if (points.empty()) return nullptr;
    if (memo.arcs.size() >= ArcMemo::kMaxArcs) memo.arcs.clear();
    ArcPixels arc;
    Canvas::ThinPolylinePixels(points, key.area, arc.offsets, arc.bounds);
    arc.end = QPointF(points.back());
    return &memo.arcs.emplace(key, std::move(arc)).first->second;
}

}  // namespace

void DrawRect(double left, double top, double right, double bottom, int penColour, int penWidth, int penStyle,
              int penMode, int brushStyle, int brushColour) {
    SetDrawStyle(penColour, penWidth, penStyle, penMode, brushStyle, brushColour);
    Surface().rectangle(left, top, right, bottom);
}

void DrawEllipse(double centreX, double centreY, double width, double height, int penColour, int penWidth,
                 int penStyle, int penMode, int brushStyle, int brushColour) {
    SetDrawStyle(penColour, penWidth, penStyle, penMode, brushStyle, brushColour);
    Surface().ellipse(centreX - width / 2, centreY - height / 2, centreX + width / 2, centreY + height / 2);
}

void DrawArc(double centreX, double centreY, double startDeg, double endDeg, double radius, int penColour,
             int penWidth, int penStyle, int penMode) {
    SetDrawStyle(penColour, penWidth, penStyle, penMode, 2, 12);
    if (!std::isfinite(startDeg) || !std::isfinite(endDeg)) return;
    Canvas& c = Surface();
    int steps = 0;
    if (c.reference()) {
        for (double th = std::trunc(startDeg); th <= endDeg && steps < kMaxArcSteps; th += 1.0, ++steps) {
            const double dx = RoundTo(std::cos(DegToRad(th)) * radius, 0);
            const double dy = RoundTo(std::sin(DegToRad(th)) * radius, 0);
            const double px = std::trunc(centreX + dx), py = std::trunc(centreY - dy);
            if (th == startDeg) c.moveTo(px, py);
            c.lineTo(px, py);
        }
        return;
    }
    if (c.penWidth() <= 1 && c.penStyle() == PenStyle::Solid && std::trunc(startDeg) == startDeg) {
        if (const ArcPixels* arc = CachedArc(c, centreX, centreY, startDeg, endDeg, radius)) {
            c.replayPixels(arc->offsets, arc->bounds, arc->end);
            return;
        }
    }
    // The same points from the tables; once the pen stands on a whole pixel inside the clip box,
    // each step to a point inside it skips the clipping and the conversions of lineTo.
    bool onPixel = false;
    for (double th = std::trunc(startDeg); th <= endDeg && steps < kMaxArcSteps; th += 1.0, ++steps) {
        double cosTh = 0, sinTh = 0;
        ArcCosSin(th, cosTh, sinTh);
        const double px = FastTrunc(centreX + RoundToWhole(cosTh * radius));
        const double py = FastTrunc(centreY - RoundToWhole(sinTh * radius));
        if (th == startDeg) {
            c.moveTo(px, py);
            onPixel = InClipBox(px, py);
        }
        const bool inside = InClipBox(px, py);
        if (onPixel && inside)
            c.lineToPixel(static_cast<int>(px), static_cast<int>(py));
        else
            c.lineTo(px, py);
        onPixel = inside;
    }
}

void DrawLabel(double x, double y, int fontSize, int fontColourIndex, int fontStyleCode,
               const QString& text) {
    SetFont(fontStyleCode, fontSize, fontColourIndex);
    SetDrawStyle(12, 2, 0, 1, 6, 12);  // a hatched brush: the text is transparent
    Surface().textOut(x, y, text);
    SetDrawStyle(12, 2, 0, 1, 0, 12);
}

void DrawRay(double length, double angle, double x, double y, int penStyle, int penMode, int colour,
             int penWidth, int endKind, double endSize, int endPenColour, int endFillColour) {
    if (!(length > 0.001)) return;  // also a NaN length: no ray, the last end point stays
    const double a = DegToRad(angle);
    const double ex = x + RoundTo(length * std::cos(a), 12);
    const double ey = y - RoundTo(length * std::sin(a), 12);
    if (endKind != 1) {
        SetDrawStyle(colour, penWidth, penStyle, penMode, 2, 12);
        Canvas& c = Surface();
        c.moveTo(std::trunc(x), std::trunc(y));
        c.lineTo(std::trunc(ex), std::trunc(ey));
    }
    if (endKind == 1 || endKind == 2)
        DrawEllipse(ex, ey, endSize, endSize, endPenColour, 1, 0, 0, 0, endFillColour);
    else if (endKind == 3)
        DrawTiltedBlock(ex - endSize / 2, ey, 90, endSize, endSize, endFillColour);
    RayEndX = ex;
    RayEndY = ey;
}

bool RayEnds(double length, std::size_t n, const double* angles, const double* x, const double* y,
             double* endX, double* endY) {
    if (!(length > 0.001)) return false;
    for (std::size_t i = 0; i < n; ++i) {
        const double a = DegToRad(angles[i]);
        endX[i] = length * std::cos(a);
        endY[i] = length * std::sin(a);
    }
    RoundToEach(endX, n, 12);
    RoundToEach(endY, n, 12);
    for (std::size_t i = 0; i < n; ++i) {
        endX[i] = x[i] + endX[i];
        endY[i] = y[i] - endY[i];
    }
    return true;
}

void DrawTiltedBlock(double x, double y, double angle, double length, double width, int colour) {
    DrawTiltedPanel2(x, y, angle, length, width, colour, colour, 0);
}

void DrawTiltedPanel(double x, double y, double angle, double length, double width, int colour,
                     int brushStyle) {
    DrawTiltedPanel2(x, y, angle, length, width, colour, colour, brushStyle);
}

void DrawTiltedPanel2(double x, double y, double angle, double length, double width, int fillColour,
                      int penColour, int brushStyle) {
    SetDrawStyle(penColour, 0, 0, 0, brushStyle, fillColour);
    if (const auto corners = tiltedCorners(x, y, angle, length, width)) Surface().polygon(*corners);
}

void DrawZigzag(double x, double y, int count, double step, double amplitude, int direction, int penWidth,
                int colour) {
    SetDrawStyle(colour, penWidth, 0, 0, 2, 12);
    Canvas& c = Surface();
    c.moveTo(std::trunc(x), std::trunc(y));
    if (direction != 1 && direction != 2) return;
    const int n = std::min(count, kMaxZigzagVertices);
    for (int i = 1; i <= n; ++i) {
        const double side = amplitude - 2 * amplitude * FMod(i, 2);  // odd: -amplitude, even: +amplitude
        if (direction == 1) {
            const double u = x + step * i;
            if (i == n && i == count)
                c.lineTo(std::trunc(u - 10), std::trunc(y));
            else
                c.lineTo(std::trunc(u - 5), std::trunc(y + side));
        } else {
            const double v = y + step * i;
            if (i == n && i == count)
                c.lineTo(std::trunc(x), std::trunc(v - 10));
            else
                c.lineTo(std::trunc(x + side), std::trunc(v - 5));
        }
    }
}

void ClearArea(int left, int top, int right, int bottom) {
    SetDrawStyle(12, 1, 0, 0, 0, 12);
    Surface().rectangle(left, top, right, bottom);
    // The pale-rose border lines along the top and left edges are redrawn by every erase.
    DrawRay(720, 0, 0, 0, 0, 0, 13, 6, 0, 0, 0, 0);
    DrawRay(620, 270, 0, 0, 0, 0, 13, 6, 0, 0, 0, 0);
}

double VectorAngleOf(double x, double y) {
    const double deg = std::atan(y / x) * 180 / kPi;
    if (x > 0 && y > 0) return deg;
    if (x < 0 && y > 0) return deg + 180;
    if (x < 0 && y < 0) return deg + 180;
    if (x > 0 && y < 0) return deg + 360;
    if (x == 0 && y > 0) return 90;
    if (x == 0 && y < 0) return 270;
    if (x >= 0 && y == 0) return 0;
    if (x < 0 && y == 0) return 180;
    return 0;  // a NaN component has no direction
}

void VectorAngle(double x, double y) { VectorAngleDeg = VectorAngleOf(x, y); }

void SumVectors4(double mag1, double deg1, double mag2, double deg2, double mag3, double deg3, double mag4,
                 double deg4) {
    const std::array<double, 4> deg = {deg1, deg2, deg3, deg4};
    std::array<double, 4> cos{}, sin{};
    for (std::size_t i = 0; i < 4; ++i) {
        cos[i] = std::cos(DegToRad(deg[i]));
        sin[i] = std::sin(DegToRad(deg[i]));
    }
    SumDirectedVectors4({mag1, mag2, mag3, mag4}, cos, sin);
}

void SumDirectedVectors4(const std::array<double, 4>& mag, const std::array<double, 4>& cos,
                         const std::array<double, 4>& sin) {
    SumX = mag[0] * cos[0];
    SumX += mag[1] * cos[1];
    SumX += mag[2] * cos[2];
    SumX += mag[3] * cos[3];
    SumY = mag[0] * sin[0];
    SumY += mag[1] * sin[1];
    SumY += mag[2] * sin[2];
    SumY += mag[3] * sin[3];
    SumMag = std::sqrt(SumX * SumX + SumY * SumY);
    if (!RoundsToZero(SumMag, 8))
        VectorAngle(SumX, SumY);
    else
        VectorAngleDeg = 0;
}

void AdvanceBody(double vx, double vy, double ax, double ay, double x, double y, double dt, int slot) {
    if (slot < 0 || slot > 3) return;  // there are four bodies only
    BodyVX[slot] = vx + ax * dt;
    BodyX[slot] = x + vx * dt + 0.5 * ax * dt * dt;
    BodyVY[slot] = vy + ay * dt;
    BodyY[slot] = y + vy * dt + 0.5 * ay * dt * dt;
}

}  // namespace vlab
