#pragma once
// The one drawing surface of the lab: a 700 x 548 RGB32 image with the pen, brush and font that
// every drawing routine sets before it draws. Nothing else paints on the surface.

#include <QColor>
#include <QFont>
#include <QHashFunctions>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <unordered_map>
#include <vector>

class QFontMetrics;
class QPainter;

namespace vlab {

inline constexpr int kSurfaceWidth = 700;
inline constexpr int kSurfaceHeight = 548;

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Clear };
// Raster operations of the pen (and of the brush of filled figures), applied bit by bit to the
// pixel: copy, XOR, AND (mask), leave the pixel (no-op), black, OR (merge), NOT pen AND pixel.
enum class PenMode { Copy, Xor, Mask, NoOp, Black, Merge, MaskPenNot };
enum class BrushStyle { Solid, Cross, Clear, BDiagonal, FDiagonal, DiagCross, Horizontal, Vertical };

// Which way a canvas draws, chosen when it is made. The fast path keeps plain fills per tile,
// writes boxes, thin lines and stamps straight into the image, and lets the routines that draw on
// it reuse what they worked out before (the cache below). The reference path is the
// straightforward one: every primitive opens and closes its own painter, thin lines are set one
// pixel at a time through the image's accessors, and the kit's arc, arrow and label tables and
// the experiments' shortcuts are bypassed. Both give the same pixels; the tests render through
// both.
enum class DrawingPath { Fast, Reference };

// The canvas stands for the toolkit's own drawing canvas, so its members follow QPainter's
// spelling (lineTo, roundRect, textOut) rather than the PascalCase of the lab's own routines.
class Canvas {
public:
    explicit Canvas(DrawingPath path = DrawingPath::Fast);

    // True on the reference path: the routines drawing on this canvas take their straightforward
    // way as well.
    bool reference() const { return reference_; }

    // Reading the image closes the frame's painter and writes out the fills still kept per tile
    // first, so that whoever reads it sees every primitive drawn so far and may paint on a copy.
    QImage& image() {
        endPainting();
        settleAll();
        return image_;
    }
    const QImage& image() const {
        endPainting();
        settleAll();
        return image_;
    }

    // Style state. A clear brush turns solid when its colour is set.
    void setPenColour(QColor c) { penColour_ = c; }
    void setPenWidth(int w) { penWidth_ = w < 0 ? 0 : w; }
    void setPenStyle(PenStyle s) { penStyle_ = s; }
    void setPenMode(PenMode m) { penMode_ = m; }
    void setBrushStyle(BrushStyle s) { brushStyle_ = s; }
    // Setting the colour of a clear brush makes it solid.
    void setBrushColour(QColor c) {
        brushColour_ = c;
        if (brushStyle_ == BrushStyle::Clear) brushStyle_ = BrushStyle::Solid;
    }
    void setFontStyles(bool bold, bool italic, bool underline, bool strikeOut);
    // The lab writes every text in kSongFamily, which reset() sets.
    void setFontFamily(const QString& family);
    void setFontPointSize(int size);
    void setFontColour(QColor c) { fontColour_ = c; }

    QColor penColour() const { return penColour_; }
    int penWidth() const { return penWidth_; }
    PenStyle penStyle() const { return penStyle_; }
    PenMode penMode() const { return penMode_; }
    BrushStyle brushStyle() const { return brushStyle_; }
    QColor brushColour() const { return brushColour_; }
    const QFont& font() const { return font_; }
    int fontPointSize() const { return fontPointSize_; }
    QColor fontColour() const { return fontColour_; }

    // Drawing. Coordinates are doubles, truncated toward zero at the last moment; values that are
    // NaN, infinite or far outside the surface never reach an int conversion (see TruncToPixel).
    void moveTo(double x, double y);
    void lineTo(double x, double y);
    // lineTo for a whole-pixel point within the clip box, from a pen position that is one too
    // (the arcs' inner loop).
    void lineToPixel(int x, int y);
    void rectangle(double left, double top, double right, double bottom);
    void ellipse(double left, double top, double right, double bottom);
    void roundRect(double left, double top, double right, double bottom, int cornerW, int cornerH);
    void polygon(const std::vector<QPointF>& corners);
    void fillRect(double left, double top, double right, double bottom);
    void textOut(double x, double y, const QString& text);

    QPointF penPosition() const { return penPos_; }

    // Lines in the pen's width, style and raster operation, each from its first end to its second
    // in its own colour: what setting each colour and drawing moveTo and lineTo would set, for a
    // fraction of the calls. The pen is left in the last line's colour at its second end.
    struct ColouredLine {
        QPointF from, to;
        QRgb colour;
    };
    void lines(const std::vector<ColouredLine>& lines);

    // Writes the fills kept over `area` into the image now. Before many small figures are drawn
    // across a large area this saves writing them out tile by tile as the figures reach them; the
    // picture is the same either way.
    void writeOutFills(QRect area) { settle(area); }

    // Until it is set back to the null box, the caller promises that whatever is drawn outside
    // `area` is painted over before the picture is read, so a primitive may leave those pixels out
    // (the kit's arcs drawn from their table do; everything else draws them all the same).
    void setVisibleArea(QRect area) { visibleArea_ = area; }
    QRect visibleArea() const { return visibleArea_; }

    // The pixels a thin solid polyline through whole-pixel points inside the clip box sets, as
    // offsets into the image in drawing order (a pixel two segments share comes twice), so that
    // replaying them under any raster operation gives what the lineTo calls would.
    // Only pixels within `area` (the whole surface for a null box) are kept; `bounds` is the
    // smallest box holding them.
    static void ThinPolylinePixels(const std::vector<QPoint>& points, QRect area,
                                   std::vector<std::uint32_t>& offsets, QRect& bounds);
    // Applies the pen colour and raster operation to those pixels, then stands the pen on `end`.
    void replayPixels(const std::vector<std::uint32_t>& offsets, QRect bounds, QPointF end);
    // A figure made of thin solid lines in the copy mode can be recorded: the pixels its lines set,
    // in order and with their colours, so that it can be drawn again from the list. Anything else
    // drawn while recording spoils the recording.
    struct PixelWrite {
        std::uint32_t offset;
        QRgb colour;
    };
    struct Recording {
        std::vector<PixelWrite> writes;
        QRect bounds;
        bool spoilt = false;
    };
    void beginRecording(Recording* into) { recording_ = into; }
    // Stops recording; false when the recording was spoilt.
    bool endRecording() {
        const bool whole = recording_ && !recording_->spoilt;
        recording_ = nullptr;
        return whole;
    }
    void replay(const Recording& recording);

    // Drawing calls handed a coordinate that is NaN, infinite or beyond the clip box, counted since
    // the last reset: a figure that computed such a point lost its place, even though nothing bad
    // reached the image.
    long outsideCalls() const { return outsideCalls_; }
    void resetOutsideCalls() { outsideCalls_ = 0; }

    // Back to the program-start picture and style: white surface, black 1-pixel pen, solid white
    // brush, default font. What the cache keeps stays (Cache::reset forgets it).
    void reset();

    // Closes the painter that the primitives of a frame share (it opens again on the next one).
    void endPainting() const;

    ~Canvas();

private:
    // What the open painter was last given, so that a primitive in the same style as the one
    // before it changes nothing on the painter.
    struct PainterStyle {
        int kind = -1;  // -1: nothing set since the painter opened
        QRgb penColour = 0;
        int penWidth = 0;
        PenStyle penStyle = PenStyle::Solid;
        PenMode penMode = PenMode::Copy;
        BrushStyle brushStyle = BrushStyle::Solid;
        QRgb brushColour = 0;
        bool operator==(const PainterStyle&) const = default;
    };

    QPainter& styledPainter(bool withBrush);
    QPainter& textPainter();
    QPainter& openPainter();
    // With the reference path on, every primitive closes its own painter when it is done.
    void donePrimitive();
    void fontChanged();
    const QFontMetrics& metrics();
    void thinLine(QPoint a, QPoint b) { thinLineIn(a, b, penColour_.rgb() & 0xFFFFFF); }
    // The same in the pen colour `pen` (its low 24 bits).
    void thinLineIn(QPoint a, QPoint b, QRgb pen);
    static void StepSolidLine(QRgb* first, qsizetype stride, QPoint a, QPoint b, QRgb colour, Recording* rec);
    void thinLineReference(QPoint a, QPoint b);
    void wideLine(QPoint a, QPoint b);

    // Plain fills are kept per tile of 16 x 16 pixels until a primitive or a reader needs those
    // pixels: the experiments erase and refill the same areas several times a frame, and so only
    // the last fill of a tile reaches the image. A tile's colour is 0 while its pixels are in the
    // image (every colour kept has its alpha bits set).
    static constexpr int kTile = 16;
    static constexpr int kTilesX = (kSurfaceWidth + kTile - 1) / kTile;
    static constexpr int kTilesY = (kSurfaceHeight + kTile - 1) / kTile;
    mutable std::array<QRgb, kTilesX * kTilesY> tileFill_{};
    mutable int pendingTiles_ = 0;
    // Writes out the kept fills of the tiles that meet `area` (surface pixels; any part of it may
    // lie off the surface), or of every tile.
    void settle(QRect area) const {
        if (pendingTiles_ != 0) settleTiles(area);
    }
    void settleTiles(QRect area) const;
    void settleAll() const;
    // An opaque fill of the part of `area` on the surface.
    void fillSolid(QRect area, QRgb colour);
    // A box drawn straight into the image in the copy mode: `fill` in the brush, then the border
    // of `outline` (when not null) in the pen; false when the brush is one it cannot draw.
    bool drawBox(QRect fill, QRect outline);
    // The hatch pattern of a style (see Cache::hatch_), found on first use.
    const std::array<std::uint8_t, 8>& hatchOf(BrushStyle style);

    // A run of pixels x0 <= x < x1 on row y (relative to a line's first end in a stamp).
    struct Span {
        int y, x0, x1;
    };
    static std::vector<Span> StampOf(QPoint step, int width);
    // Wide-line stamps by width and step between the ends; emptied when full (the experiments
    // need a few hundred). Steps and scratch images are bounded: longer lines go to the painter.
    static constexpr int kStampStepLimit = 4096;
    static constexpr qint64 kMaxStampArea = 1 << 20;
    static constexpr std::size_t kMaxStamps = 20000;

    // Texts already written, by their characters and font: the pixels they set (relative to the
    // top left of their line) and the box an opaque brush puts under them. Labels are written
    // with the same words frame after frame; read-outs change, so the store is emptied when full.
    struct TextKey {
        QString text;
        int family;  // the face, by its number in fontFamilies_
        int pixelSize;
        bool bold, italic, underline, strikeOut;
        bool operator==(const TextKey&) const = default;
    };
    struct TextKeyHash {
        std::size_t operator()(const TextKey& k) const {
            return qHash(k.text) ^ (static_cast<std::size_t>(k.pixelSize) << 4) ^
                   (static_cast<std::size_t>(k.family) << 9) ^
                   (static_cast<std::size_t>(k.bold) | static_cast<std::size_t>(k.italic) << 1 |
                    static_cast<std::size_t>(k.underline) << 2 | static_cast<std::size_t>(k.strikeOut) << 3);
        }
    };
    struct TextStamp {
        std::vector<Span> spans;
        QRect bounds;  // of the spans
        QSize box;
    };
    static constexpr std::size_t kMaxTexts = 4096;

public:
    // What the canvas and the routines drawing on it have worked out once and keep for the
    // frames after: the canvas's wide-line and text stamps and hatch patterns, and one memo per
    // kind that another routine keeps here (the kit's arcs and arrows, an experiment's tables).
    // Nothing in it changes a pixel, only how soon the pixel is drawn; reset() forgets it all.
    class Cache {
    public:
        // A kind of memo kept here for a routine that draws: made on first use, dropped by reset().
        class Memo {
        public:
            virtual ~Memo() = default;
            // How many things it remembers.
            virtual std::size_t size() const = 0;
        };
        // The memo of kind T (a Memo with a default constructor), made on first use. The kinds
        // are few, so they are looked up in a short list; callers look once per call or batch.
        template <typename T>
        T& memo() {
            for (const Slot& slot : memos_)
                if (slot.kind == &kKind<T>) return static_cast<T&>(*slot.memo);
            memos_.push_back({&kKind<T>, std::make_unique<T>()});
            return static_cast<T&>(*memos_.back().memo);
        }
        void reset();
        // Everything remembered: stamps, texts, hatch patterns and what each memo holds.
        std::size_t size() const;

    private:
        friend class Canvas;
        // One tag per kind of memo: its address tells the kinds apart.
        template <typename T>
        static constexpr char kKind = 0;
        struct Slot {
            const char* kind;
            std::unique_ptr<Memo> memo;
        };
        std::vector<Slot> memos_;
        std::unordered_map<std::uint64_t, std::vector<Span>> stamps_;
        std::unordered_map<TextKey, TextStamp, TextKeyHash> texts_;
        // The 8 x 8 pixels a hatched brush sets, row by row, bit x of a row for column x; the
        // pattern repeats from the surface's corner. Found once per style by letting the painter
        // draw it.
        std::array<std::array<std::uint8_t, 8>, 8> hatch_{};
        std::array<bool, 8> hatchKnown_{};
        std::array<bool, 8> hatchRepeats_{};
    };
    Cache& cache() { return cache_; }
    const Cache& cache() const { return cache_; }

private:
    const TextStamp* textStampOf(const QString& text);

    bool reference_;
    Recording* recording_ = nullptr;
    QRect visibleArea_;
    void spoilRecording() {
        if (recording_) recording_->spoilt = true;
    }

    mutable std::unique_ptr<QPainter> painter_;
    PainterStyle applied_;
    int textFontGeneration_ = -1;
    QRgb textColour_ = 0;
    std::unique_ptr<QFontMetrics> metrics_;
    int fontGeneration_ = 0;
    // The font's styles (bit 0 bold, 1 italic, 2 underline, 3 strike-out) and pixel size as last
    // set, so that setting them again asks nothing of the font.
    int fontStyles_ = 0;
    int fontPixelSize_ = 0;
    // Every face this canvas has been given, the lab's own first; a face keeps its number for the
    // canvas's life, so that the text stamps can be told apart by it without comparing names.
    std::vector<QString> fontFamilies_;
    int fontFamily_ = 0;  // font_'s face, by its number there
    void noteOutside(std::initializer_list<double> coordinates);

    // Written through by settle(), which a reader of the const image may need.
    mutable QImage image_;
    QColor penColour_;
    int penWidth_ = 1;
    PenStyle penStyle_ = PenStyle::Solid;
    PenMode penMode_ = PenMode::Copy;
    BrushStyle brushStyle_ = BrushStyle::Solid;
    QColor brushColour_;
    QFont font_;
    int fontPointSize_ = 8;
    QColor fontColour_;
    QPointF penPos_;
    long outsideCalls_ = 0;
    // Last, after the state every primitive reads: placed among it, the cache moved that state
    // apart and made thin lines and fills measurably slower.
    Cache cache_;
};

// The lab's surface (owned here for the whole run; made on first use, on the fast path).
Canvas& Surface();

// Puts a new canvas on `path` in place as the lab's surface for as long as it lives, and the
// surface before it back when it goes (the tests draw the lab through a reference canvas so).
class ScopedSurface {
public:
    explicit ScopedSurface(DrawingPath path);
    ~ScopedSurface();
    ScopedSurface(const ScopedSurface&) = delete;
    ScopedSurface& operator=(const ScopedSurface&) = delete;

private:
    std::unique_ptr<Canvas> before_;
};

// Coordinates farther than this from the surface are clipped before they reach Qt.
inline constexpr double kClipMargin = 10000.0;

// Truncates a coordinate toward zero; the caller guarantees it lies within the clip box.
int TruncToPixel(double v);

// True when the value is finite and lies within the clip box around the surface.
inline bool InClipBox(double x, double y) {
    return x >= -kClipMargin && x <= kSurfaceWidth + kClipMargin && y >= -kClipMargin &&
           y <= kSurfaceHeight + kClipMargin;  // false for NaN; infinities lie outside
}

}  // namespace vlab
