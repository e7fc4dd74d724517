#include "shell/scaling.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace vlab {

void DrawScaledImage(QPainter& painter, const QImage& image, double scale, SurfaceFilter filter) {
    const QRectF target(0, 0, image.width() * scale, image.height() * scale);
    switch (filter) {
        case SurfaceFilter::Nearest:
            painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
            painter.drawImage(target, image);
            return;
        case SurfaceFilter::Bilinear:
            painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
            painter.drawImage(target, image);
            return;
        case SurfaceFilter::SharpBlend: painter.drawImage(0, 0, SharpBlendScaled(image, scale)); return;
    }
}

namespace {

// Where screen pixel x of a row (or column) of n lies on the picture.
template <typename Tap>
std::vector<Tap> Taps(int n, int pictureSize, double scale) {
    std::vector<Tap> taps(n);
    for (int x = 0; x < n; ++x) {
        const double from = x / scale, to = (x + 1) / scale;
        const int i = std::min(static_cast<int>(std::floor(from)), pictureSize - 1);
        const double edge = i + 1;
        const int weight = to <= edge || i + 1 >= pictureSize
                               ? 256
                               : static_cast<int>(std::lround(256 * (edge - from) / (to - from)));
        taps[x] = {i, weight};
    }
    return taps;
}

template <typename Tap>
std::vector<int> FirstOnEach(const std::vector<Tap>& taps, int pictureSize) {
    std::vector<int> first(pictureSize + 1, static_cast<int>(taps.size()));
    for (int x = static_cast<int>(taps.size()) - 1; x >= 0; --x) first[taps[x].index] = x;
    for (int i = pictureSize - 1; i >= 0; --i) first[i] = std::min(first[i], first[i + 1]);
    return first;
}

// a * w + b * (256 - w), channel by channel, for 0xFFRRGGBB pixels.
inline QRgb Mix(QRgb a, QRgb b, quint32 w) {
    const quint32 v = 256 - w;
    const quint32 rb = ((a & 0xFF00FF) * w + (b & 0xFF00FF) * v) >> 8 & 0xFF00FF;
    const quint32 g = ((a & 0x00FF00) * w + (b & 0x00FF00) * v) >> 8 & 0x00FF00;
    return 0xFF000000 | rb | g;
}

// The picture's changed parts: bands of rows, each cut in stretches of columns compared row by row.
constexpr int kBandRows = 16;
constexpr int kStretch = 64;

}  // namespace

QImage SharpBlendScaled(const QImage& picture, double scale) {
    SharpBlender blender;
    return blender.Magnify(picture, scale);
}

const QImage& SharpBlender::Magnify(const QImage& picture, double scale) {
    const QImage source =
        picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
    const int width = static_cast<int>(source.width() * scale);
    const int height = static_cast<int>(source.height() * scale);
    if (out_.size() != QSize(width, height)) out_ = QImage(width, height, QImage::Format_RGB32);
    QImage& out = out_;
    if (out.isNull() || source.isNull()) return out;
    columns_ = Taps<Tap>(width, source.width(), scale);
    rows_ = Taps<Tap>(height, source.height(), scale);
    firstColumn_ = FirstOnEach(columns_, source.width());
    firstRow_ = FirstOnEach(rows_, source.height());
    scale_ = scale;
    shown_ = source.copy();
    BlendRect(out.rect());
    return out;
}

QRegion SharpBlender::Update(const QImage& picture, double scale) {
    if (scale != scale_ || picture.size() != shown_.size() || picture.format() != QImage::Format_RGB32 ||
        out_.isNull()) {
        Magnify(picture, scale);
        return QRegion(out_.rect());
    }
    QRegion changed;
    const int width = picture.width(), height = picture.height();
    for (int top = 0; top < height; top += kBandRows) {
        const int bottom = std::min(height, top + kBandRows);
        int runStart = -1;  // the first column of a run of changed stretches
        const int stretches = (width + kStretch - 1) / kStretch;
        for (int k = 0; k <= stretches; ++k) {  // the last one only ends a run at the right edge
            const int left = std::min(width, k * kStretch);
            const int right = std::min(width, left + kStretch);
            bool differs = false;
            for (int y = top; y < bottom && k < stretches && !differs; ++y) {
                const auto* now = reinterpret_cast<const QRgb*>(picture.constScanLine(y)) + left;
                const auto* was = reinterpret_cast<const QRgb*>(shown_.constScanLine(y)) + left;
                differs = !std::equal(now, now + (right - left), was);
            }
            if (differs && runStart < 0) runStart = left;
            if (differs || runStart < 0) continue;
            // A run of changed stretches ends at left: the picture's rectangle and the screen pixels
            // that show any of it (those on its edge share it with the pixel beside).
            const QRect part(QPoint(runStart, top), QPoint(left - 1, bottom - 1));
            for (int y = part.top(); y <= part.bottom(); ++y) {
                const auto* now = reinterpret_cast<const QRgb*>(picture.constScanLine(y)) + part.left();
                std::copy(now, now + part.width(), reinterpret_cast<QRgb*>(shown_.scanLine(y)) + part.left());
            }
            const QRect screen(
                QPoint(firstColumn_[std::max(0, part.left() - 1)], firstRow_[std::max(0, top - 1)]),
                QPoint(firstColumn_[part.right() + 1] - 1, firstRow_[bottom] - 1));
            if (!screen.isEmpty()) {
                BlendRect(screen);
                changed += screen;
            }
            runStart = -1;
        }
    }
    return changed;
}

void SharpBlender::BlendRect(const QRect& screen) {
    const int left = screen.left(), right = screen.right();
    for (int y = screen.top(); y <= screen.bottom(); ++y) {
        const Tap row = rows_[y];
        const auto* upper = reinterpret_cast<const QRgb*>(shown_.constScanLine(row.index));
        const auto* lower =
            row.weight == 256 ? upper : reinterpret_cast<const QRgb*>(shown_.constScanLine(row.index + 1));
        auto* line = reinterpret_cast<QRgb*>(out_.scanLine(y));
        for (int x = left; x <= right; ++x) {
            const Tap c = columns_[x];
            const QRgb a =
                c.weight == 256 ? upper[c.index] : Mix(upper[c.index], upper[c.index + 1], c.weight);
            if (row.weight == 256) {
                line[x] = a;
                continue;
            }
            const QRgb b =
                c.weight == 256 ? lower[c.index] : Mix(lower[c.index], lower[c.index + 1], c.weight);
            line[x] = Mix(a, b, row.weight);
        }
    }
}

}  // namespace vlab
