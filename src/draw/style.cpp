#include "draw/style.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>
#include <cmath>

#include "draw/canvas.h"

namespace vlab {

namespace {

// Codes 0 to 21. Codes 0 to 10 and 12 are also the font palette.
constexpr std::array<QRgb, 22> kCodeColours = {
    0xFF0000, 0x808080, 0x0000FF, 0x808000, 0x800080, 0x000000, 0xC0C0C0, 0x00FFFF,
    0x808080, 0xFFFF00, 0x008000, 0xD8E4F8, 0xFFFFFF, 0xE7D1D1, 0xF9EBBE, 0x72DD7A,
    0xA6DDA5, 0xDD96D9, 0xDD885E, 0xD6DD0C, 0xFCCEA7, 0xFD9C03,
};

// Font style codes 0 to 15: bold, italic, underline, strike-out.
struct FontStyles {
    bool bold, italic, underline, strikeOut;
};
constexpr std::array<FontStyles, 16> kFontStyles = {{
    {false, false, false, false},
    {true, false, false, false},
    {false, true, false, false},
    {true, true, false, false},
    {false, false, true, false},
    {false, false, false, true},
    {false, false, true, true},
    {true, false, true, false},
    {false, true, true, false},
    {true, true, true, false},
    {true, false, false, true},
    {false, true, false, true},
    {true, true, false, true},
    {true, false, true, true},
    {false, true, true, true},
    {true, true, true, true},
}};

// The text colour of inactive window captions on this desktop.
QColor SystemInactiveCaptionText() {
    if (qGuiApp) return QGuiApplication::palette().color(QPalette::Inactive, QPalette::WindowText);
    return QColor(Qt::black);
}

}  // namespace

namespace {
// The same colours made once: styles are set many thousand times a frame.
const std::array<QColor, kCodeColours.size()> kCodeQColours = [] {
    std::array<QColor, kCodeColours.size()> colours;
    for (std::size_t i = 0; i < colours.size(); ++i) colours[i] = QColor(kCodeColours[i]);
    return colours;
}();
}  // namespace

QColor ColourOfCode(int code) {
    if (code >= 0 && code < static_cast<int>(kCodeColours.size())) return kCodeQColours[code];
    // Codes outside the vocabulary (22 to 98 and negative ones, which only the friction graph
    // reaches, one per run) each get a fixed colour of their own: hues a golden angle apart, so
    // neighbouring runs differ clearly, kept dark enough to read on white.
    const double hue = std::fmod(std::fabs(static_cast<double>(code)) * 137.508, 360.0);
    const int lightness = code < 0 ? 90 : 110 + (std::abs(code) % 3) * 15;
    return QColor::fromHsl(static_cast<int>(hue), 200, lightness);
}

QColor FontColourOfIndex(int index) {
    if (index == 11) return SystemInactiveCaptionText();
    if (index >= 0 && index <= 12) return kCodeQColours[index];
    return QColor();  // no such entry: the caller leaves the colour as it is
}

namespace {
// The colour of a code, read from the table where it stands there (a colour handed back by value
// and read again at once stalls the processor, and styles are set many thousand times a frame).
const QColor& CodeColour(int code, QColor& made) {
    if (code >= 0 && code < static_cast<int>(kCodeQColours.size())) return kCodeQColours[code];
    made = ColourOfCode(code);
    return made;
}
}  // namespace

void SetDrawStyle(int penColour, int penWidth, int penStyle, int penMode, int brushStyle, int brushColour) {
    Canvas& c = Surface();
    QColor made;
    if (penColour < kKeepColour) c.setPenColour(CodeColour(penColour, made));
    c.setPenWidth(penWidth);
    if (penStyle >= 0 && penStyle <= 5) c.setPenStyle(static_cast<PenStyle>(penStyle));
    if (penMode >= 0 && penMode <= 6) c.setPenMode(static_cast<PenMode>(penMode));
    if (brushStyle >= 0 && brushStyle <= 7) c.setBrushStyle(static_cast<BrushStyle>(brushStyle));
    // Setting the colour of a clear brush makes it solid.
    if (brushColour < kKeepColour) c.setBrushColour(CodeColour(brushColour, made));
}

void SetFont(int styleCode, int size, int colourIndex) {
    Canvas& c = Surface();
    if (styleCode >= 0 && styleCode <= 15) {
        const FontStyles& s = kFontStyles[styleCode];
        c.setFontStyles(s.bold, s.italic, s.underline, s.strikeOut);
    }
    c.setFontPointSize(size);
    const QColor colour = FontColourOfIndex(colourIndex);
    if (colour.isValid()) c.setFontColour(colour);
}

}  // namespace vlab
