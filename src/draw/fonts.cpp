#include "draw/fonts.h"

#include <QFont>

#include <algorithm>
#include <cmath>

namespace vlab {

void InstallFontSubstitutes() { QFont::insertSubstitution(kSongFace, kSongFamily); }

QFont SongFont(int pixels, bool bold) {
    QFont f(kSongFace);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

int PointsToPixels(int points) {
    // Sizes are points at a fixed 96 dpi; a font needs at least one pixel, and nothing the lab
    // writes is taller than the surface.
    const long px = std::lround(points * 96.0 / 72.0);
    return static_cast<int>(std::clamp(px, 1L, 1000L));
}

}  // namespace vlab
