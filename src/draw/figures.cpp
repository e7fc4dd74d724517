#include "draw/figures.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "draw/canvas.h"
#include "draw/numeric.h"
#include "draw/shapes.h"
#include "draw/style.h"

namespace vlab {

std::array<double, 6> ArrowHeadPts{};
std::array<int, 18> KitSlots{};

namespace {

// No spring of the lab has more than 30 coils; the cap only bounds absurd counts.
constexpr double kMaxCoils = 10000;

struct ArrowGeometry {
    double c1x, c1y, tipx, tipy, c2x, c2y, shaftx, shafty;
};

// Head length h along the shaft, half width w, and how far the shaft stops short of the tip g.
bool HeadSize(double length, int headKind, int& h, int& w, int& g) {
    const bool shortArrow = length < 10;
    switch (headKind) {
        case 1:
            h = shortArrow ? TruncToInt(length) : 10;
            w = shortArrow ? TruncToInt(0.6 * length) : 6;
            g = shortArrow ? TruncToInt(length) : 10;
            return true;
        case 2:
            h = shortArrow ? TruncToInt(length) : 10;
            w = shortArrow ? TruncToInt(0.3 * length) : 3;
            g = 1;
            return true;
        case 3:
            h = 5;
            w = 3;
            g = 1;
            return true;
        default: return false;  // there are three head kinds only
    }
}

// Arrows already worked out, by length, angle and head kind: the field grid draws some 1,500
// arrows of one length a frame, at a few hundred different angles. Direct-mapped; an entry that
// does not match is simply worked out again and takes the place. Kept in the canvas's cache.
struct ArrowEntry {
    double length = -1;
    int angle = 0;
    int headKind = 0;
    ArrowGeometry g{};
};
struct ArrowMemo : Canvas::Cache::Memo {
    static constexpr std::size_t kEntries = 1024;
    std::array<ArrowEntry, kEntries> entries;
    std::vector<Canvas::ColouredLine> lines;  // the lines of a batch, kept from batch to batch
    std::size_t size() const override {
        return static_cast<std::size_t>(
            std::count_if(entries.begin(), entries.end(), [](const ArrowEntry& e) { return e.length > 0; }));
    }
};

// The canvas's arrow memo; none on the reference path, which works out every arrow.
ArrowMemo* ArrowMemoOf(Canvas& c) { return c.reference() ? nullptr : &c.cache().memo<ArrowMemo>(); }

std::size_t ArrowEntrySlot(double length, int angle, int headKind) {
    const auto a = static_cast<std::size_t>(static_cast<unsigned>(angle));
    const auto l = static_cast<std::size_t>(static_cast<long long>(length * 8) & 0xFFFF);
    return (a * 31 + l * 7 + static_cast<std::size_t>(headKind)) % ArrowMemo::kEntries;
}

// Computes the head and shaft of an arrow and stores the head in ArrowHeadPts, from the memo
// when there is one. False when no arrow is drawn (too short, or an unknown head).
bool ArrowGeometryOf(double length, int angle, int headKind, ArrowGeometry& g, ArrowMemo* memo) {
    if (!(length > 0.001)) return false;
    int h = 0, w = 0, gap = 0;
    if (!HeadSize(length, headKind, h, w, gap)) return false;
    ArrowEntry* entry = nullptr;
    if (memo && std::isfinite(length) && length < 1e6) {
        entry = &memo->entries[ArrowEntrySlot(length, angle, headKind)];
        if (entry->length == length && entry->angle == angle && entry->headKind == headKind) {
            g = entry->g;
            ArrowHeadPts = {g.c1x, g.tipx, g.c2x, g.c1y, g.tipy, g.c2y};
            return true;
        }
    }
    const double c = std::cos(DegToRad(angle)), s = std::sin(DegToRad(angle));
    g.c1x = RoundTo(c * (length - h) - s * w, 12);
    g.c1y = RoundTo(s * (length - h) + c * w, 12);
    g.tipx = RoundTo(length * c, 12);
    g.tipy = RoundTo(length * s, 12);
    g.c2x = RoundTo(c * (length - h) + s * w, 12);
    g.c2y = RoundTo(s * (length - h) - c * w, 12);
    g.shaftx = RoundTo(c * (length - gap), 12);
    g.shafty = RoundTo(s * (length - gap), 12);
    ArrowHeadPts = {g.c1x, g.tipx, g.c2x, g.c1y, g.tipy, g.c2y};
    if (entry) *entry = ArrowEntry{length, angle, headKind, g};
    return true;
}

// The shaft from the tail at (x, y) and the head's two corners and tip, y downwards.
struct ArrowPoints {
    QPointF tail, shaftEnd, c1, tip, c2;
};
ArrowPoints PointsOf(const ArrowGeometry& g, double x, double y) {
    return {QPointF(x, y), QPointF(x + g.shaftx, y - g.shafty), QPointF(x + g.c1x, y - g.c1y),
            QPointF(x + g.tipx, y - g.tipy), QPointF(x + g.c2x, y - g.c2y)};
}

void DrawArrowLines(const ArrowGeometry& g, double x, double y, int penMode, int penStyle, int colour,
                    int shaftWidth, int headWidth, int headKind) {
    Canvas& cv = Surface();
    const ArrowPoints p = PointsOf(g, x, y);
    SetDrawStyle(colour, shaftWidth, penStyle, penMode, 2, 12);
    cv.moveTo(p.tail.x(), p.tail.y());
    cv.lineTo(p.shaftEnd.x(), p.shaftEnd.y());
    SetDrawStyle(colour, headWidth, penStyle, penMode, 2, 12);
    if (headKind == 1) {
        cv.polygon(
            {p.c1, p.tip, p.c2});  // filled by the solid white brush that style 2 with colour 12 leaves
    } else {
        cv.moveTo(p.c1.x(), p.c1.y());
        cv.lineTo(p.tip.x(), p.tip.y());
        cv.lineTo(p.c2.x(), p.c2.y());
    }
}

int FrontCount(double travelled, double spacing, int cap) {
    const double n = std::fabs(std::trunc(travelled / spacing));
    if (std::isnan(n)) return 0;
    return static_cast<int>(std::min(n, static_cast<double>(cap)));
}

double FirstFrontOffset(double travelled, double spacing) {
    const double u = FMod(travelled + 1, spacing);
    return u == 0 ? 3 : u;
}

}  // namespace

void DrawArrow(double length, int angle, double x, double y, int penMode, int colour, int shaftWidth,
               int headWidth, int headKind) {
    ArrowGeometry g{};
    if (!ArrowGeometryOf(length, angle, headKind, g, ArrowMemoOf(Surface()))) return;
    DrawArrowLines(g, x, y, penMode, 0, colour, shaftWidth, headWidth, headKind);
}

void DrawLabelledArrow(double length, int angle, double x, double y, int penMode, int penStyle, int colour,
                       int shaftWidth, int headWidth, int headKind, int fontSize, const QString& label) {
    Canvas& c = Surface();
    ArrowGeometry g{};
    // A label without an arrow sits as if the shaft ended at the tail.
    if (ArrowGeometryOf(length, angle, headKind, g, ArrowMemoOf(c)))
        DrawArrowLines(g, x, y, penMode, penStyle, colour, shaftWidth, headWidth, headKind);
    SetDrawStyle(12, 2, 0, 1, 6, 12);
    SetFont(0, fontSize, 5);
    // An empty label writes nothing (the field grid's arrows have none), so its place is not
    // worked out.
    if (!label.isEmpty() || c.reference()) {
        const double b = DegToRad(angle - 90.0);
        double ox, oy;
        if (angle > 90 && angle < 270) {
            ox = RoundTo(15 * std::cos(b), 12);
            oy = RoundTo(15 * std::sin(b), 12);
        } else {
            ox = RoundTo(25 * std::cos(b), 12);
            oy = RoundTo(15 * std::sin(b) + 10, 12);
        }
        c.textOut(std::trunc(x + g.shaftx + ox), std::trunc(y - g.shafty - oy), label);
    }
    SetDrawStyle(12, 2, 0, 1, 0, 12);
}

void DrawArrows(double length, int headKind, int penMode, int penStyle, std::span<const ArrowAt> arrows) {
    constexpr int kPenAsSet = 100;
    SetDrawStyle(kPenAsSet, 1, penStyle, penMode, 2, 12);
    Canvas& c = Surface();
    ArrowMemo* memo = ArrowMemoOf(c);
    std::vector<Canvas::ColouredLine> ownLines;
    std::vector<Canvas::ColouredLine>& lines = memo ? memo->lines : ownLines;
    lines.clear();
    for (const ArrowAt& a : arrows) {
        ArrowGeometry g{};
        if (!ArrowGeometryOf(length, a.angle, headKind, g, memo)) continue;
        if (headKind == 1) {
            // A filled head goes to the painter: the lines so far first, to keep the order.
            c.lines(lines);
            lines.clear();
            c.setPenColour(QColor(a.colour));
            DrawArrowLines(g, a.x, a.y, penMode, penStyle, kPenAsSet, 1, 1, headKind);
            continue;
        }
        const ArrowPoints p = PointsOf(g, a.x, a.y);
        lines.push_back({p.tail, p.shaftEnd, a.colour});
        lines.push_back({p.c1, p.tip, a.colour});
        lines.push_back({p.tip, p.c2, a.colour});
    }
    c.lines(lines);
}

void DrawSpring(double x, double y, double coils, double stretchPerCoil, int /*fittingKind*/,
                int /*orientation*/, int /*anchorKind*/) {
    SetFont(0, 8, 5);
    SetDrawStyle(0, 1, 0, 0, 2, 12);
    Canvas& c = Surface();
    c.moveTo(x, y);
    c.lineTo(x + 2, y);
    c.lineTo(x + 2, y - 20);
    const double pitch = 10 + stretchPerCoil;
    const double last = std::min(coils, kMaxCoils);
    int n = 0;
    for (int i = 1; i <= last; ++i) {
        const double sign = (i % 2 == 1) ? 1.0 : -1.0;
        c.lineTo(x + 2 + pitch * i, y + 20 * sign);
        n = i;
    }
    c.lineTo(x + 2 + pitch * n, y);
    c.lineTo(x + 4 + pitch * n, y);
    SpringEndX = x + 4 + pitch * n;
    SpringEndY = y;
}

void DrawPulleyWheel(double centreX, double centreY, double radius, double leftLen, double hangerLen,
                     double rightLen, int leftKind, int hangerKind, int rightKind) {
    DrawEllipse(centreX, centreY, 2 * radius, 2 * radius, 5, 2, 0, 0, 0, 11);
    Surface().setPenWidth(1);
    auto rope = [](double len, double sx, double sy, int kind) {
        switch (kind) {
            case 0: DrawRay(len, 90, sx, sy, 0, 0, 5, 1, 0, 0, 5, 5); break;
            case 1: DrawRay(len, 270, sx, sy, 0, 0, 5, 1, 0, 0, 5, 5); break;
            case 2: DrawArrow(len, 90, sx, sy, 0, 5, 1, 1, 2); break;
            case 3: DrawArrow(len, 270, sx, sy, 0, 5, 1, 1, 2); break;
            default: break;
        }
    };
    rope(leftLen, centreX - radius, centreY, leftKind);
    rope(hangerLen, centreX, centreY, hangerKind);
    rope(rightLen, centreX + radius - 1, centreY, rightKind);
}

void DrawWedge(double x, double y, double angle2, double angle1, double length2, double length1,
               int penColour, int penMode, int brushStyle, int brushColour) {
    // End kind 1 with end size 0 only computes the end points.
    DrawRay(length1, angle1, x, y, 0, 0, penColour, 1, 1, 0, penColour, penColour);
    const QPointF p1(RayEndX, RayEndY);
    DrawRay(length2, angle2, x, y, 0, 0, penColour, 1, 1, 0, penColour, penColour);
    const QPointF p2(RayEndX, RayEndY);
    SetDrawStyle(penColour, 1, 0, penMode, brushStyle, brushColour);
    Surface().polygon({p2, p1, QPointF(x, y)});
}

void DrawCircularWavefronts(double x, double y, double spacing, double driftA, double driftB, double scale,
                            int colour, int penWidth, double travelled, int slot) {
    if (slot < 0 || slot >= static_cast<int>(KitSlots.size())) return;  // no such entry
    const int n = FrontCount(travelled, spacing, 30);
    KitSlots[slot] = n;
    const double u = FirstFrontOffset(travelled, spacing);
    for (int i = 0; i <= n; ++i) {
        const double cx = x + (n - i) * driftA * spacing + (travelled - (n - i) * spacing - 1) * driftB;
        const double radius = (i * spacing + u) * scale;
        if (slot > 1) {
            DrawArc(cx, y, 0, 90, radius, colour, penWidth, 0, 0);
            DrawArc(cx, y, 270, 360, radius, colour, penWidth, 0, 0);
        }
    }
}

void DrawPlaneWavefronts(double x, double y, double spacing, double driftA, double driftB, double scale,
                         int colour, int /*ignored*/, double travelled, int slot) {
    if (!(travelled > 1)) return;
    if (slot < 0 || slot >= static_cast<int>(KitSlots.size())) return;
    const int n = FrontCount(travelled, spacing, 20);
    KitSlots[slot] = n;
    const double u = FirstFrontOffset(travelled, spacing);
    for (int i = 0; i <= n; ++i) {
        const double cx = x + (n - i) * driftA * spacing + (travelled - (n - i) * spacing - 1) * driftB;
        const double fx = cx + (i * spacing + u) * scale;
        if (slot > 1) DrawRay(100, 90, fx, y + 50, 0, 0, colour, 1, 0, 0, 5, 5);
    }
}

void ResetDrawKit() {
    RayEndX = RayEndY = 0;
    VectorAngleDeg = 0;
    SumX = SumY = SumMag = 0;
    BodyVX.fill(0);
    BodyX.fill(0);
    BodyVY.fill(0);
    BodyY.fill(0);
    ArrowHeadPts.fill(0);
    KitSlots.fill(0);
    Surface().reset();
    Surface().cache().reset();
}

}  // namespace vlab
