#include "draw/canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPolygon>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <memory>

#include "draw/fonts.h"

namespace vlab {

namespace {

constexpr double kBoxLeft = -kClipMargin;
constexpr double kBoxTop = -kClipMargin;
constexpr double kBoxRight = kSurfaceWidth + kClipMargin;
constexpr double kBoxBottom = kSurfaceHeight + kClipMargin;

double ClampToBox(double v, double lo, double hi) { return std::min(std::max(v, lo), hi); }

// The point where segment a-b crosses the vertical line x = X (or the horizontal line y = Y),
// measured from the end nearer that line: starting from a far-away end would cancel every digit of
// the near one.
QPointF CrossX(QPointF a, QPointF b, double X) {
    if (std::fabs(a.x() - X) > std::fabs(b.x() - X)) std::swap(a, b);
    return QPointF(X, a.y() + (b.y() - a.y()) * ((X - a.x()) / (b.x() - a.x())));
}
QPointF CrossY(QPointF a, QPointF b, double Y) {
    if (std::fabs(a.y() - Y) > std::fabs(b.y() - Y)) std::swap(a, b);
    return QPointF(a.x() + (b.x() - a.x()) * ((Y - a.y()) / (b.y() - a.y())), Y);
}

int OutCode(QPointF p) {
    return (p.x() < kBoxLeft ? 1 : 0) | (p.x() > kBoxRight ? 2 : 0) | (p.y() < kBoxTop ? 4 : 0) |
           (p.y() > kBoxBottom ? 8 : 0);
}

// Cohen-Sutherland: clips the segment to the box, keeping its direction. False when nothing is
// left or a coordinate is not finite.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1) {
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) return false;
    QPointF a(x0, y0), b(x1, y1);
    for (int round = 0; round < 8; ++round) {
        const int ca = OutCode(a), cb = OutCode(b);
        if ((ca | cb) == 0) {
            x0 = a.x();
            y0 = a.y();
            x1 = b.x();
            y1 = b.y();
            return true;
        }
        if (ca & cb) return false;
        QPointF& p = ca ? a : b;
        const int c = ca ? ca : cb;
        QPointF q;
        if (c & 1)
            q = CrossX(a, b, kBoxLeft);
        else if (c & 2)
            q = CrossX(a, b, kBoxRight);
        else if (c & 4)
            q = CrossY(a, b, kBoxTop);
        else
            q = CrossY(a, b, kBoxBottom);
        if (!std::isfinite(q.x()) || !std::isfinite(q.y())) return false;
        // Rounding may leave the crossing a hair outside; it lies on the edge.
        p = QPointF(ClampToBox(q.x(), kBoxLeft, kBoxRight), ClampToBox(q.y(), kBoxTop, kBoxBottom));
    }
    return false;
}

// Sutherland-Hodgman against one edge of the box.
template <typename Inside, typename Cut>
std::vector<QPointF> ClipEdge(const std::vector<QPointF>& in, Inside inside, Cut cut) {
    std::vector<QPointF> out;
    if (in.empty()) return out;
    QPointF prev = in.back();
    for (const QPointF& cur : in) {
        const bool curIn = inside(cur), prevIn = inside(prev);
        if (curIn) {
            if (!prevIn) out.push_back(cut(prev, cur));
            out.push_back(cur);
        } else if (prevIn) {
            out.push_back(cut(prev, cur));
        }
        prev = cur;
    }
    return out;
}

std::vector<QPointF> ClipPolygon(std::vector<QPointF> pts) {
    auto atX = [](double X) { return [X](QPointF a, QPointF b) { return CrossX(a, b, X); }; };
    auto atY = [](double Y) { return [Y](QPointF a, QPointF b) { return CrossY(a, b, Y); }; };
    pts = ClipEdge(
        pts, [](QPointF p) { return p.x() >= kBoxLeft; }, atX(kBoxLeft));
    pts = ClipEdge(
        pts, [](QPointF p) { return p.x() <= kBoxRight; }, atX(kBoxRight));
    pts = ClipEdge(
        pts, [](QPointF p) { return p.y() >= kBoxTop; }, atY(kBoxTop));
    pts = ClipEdge(
        pts, [](QPointF p) { return p.y() <= kBoxBottom; }, atY(kBoxBottom));
    return pts;
}

bool AllFinite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

QPainter::CompositionMode CompositionOf(PenMode mode) {
    switch (mode) {
        case PenMode::Xor: return QPainter::RasterOp_SourceXorDestination;
        case PenMode::Mask: return QPainter::RasterOp_SourceAndDestination;
        case PenMode::Black: return QPainter::RasterOp_ClearDestination;
        case PenMode::Merge: return QPainter::RasterOp_SourceOrDestination;
        case PenMode::MaskPenNot: return QPainter::RasterOp_NotSourceAndDestination;
        case PenMode::Copy:
        case PenMode::NoOp: break;
    }
    return QPainter::CompositionMode_SourceOver;
}

Qt::BrushStyle QtBrushStyle(BrushStyle s) {
    switch (s) {
        case BrushStyle::Solid: return Qt::SolidPattern;
        case BrushStyle::Cross: return Qt::CrossPattern;
        case BrushStyle::Clear: return Qt::NoBrush;
        case BrushStyle::BDiagonal: return Qt::BDiagPattern;
        case BrushStyle::FDiagonal: return Qt::FDiagPattern;
        case BrushStyle::DiagCross: return Qt::DiagCrossPattern;
        case BrushStyle::Horizontal: return Qt::HorPattern;
        case BrushStyle::Vertical: return Qt::VerPattern;
    }
    return Qt::SolidPattern;
}

}  // namespace

int TruncToPixel(double v) {
    return static_cast<int>(ClampToBox(std::trunc(v), kBoxLeft, kBoxRight + kSurfaceHeight));
}

Canvas::Canvas(DrawingPath path)
    : reference_(path == DrawingPath::Reference),
      fontFamilies_{kSongFamily},
      image_(kSurfaceWidth, kSurfaceHeight, QImage::Format_RGB32) {
    reset();
}

Canvas::~Canvas() { endPainting(); }

void Canvas::reset() {
    endPainting();
    recording_ = nullptr;
    visibleArea_ = QRect();
    tileFill_.fill(0);
    pendingTiles_ = 0;
    image_.fill(Qt::white);
    penColour_ = Qt::black;
    penWidth_ = 1;
    penStyle_ = PenStyle::Solid;
    penMode_ = PenMode::Copy;
    brushStyle_ = BrushStyle::Solid;
    brushColour_ = Qt::white;
    font_ = QFont(kSongFamily);
    fontFamily_ = 0;
    font_.setStyleStrategy(QFont::NoAntialias);
    fontPointSize_ = 8;
    font_.setPixelSize(PointsToPixels(fontPointSize_));
    fontColour_ = Qt::black;
    penPos_ = QPointF(0, 0);
    fontChanged();
    outsideCalls_ = 0;
}

void Canvas::Cache::reset() {
    memos_.clear();
    stamps_.clear();
    texts_.clear();
    hatch_ = {};
    hatchKnown_.fill(false);
    hatchRepeats_.fill(false);
}

std::size_t Canvas::Cache::size() const {
    std::size_t n = stamps_.size() + texts_.size() +
                    static_cast<std::size_t>(std::count(hatchKnown_.begin(), hatchKnown_.end(), true));
    for (const Slot& slot : memos_) n += slot.memo->size();
    return n;
}

void Canvas::setFontStyles(bool bold, bool italic, bool underline, bool strikeOut) {
    const int styles = (bold ? 1 : 0) | (italic ? 2 : 0) | (underline ? 4 : 0) | (strikeOut ? 8 : 0);
    if (styles == fontStyles_) return;
    fontStyles_ = styles;
    font_.setBold(bold);
    font_.setItalic(italic);
    font_.setUnderline(underline);
    font_.setStrikeOut(strikeOut);
    fontChanged();
}

void Canvas::setFontFamily(const QString& family) {
    if (font_.family() == family) return;
    font_.setFamily(family);
    const auto known = std::find(fontFamilies_.begin(), fontFamilies_.end(), family);
    fontFamily_ = static_cast<int>(known - fontFamilies_.begin());
    if (known == fontFamilies_.end()) fontFamilies_.push_back(family);
    fontChanged();
}

void Canvas::setFontPointSize(int size) {
    fontPointSize_ = size;
    const int px = PointsToPixels(size);
    if (fontPixelSize_ == px) return;
    fontPixelSize_ = px;
    font_.setPixelSize(px);
    fontChanged();
}

void Canvas::fontChanged() {
    fontStyles_ = (font_.bold() ? 1 : 0) | (font_.italic() ? 2 : 0) | (font_.underline() ? 4 : 0) |
                  (font_.strikeOut() ? 8 : 0);
    fontPixelSize_ = font_.pixelSize();
    metrics_.reset();
    ++fontGeneration_;
}

const QFontMetrics& Canvas::metrics() {
    if (!metrics_ || reference_) metrics_ = std::make_unique<QFontMetrics>(font_);
    return *metrics_;
}

void Canvas::endPainting() const {
    if (painter_) painter_->end();
    painter_.reset();
}

void Canvas::donePrimitive() {
    if (reference_) endPainting();
}

QPainter& Canvas::openPainter() {
    spoilRecording();
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&image_);
        painter_->setRenderHint(QPainter::Antialiasing, false);
        painter_->setRenderHint(QPainter::TextAntialiasing, false);
        applied_ = PainterStyle{};
        textFontGeneration_ = -1;
    }
    return *painter_;
}

// The painter set up with the canvas's pen, brush and raster operation.
QPainter& Canvas::styledPainter(bool withBrush) {
    QPainter& p = openPainter();
    const PainterStyle want{withBrush ? 1 : 0,
                            penColour_.rgb(),
                            penWidth_,
                            penStyle_,
                            penMode_,
                            withBrush ? brushStyle_ : BrushStyle::Clear,
                            withBrush ? brushColour_.rgb() : 0};
    if (want == applied_) return p;
    applied_ = want;
    p.setCompositionMode(CompositionOf(penMode_));
    if (penStyle_ == PenStyle::Clear) {
        p.setPen(Qt::NoPen);
    } else {
        QPen pen(penColour_);
        const int w = penWidth_;
        pen.setWidth(w <= 1 ? 0 : w);
        // Thin lines leave out their last pixel (flat caps); wide ones have round ends, and a
        // dashed or dotted pen wider than 1 pixel draws solid.
        pen.setCapStyle(w <= 1 ? Qt::FlatCap : Qt::RoundCap);
        pen.setJoinStyle(w <= 1 ? Qt::MiterJoin : Qt::RoundJoin);
        if (w <= 1) {
            switch (penStyle_) {
                case PenStyle::Dash: pen.setDashPattern({18, 6}); break;
                case PenStyle::Dot: pen.setDashPattern({3, 3}); break;
                case PenStyle::DashDot: pen.setDashPattern({9, 6, 3, 6}); break;
                case PenStyle::DashDotDot: pen.setDashPattern({9, 3, 3, 3, 3, 3}); break;
                default: break;
            }
        }
        p.setPen(pen);
    }
    if (withBrush) {
        const Qt::BrushStyle bs = QtBrushStyle(brushStyle_);
        p.setBrush(bs == Qt::NoBrush ? QBrush() : QBrush(brushColour_, bs));
    } else {
        p.setBrush(Qt::NoBrush);
    }
    return p;
}

// Text and plain fills are painted over the surface, whatever the pen mode.
QPainter& Canvas::textPainter() {
    QPainter& p = openPainter();
    if (applied_.kind != 2) {
        applied_ = PainterStyle{};
        applied_.kind = 2;
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.setBrush(Qt::NoBrush);
        p.setPen(fontColour_);
        textColour_ = fontColour_.rgb();
    } else if (textColour_ != fontColour_.rgb()) {
        p.setPen(fontColour_);
        textColour_ = fontColour_.rgb();
    }
    if (textFontGeneration_ != fontGeneration_) {
        p.setFont(font_);
        textFontGeneration_ = fontGeneration_;
    }
    return p;
}

void Canvas::moveTo(double x, double y) { penPos_ = QPointF(x, y); }

void Canvas::noteOutside(std::initializer_list<double> coordinates) {
    auto it = coordinates.begin();
    for (; it != coordinates.end() && std::next(it) != coordinates.end(); it += 2) {
        if (!InClipBox(*it, *std::next(it))) {
            ++outsideCalls_;
            return;
        }
    }
}

namespace {

QRgb applyRasterOp(PenMode mode, QRgb pen, QRgb dst) {
    switch (mode) {
        case PenMode::Copy: return pen;
        case PenMode::Xor: return pen ^ dst;
        case PenMode::Mask: return pen & dst;
        case PenMode::NoOp: return dst;
        case PenMode::Black: return 0;
        case PenMode::Merge: return pen | dst;
        case PenMode::MaskPenNot: return dst & ~pen;
    }
    return pen;
}

// On/off run lengths, in pixels along the line, of the thin pen styles.
struct DashRuns {
    std::array<int, 6> run{};
    int count = 0;
};
DashRuns dashRuns(PenStyle style) {
    switch (style) {
        case PenStyle::Dash: return {{18, 6}, 2};
        case PenStyle::Dot: return {{3, 3}, 2};
        case PenStyle::DashDot: return {{9, 6, 3, 6}, 4};
        case PenStyle::DashDotDot: return {{9, 3, 3, 3, 3, 3}, 6};
        default: return {};
    }
}

// Bresenham from a to b, calling plot(x, y, on) for every pixel but the last; `on` follows the
// dash pattern.
template <typename Plot>
void StepLine(QPoint a, QPoint b, const DashRuns& runs, Plot plot) {
    int run = 0;
    int left = runs.count == 0 ? 0 : runs.run[0];
    const int dx = std::abs(b.x() - a.x()), dy = -std::abs(b.y() - a.y());
    const int sx = a.x() < b.x() ? 1 : -1, sy = a.y() < b.y() ? 1 : -1;
    int err = dx + dy, x = a.x(), y = a.y();
    while (x != b.x() || y != b.y()) {
        plot(x, y, runs.count == 0 || run % 2 == 0);
        if (runs.count != 0 && --left == 0) {
            run = (run + 1) % runs.count;
            left = runs.run[run];
        }
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

bool OnSurface(int x, int y) { return x >= 0 && y >= 0 && x < kSurfaceWidth && y < kSurfaceHeight; }

// Grows `box` to hold `more` as well (QRect's own union is a call into the library, and the
// recordings grow by every line).
void Extend(QRect& box, QRect more) {
    if (box.isNull()) {
        box = more;
        return;
    }
    box.setCoords(std::min(box.left(), more.left()), std::min(box.top(), more.top()),
                  std::max(box.right(), more.right()), std::max(box.bottom(), more.bottom()));
}

// Fills n pixels with one colour, four at a time where the processor has 128-bit stores (the
// compiler does not turn a plain loop into those at -O2).
void FillPixels(QRgb* p, qsizetype n, QRgb colour) {
#if defined(__SSE2__)
    const __m128i four = _mm_set1_epi32(static_cast<int>(colour));
    for (; n >= 4; n -= 4, p += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(p), four);
#endif
    std::fill(p, p + n, colour);
}

// The smallest box holding two pixels (QRect::normalized would leave out the corners' own rows and
// columns when they come in the other order).
QRect BoxAround(QPoint a, QPoint b) {
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

}  // namespace

// A thin line is stepped pixel by pixel: it starts on its first pixel and leaves out its last, so
// that under XOR the shared vertex of a polyline is drawn once. The pixels are written straight
// into the image's memory, found once per line.
// The common case of a thin line: solid, in the copy mode, both ends on the surface. Its pixels
// are set with a pointer stepping through the image from `first` (the image's first pixel, rows of
// `stride` pixels), and go into the recording too when there is one.
void Canvas::StepSolidLine(QRgb* first, qsizetype stride, QPoint a, QPoint b, QRgb colour, Recording* rec) {
    const int dx = std::abs(b.x() - a.x()), dy = -std::abs(b.y() - a.y());
    const int sx = a.x() < b.x() ? 1 : -1;
    const qsizetype sy = a.y() < b.y() ? stride : -stride;
    QRgb* p = first + a.y() * stride + a.x();
    QRgb* const last = first + b.y() * stride + b.x();
    if (rec) Extend(rec->bounds, BoxAround(a, b));
    int err = dx + dy;
    while (p != last) {
        *p = colour;
        if (rec) rec->writes.push_back({static_cast<std::uint32_t>(p - first), colour});
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            p += sx;
        }
        if (e2 <= dx) {
            err += dx;
            p += sy;
        }
    }
}

void Canvas::thinLineIn(QPoint a, QPoint b, QRgb pen) {
    settle(BoxAround(a, b));
    uchar* const bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    const PenMode mode = penMode_;
    if (mode == PenMode::Copy && penStyle_ == PenStyle::Solid && OnSurface(a.x(), a.y()) &&
        OnSurface(b.x(), b.y())) {
        StepSolidLine(reinterpret_cast<QRgb*>(bits), stride / 4, a, b, 0xFF000000u | pen, recording_);
        return;
    }
    if (mode != PenMode::Copy) spoilRecording();  // the pixels would depend on what lies under them
    if (recording_) Extend(recording_->bounds, BoxAround(a, b));
    StepLine(a, b, dashRuns(penStyle_), [&](int x, int y, bool on) {
        if (!on || !OnSurface(x, y)) return;
        QRgb& px = reinterpret_cast<QRgb*>(bits + y * stride)[x];
        px = 0xFF000000u | (applyRasterOp(mode, pen, px & 0xFFFFFF) & 0xFFFFFF);
        if (recording_) recording_->writes.push_back({static_cast<std::uint32_t>(y * (stride / 4) + x), px});
    });
}

void Canvas::replay(const Recording& recording) {
    spoilRecording();  // what it sets is not in a recording under way
    settle(recording.bounds);
    QRgb* const px = reinterpret_cast<QRgb*>(image_.bits());
    for (const PixelWrite& w : recording.writes) px[w.offset] = w.colour;
}

void Canvas::ThinPolylinePixels(const std::vector<QPoint>& points, QRect area,
                                std::vector<std::uint32_t>& offsets, QRect& bounds) {
    offsets.clear();
    bounds = QRect();
    const QRect surface(0, 0, kSurfaceWidth, kSurfaceHeight);
    area = area.isNull() ? surface : area & surface;
    const int stride = kSurfaceWidth;  // RGB32 rows of the surface hold exactly its width
    for (std::size_t i = 1; i < points.size(); ++i) {
        if (points[i - 1] == points[i]) continue;
        StepLine(points[i - 1], points[i], DashRuns{}, [&](int x, int y, bool) {
            if (!area.contains(x, y)) return;
            offsets.push_back(static_cast<std::uint32_t>(y * stride + x));
            Extend(bounds, QRect(x, y, 1, 1));
        });
    }
}

void Canvas::replayPixels(const std::vector<std::uint32_t>& offsets, QRect bounds, QPointF end) {
    penPos_ = end;
    if (penMode_ == PenMode::NoOp || penStyle_ == PenStyle::Clear || offsets.empty()) return;
    spoilRecording();
    settle(bounds);
    const QRgb pen = penColour_.rgb() & 0xFFFFFF;
    QRgb* const px = reinterpret_cast<QRgb*>(image_.bits());
    const PenMode mode = penMode_;
    if (mode == PenMode::Copy) {
        const QRgb colour = 0xFF000000u | pen;
        for (const std::uint32_t o : offsets) px[o] = colour;
        return;
    }
    for (const std::uint32_t o : offsets)
        px[o] = 0xFF000000u | (applyRasterOp(mode, pen, px[o] & 0xFFFFFF) & 0xFFFFFF);
}

void Canvas::thinLineReference(QPoint a, QPoint b) {
    spoilRecording();
    const QRgb pen = penColour_.rgb() & 0xFFFFFF;
    StepLine(a, b, dashRuns(penStyle_), [&](int x, int y, bool on) {
        if (!on || !OnSurface(x, y)) return;
        image_.setPixel(
            x, y, 0xFF000000u | (applyRasterOp(penMode_, pen, image_.pixel(x, y) & 0xFFFFFF) & 0xFFFFFF));
    });
}

void Canvas::lineTo(double x, double y) {
    double x0 = penPos_.x(), y0 = penPos_.y(), x1 = x, y1 = y;
    penPos_ = QPointF(x, y);
    // Nearly every line has both ends inside the clip box: nothing to count or clip then, and a
    // plain conversion truncates toward zero.
    const bool inside = InClipBox(x0, y0) && InClipBox(x1, y1);
    if (!inside) noteOutside({x0, y0, x1, y1});
    if (penMode_ == PenMode::NoOp || penStyle_ == PenStyle::Clear) return;
    QPoint a, b;
    if (inside) {
        a = QPoint(static_cast<int>(x0), static_cast<int>(y0));
        b = QPoint(static_cast<int>(x1), static_cast<int>(y1));
    } else {
        if (!ClipSegment(x0, y0, x1, y1)) return;
        a = QPoint(TruncToPixel(x0), TruncToPixel(y0));
        b = QPoint(TruncToPixel(x1), TruncToPixel(y1));
    }
    if (a == b) return;  // a line of no length sets no pixel
    if (penWidth_ <= 1) {
        if (reference_)
            thinLineReference(a, b);
        else
            thinLine(a, b);
        return;
    }
    wideLine(a, b);
}

void Canvas::lines(const std::vector<ColouredLine>& lines) {
    if (lines.empty()) return;
    // A thin line that sets pixels, with both ends inside the clip box, goes straight to the
    // stepping in its own colour (which applies the pen's style and raster operation); any other
    // line takes the way of lineTo. Solid lines in the copy mode on the surface step through the
    // image found once for all of them.
    const bool direct =
        !reference_ && penWidth_ <= 1 && penMode_ != PenMode::NoOp && penStyle_ != PenStyle::Clear;
    const bool solidCopy = direct && penMode_ == PenMode::Copy && penStyle_ == PenStyle::Solid;
    QRgb* first = nullptr;
    const qsizetype stride = image_.bytesPerLine() / 4;
    for (const ColouredLine& line : lines) {
        if (direct && InClipBox(line.from.x(), line.from.y()) && InClipBox(line.to.x(), line.to.y())) {
            const QPoint a(static_cast<int>(line.from.x()), static_cast<int>(line.from.y()));
            const QPoint b(static_cast<int>(line.to.x()), static_cast<int>(line.to.y()));
            if (a == b) continue;
            if (!solidCopy || !OnSurface(a.x(), a.y()) || !OnSurface(b.x(), b.y())) {
                thinLineIn(a, b, line.colour & 0xFFFFFF);
                first = nullptr;  // the image is found again after anything else drew
                continue;
            }
            settle(BoxAround(a, b));
            if (!first) first = reinterpret_cast<QRgb*>(image_.bits());
            StepSolidLine(first, stride, a, b, 0xFF000000u | line.colour, recording_);
            continue;
        }
        setPenColour(QColor(line.colour));
        moveTo(line.from.x(), line.from.y());
        lineTo(line.to.x(), line.to.y());
        first = nullptr;
    }
    setPenColour(QColor(lines.back().colour));
    penPos_ = lines.back().to;
}

void Canvas::lineToPixel(int x, int y) {
    const QPoint a(static_cast<int>(penPos_.x()), static_cast<int>(penPos_.y())), b(x, y);
    penPos_ = QPointF(x, y);
    if (penMode_ == PenMode::NoOp || penStyle_ == PenStyle::Clear || a == b) return;
    if (penWidth_ <= 1)
        thinLine(a, b);
    else
        wideLine(a, b);
}

// A wide line in the copy mode is drawn from its stamp: the pixels Qt's rasterizer covers for a
// line of this width from one end to the other, found once on a scratch image and then filled
// straight into the surface, clipped to it as the painter clips. The rasterizer works with
// whole-pixel ends here, so a line moved by whole pixels covers the same pixels moved with it:
// stamps are kept by width and by the step from the first end to the second, and the fringe bars,
// the graph curves, the pulse columns and the erase borders all share a few hundred of them.
void Canvas::wideLine(QPoint a, QPoint b) {
    const int w = penWidth_;
    const QPoint step = b - a;
    const int margin = w + 2;
    const qint64 stampArea =
        static_cast<qint64>(std::abs(step.x()) + 2 * margin + 1) * (std::abs(step.y()) + 2 * margin + 1);
    const bool stampable = !reference_ && penMode_ == PenMode::Copy && penColour_.alpha() == 255 && w < 64 &&
                           std::abs(step.x()) < kStampStepLimit && std::abs(step.y()) < kStampStepLimit &&
                           stampArea <= kMaxStampArea;
    spoilRecording();
    settle(BoxAround(a, b).adjusted(-margin, -margin, margin, margin));
    if (!stampable) {
        styledPainter(false).drawLine(a, b);
        donePrimitive();
        return;
    }
    const std::uint64_t key = static_cast<std::uint64_t>(w) << 26 |
                              static_cast<std::uint64_t>(step.x() + kStampStepLimit) << 13 |
                              static_cast<std::uint64_t>(step.y() + kStampStepLimit);
    auto& stamps = cache_.stamps_;
    auto found = stamps.find(key);
    if (found == stamps.end()) {
        if (stamps.size() >= kMaxStamps) stamps.clear();
        found = stamps.emplace(key, StampOf(step, w)).first;
    }
    const QRgb colour = 0xFF000000u | (penColour_.rgb() & 0xFFFFFF);
    uchar* const bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    for (const Span& span : found->second) {
        const int y = a.y() + span.y;
        if (y < 0 || y >= kSurfaceHeight) continue;
        const int x0 = std::max(0, a.x() + span.x0), x1 = std::min(kSurfaceWidth, a.x() + span.x1);
        if (x0 >= x1) continue;
        QRgb* line = reinterpret_cast<QRgb*>(bits + y * stride);
        FillPixels(line + x0, x1 - x0, colour);
    }
}

// The pixels a wide line from (0, 0) to `step` covers, as runs per row: drawn in white on a black
// scratch image just large enough for it, and read back.
std::vector<Canvas::Span> Canvas::StampOf(QPoint step, int width) {
    const int margin = width + 2;
    const QPoint origin(margin - std::min(0, step.x()), margin - std::min(0, step.y()));
    QImage scratch(std::abs(step.x()) + 2 * margin + 1, std::abs(step.y()) + 2 * margin + 1,
                   QImage::Format_RGB32);
    scratch.fill(0xFF000000u);
    {
        QPainter p(&scratch);
        p.setRenderHint(QPainter::Antialiasing, false);
        QPen pen(QColor(Qt::white));
        pen.setWidth(width);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawLine(origin, origin + step);
    }
    std::vector<Span> spans;
    for (int y = 0; y < scratch.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        for (int x = 0; x < scratch.width(); ++x) {
            if (line[x] == 0xFF000000u) continue;
            const int start = x;
            while (x < scratch.width() && line[x] != 0xFF000000u) ++x;
            spans.push_back({y - origin.y(), start - origin.x(), x - origin.x()});
        }
    }
    return spans;
}

namespace {
// The boxes drawn straight into the image: at least 3 x 3 pixels with their outline, and with
// their top left corner on the surface. (Where the painter has to clip an outline at the top or
// left edge, its border can lose a corner pixel; those few boxes go to the painter.)
bool FastBox(QRect outline) {
    return outline.width() > 2 && outline.height() > 2 && outline.left() >= 0 && outline.top() >= 0;
}

// The box handed to Qt's rectangle-like figures: corners truncated, right and bottom edges
// exclusive (a box from (0, 0) to (10, 10) covers pixels 0..9).
bool BoxOf(double left, double top, double right, double bottom, QRect& box) {
    if (!AllFinite({left, top, right, bottom})) return false;
    int l = TruncToPixel(ClampToBox(left, kBoxLeft, kBoxRight)),
        t = TruncToPixel(ClampToBox(top, kBoxTop, kBoxBottom));
    int r = TruncToPixel(ClampToBox(right, kBoxLeft, kBoxRight)),
        b = TruncToPixel(ClampToBox(bottom, kBoxTop, kBoxBottom));
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    if (r - l < 1 || b - t < 1) return false;
    box = QRect(QPoint(l, t), QPoint(r - 1, b - 1));
    return true;
}
}  // namespace

void Canvas::rectangle(double left, double top, double right, double bottom) {
    noteOutside({left, top, right, bottom});
    QRect box;
    if (penMode_ == PenMode::NoOp || !BoxOf(left, top, right, bottom, box)) return;
    // One pixel less each way: a 1-pixel outline then covers left..right-1 and top..bottom-1, and
    // without a pen the fill leaves out the right column and the bottom row as well.
    const QRect r(box.topLeft(), box.size() - QSize(1, 1));
    if (!reference_ && FastBox(box) && drawBox(r, box)) return;
    settle(box.adjusted(-penWidth_ - 2, -penWidth_ - 2, penWidth_ + 2, penWidth_ + 2));
    QPainter& p = styledPainter(true);
    if (penStyle_ == PenStyle::Clear)
        p.fillRect(r, p.brush());
    else
        p.drawRect(r);
    donePrimitive();
}

void Canvas::ellipse(double left, double top, double right, double bottom) {
    noteOutside({left, top, right, bottom});
    QRect box;
    if (penMode_ == PenMode::NoOp || !BoxOf(left, top, right, bottom, box)) return;
    settle(box.adjusted(-penWidth_ - 2, -penWidth_ - 2, penWidth_ + 2, penWidth_ + 2));
    styledPainter(true).drawEllipse(QRect(box.topLeft(), box.size() - QSize(1, 1)));
    donePrimitive();
}

void Canvas::roundRect(double left, double top, double right, double bottom, int cornerW, int cornerH) {
    noteOutside({left, top, right, bottom});
    QRect box;
    if (penMode_ == PenMode::NoOp || !BoxOf(left, top, right, bottom, box)) return;
    settle(box.adjusted(-penWidth_ - 2, -penWidth_ - 2, penWidth_ + 2, penWidth_ + 2));
    styledPainter(true).drawRoundedRect(QRect(box.topLeft(), box.size() - QSize(1, 1)), cornerW / 2.0,
                                        cornerH / 2.0);
    donePrimitive();
}

void Canvas::polygon(const std::vector<QPointF>& corners) {
    if (std::any_of(corners.begin(), corners.end(), [](QPointF c) { return !InClipBox(c.x(), c.y()); }))
        ++outsideCalls_;
    if (penMode_ == PenMode::NoOp || corners.size() < 2) return;
    for (const QPointF& c : corners)
        if (!AllFinite({c.x(), c.y()})) return;  // a figure with a NaN corner is not drawn
    // Truncate first, so that clipping never moves a corner that lies inside the box.
    std::vector<QPointF> pts;
    pts.reserve(corners.size());
    bool inside = true;
    for (const QPointF& c : corners) {
        inside = inside && InClipBox(c.x(), c.y());
        pts.emplace_back(c);
    }
    if (!inside) pts = ClipPolygon(pts);
    if (pts.size() < 2) return;
    for (const QPointF& c : pts)
        if (!InClipBox(c.x(), c.y())) return;  // corners so far apart that their distance overflows
    QPolygon poly;
    for (const QPointF& c : pts) poly << QPoint(TruncToPixel(c.x()), TruncToPixel(c.y()));
    if (!reference_ && poly.size() == 4) {
        // A box with its sides along the axes, as the panels are: the fill covers the pixels
        // whose centres lie inside it, and a pen's border runs on its corners' pixels.
        const QPoint a = poly[0], b = poly[1], c = poly[2], d = poly[3];
        const bool upright = a.x() == b.x() && b.y() == c.y() && c.x() == d.x() && d.y() == a.y();
        const bool flat = a.y() == b.y() && b.x() == c.x() && c.y() == d.y() && d.x() == a.x();
        const QRect box = BoxAround(a, c);
        if ((upright || flat) && FastBox(box) && drawBox(box.adjusted(0, 0, -1, -1), box)) return;
    }
    settle(poly.boundingRect().adjusted(-penWidth_ - 2, -penWidth_ - 2, penWidth_ + 2, penWidth_ + 2));
    styledPainter(true).drawPolygon(poly, Qt::OddEvenFill);
    donePrimitive();
}

void Canvas::fillRect(double left, double top, double right, double bottom) {
    noteOutside({left, top, right, bottom});
    QRect box;
    if (!BoxOf(left, top, right, bottom, box)) return;
    const Qt::BrushStyle bs = QtBrushStyle(brushStyle_);
    if (bs == Qt::NoBrush) return;
    settle(box);
    textPainter().fillRect(box, QBrush(brushColour_, bs));
    donePrimitive();
}

void Canvas::textOut(double x, double y, const QString& text) {
    noteOutside({x, y});
    if (text.isEmpty() || !InClipBox(x, y)) return;
    const QPoint at(TruncToPixel(x), TruncToPixel(y));
    const bool opaqueBox = brushStyle_ == BrushStyle::Solid;
    if (!reference_ && fontColour_.alpha() == 255 && (!opaqueBox || brushColour_.alpha() == 255)) {
        spoilRecording();
        if (const TextStamp* stamp = textStampOf(text)) {
            if (opaqueBox) fillSolid(QRect(at, stamp->box), 0xFF000000u | brushColour_.rgb());
            settle(stamp->bounds.translated(at));  // under the glyphs only; the rest may stay kept
            const QRgb colour = 0xFF000000u | fontColour_.rgb();
            uchar* const bits = image_.bits();
            const qsizetype stride = image_.bytesPerLine();
            for (const Span& span : stamp->spans) {
                const int row = at.y() + span.y;
                if (row < 0 || row >= kSurfaceHeight) continue;
                const int x0 = std::max(0, at.x() + span.x0), x1 = std::min(kSurfaceWidth, at.x() + span.x1);
                if (x0 < x1) FillPixels(reinterpret_cast<QRgb*>(bits + row * stride) + x0, x1 - x0, colour);
            }
            return;
        }
    }
    // Glyphs stay within a font size of their line's box, which runs to the right from `at`.
    const int m = font_.pixelSize();
    settle(QRect(at.x() - m, at.y() - m, kSurfaceWidth + m - at.x(), 3 * m + 2));
    QPainter& p = textPainter();
    const QFontMetrics& fm = metrics();
    // Under a solid brush text sits on an opaque box in the brush colour; under any other brush
    // it is transparent.
    if (opaqueBox) p.fillRect(QRect(at, QSize(fm.horizontalAdvance(text), fm.height())), brushColour_);
    p.drawText(QPoint(at.x(), at.y() + fm.ascent()), text);
    donePrimitive();
}

// The pixels a text sets in the current font, found once by letting the painter write it in white
// on a black scratch image with a margin of a font size all round; null when the text is not
// written in whole pixels of one colour or reaches the margin's edge (then the painter writes it).
const Canvas::TextStamp* Canvas::textStampOf(const QString& text) {
    auto& texts = cache_.texts_;
    const TextKey key{text,           fontFamily_,       font_.pixelSize(), font_.bold(),
                      font_.italic(), font_.underline(), font_.strikeOut()};
    if (const auto found = texts.find(key); found != texts.end())
        return found->second.spans.empty() && !found->second.box.isEmpty() ? nullptr : &found->second;
    const QFontMetrics& fm = metrics();
    const int m = std::max(font_.pixelSize(), 1);
    TextStamp stamp;
    stamp.box = QSize(fm.horizontalAdvance(text), fm.height());
    QImage scratch(stamp.box.width() + 2 * m, stamp.box.height() + 2 * m, QImage::Format_RGB32);
    scratch.fill(0xFF000000u);
    {
        QPainter p(&scratch);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setFont(font_);
        p.setPen(QColor(Qt::white));
        p.drawText(QPoint(m, m + fm.ascent()), text);
    }
    bool whole = true;
    for (int y = 0; y < scratch.height() && whole; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        const bool edgeRow = y == 0 || y == scratch.height() - 1;
        for (int x = 0; x < scratch.width(); ++x) {
            if (line[x] == 0xFF000000u) continue;
            if (line[x] != 0xFFFFFFFFu || edgeRow || x == 0) {
                whole = false;
                break;
            }
            const int start = x;
            while (x < scratch.width() && line[x] == 0xFFFFFFFFu) ++x;
            if (x == scratch.width() || line[x] != 0xFF000000u) {
                whole = false;
                break;
            }
            stamp.spans.push_back({y - m, start - m, x - m});
            Extend(stamp.bounds, QRect(start - m, y - m, x - start, 1));
        }
    }
    if (texts.size() >= kMaxTexts) texts.clear();
    if (!whole) {
        stamp.spans.clear();
        if (stamp.box.isEmpty()) stamp.box = QSize(1, 1);  // remembered as one the painter writes
        texts.emplace(key, std::move(stamp));
        return nullptr;
    }
    return &texts.emplace(key, std::move(stamp)).first->second;
}

void Canvas::settleTiles(QRect area) const {
    const int left = std::max(area.left(), 0), right = std::min(area.right(), kSurfaceWidth - 1);
    const int top = std::max(area.top(), 0), bottom = std::min(area.bottom(), kSurfaceHeight - 1);
    if (left > right || top > bottom) return;
    uchar* const bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    const int lastTx = right / kTile;
    for (int ty = top / kTile; ty <= bottom / kTile; ++ty) {
        QRgb* const row = &tileFill_[static_cast<std::size_t>(ty * kTilesX)];
        const int y0 = ty * kTile, y1 = std::min(y0 + kTile, kSurfaceHeight);
        for (int tx = left / kTile; tx <= lastTx;) {
            const QRgb kept = row[tx];
            if (kept == 0) {
                ++tx;
                continue;
            }
            // Neighbouring tiles kept in the same colour are written as one run per pixel row.
            int end = tx;
            while (end <= lastTx && row[end] == kept) row[end++] = 0;
            pendingTiles_ -= end - tx;
            const int x0 = tx * kTile, x1 = std::min(end * kTile, kSurfaceWidth);
            for (int y = y0; y < y1; ++y)
                FillPixels(reinterpret_cast<QRgb*>(bits + y * stride) + x0, x1 - x0, kept);
            tx = end;
        }
    }
}

void Canvas::settleAll() const { settle(QRect(0, 0, kSurfaceWidth, kSurfaceHeight)); }

void Canvas::fillSolid(QRect area, QRgb colour) {
    const int left = std::max(area.left(), 0), right = std::min(area.right(), kSurfaceWidth - 1);
    const int top = std::max(area.top(), 0), bottom = std::min(area.bottom(), kSurfaceHeight - 1);
    if (left > right || top > bottom) return;
    uchar* bits = nullptr;
    const qsizetype stride = image_.bytesPerLine();
    for (int ty = top / kTile; ty <= bottom / kTile; ++ty) {
        const int tileTop = ty * kTile, tileBottom = std::min(tileTop + kTile, kSurfaceHeight) - 1;
        const int y0 = std::max(top, tileTop), y1 = std::min(bottom, tileBottom);
        for (int tx = left / kTile; tx <= right / kTile; ++tx) {
            const int tileLeft = tx * kTile, tileRight = std::min(tileLeft + kTile, kSurfaceWidth) - 1;
            const int x0 = std::max(left, tileLeft), x1 = std::min(right, tileRight);
            QRgb& kept = tileFill_[static_cast<std::size_t>(ty * kTilesX + tx)];
            if (x0 == tileLeft && x1 == tileRight && y0 == tileTop && y1 == tileBottom) {
                if (kept == 0) ++pendingTiles_;
                kept = colour;
                continue;
            }
            // Part of the tile: its kept fill goes first, then this one's pixels.
            if (kept != 0) settle(QRect(tileLeft, tileTop, 1, 1));
            if (!bits) bits = image_.bits();
            for (int y = y0; y <= y1; ++y)
                FillPixels(reinterpret_cast<QRgb*>(bits + y * stride) + x0, x1 - x0 + 1, colour);
        }
    }
}

const std::array<std::uint8_t, 8>& Canvas::hatchOf(BrushStyle style) {
    const auto i = static_cast<std::size_t>(style);
    auto& hatch = cache_.hatch_;
    auto& hatchKnown = cache_.hatchKnown_;
    if (!hatchKnown[i]) {
        QImage scratch(16, 16, QImage::Format_RGB32);
        scratch.fill(0xFF000000u);
        {
            QPainter p(&scratch);
            p.fillRect(scratch.rect(), QBrush(Qt::white, QtBrushStyle(style)));
        }
        std::array<std::uint8_t, 8> rows{};
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                if (scratch.pixel(x, y) != 0xFF000000u) rows[y] |= static_cast<std::uint8_t>(1u << x);
        // The pattern must repeat every 8 pixels both ways; the painter draws any that does not.
        bool repeats = true;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                repeats =
                    repeats && (scratch.pixel(x, y) != 0xFF000000u) == ((rows[y % 8] >> (x % 8) & 1) != 0);
        hatch[i] = repeats ? rows : std::array<std::uint8_t, 8>{};
        hatchKnown[i] = true;
        cache_.hatchRepeats_[i] = repeats;
    }
    return hatch[i];
}

bool Canvas::drawBox(QRect fill, QRect outline) {
    spoilRecording();
    const bool pen = penStyle_ != PenStyle::Clear;
    if (penMode_ != PenMode::Copy || (pen && (penStyle_ != PenStyle::Solid || penWidth_ > 1)) ||
        (pen && penColour_.alpha() != 255) || brushColour_.alpha() != 255)
        return false;
    if (brushStyle_ != BrushStyle::Solid && brushStyle_ != BrushStyle::Clear) {
        hatchOf(brushStyle_);
        if (!cache_.hatchRepeats_[static_cast<std::size_t>(brushStyle_)]) return false;
    }
    const QRgb penColour = 0xFF000000u | penColour_.rgb();
    const QRgb brushColour = 0xFF000000u | brushColour_.rgb();
    if (pen && brushStyle_ == BrushStyle::Solid && penColour == brushColour) {
        fillSolid(outline, penColour);  // border and inside alike
        return true;
    }
    if (brushStyle_ == BrushStyle::Solid) {
        fillSolid(fill, brushColour);
    } else if (brushStyle_ != BrushStyle::Clear) {
        const QRect area = fill & QRect(0, 0, kSurfaceWidth, kSurfaceHeight);
        settle(area);
        const std::array<std::uint8_t, 8>& rows = cache_.hatch_[static_cast<std::size_t>(brushStyle_)];
        uchar* const bits = image_.bits();
        const qsizetype stride = image_.bytesPerLine();
        for (int y = area.top(); y <= area.bottom(); ++y) {
            const unsigned row = rows[static_cast<std::size_t>(y % 8)];
            QRgb* line = reinterpret_cast<QRgb*>(bits + y * stride);
            if (row == 0xFF) {
                FillPixels(line + area.left(), area.width(), brushColour);
                continue;
            }
            // Each column of the pattern that is set, every 8 pixels along the row.
            for (int bit = 0; bit < 8; ++bit) {
                if (!(row >> bit & 1)) continue;
                for (int x = area.left() + ((bit - area.left() % 8) + 8) % 8; x <= area.right(); x += 8)
                    line[x] = brushColour;
            }
        }
    }
    if (pen) {
        fillSolid(QRect(outline.left(), outline.top(), outline.width(), 1), penColour);
        fillSolid(QRect(outline.left(), outline.bottom(), outline.width(), 1), penColour);
        fillSolid(QRect(outline.left(), outline.top(), 1, outline.height()), penColour);
        fillSolid(QRect(outline.right(), outline.top(), 1, outline.height()), penColour);
    }
    return true;
}

namespace {
// The one surface of the run, made on first use (fonts need the application to exist).
std::unique_ptr<Canvas> surface;
}  // namespace

Canvas& Surface() {
    if (!surface) surface = std::make_unique<Canvas>();
    return *surface;
}

ScopedSurface::ScopedSurface(DrawingPath path) : before_(std::move(surface)) {
    surface = std::make_unique<Canvas>(path);
}

ScopedSurface::~ScopedSurface() { surface = std::move(before_); }

}  // namespace vlab
