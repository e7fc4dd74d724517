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

// Where screen pixel X of a row (or column) of n lies on the picture: the picture pixel under its
// left edge and the share of the screen pixel it covers, in 256ths; the rest is the next pixel's.
struct Tap {
    int index;
    int weight;
};

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

// a * w + b * (256 - w), channel by channel, for 0xFFRRGGBB pixels.
inline QRgb Mix(QRgb a, QRgb b, quint32 w) {
    const quint32 v = 256 - w;
    const quint32 rb = ((a & 0xFF00FF) * w + (b & 0xFF00FF) * v) >> 8 & 0xFF00FF;
    const quint32 g = ((a & 0x00FF00) * w + (b & 0x00FF00) * v) >> 8 & 0x00FF00;
    return 0xFF000000 | rb | g;
}

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
    const std::vector<Tap> columns = Taps(width, source.width(), scale);
    const std::vector<Tap> rows = Taps(height, source.height(), scale);
    // Each picture row widened once; screen rows are copies of them or mixes of two.
    std::vector<QRgb>& wide = wide_;
    wide.resize(std::size_t(width) * source.height());
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        QRgb* line = wide.data() + std::size_t(y) * width;
        for (int x = 0; x < width; ++x) {
            const Tap c = columns[x];
            line[x] = c.weight == 256 ? in[c.index] : Mix(in[c.index], in[c.index + 1], c.weight);
        }
    }
    for (int y = 0; y < height; ++y) {
        const Tap row = rows[y];
        const QRgb* upper = wide.data() + std::size_t(row.index) * width;
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        if (row.weight == 256) {
            std::copy(upper, upper + width, line);
            continue;
        }
        const QRgb* lower = upper + width;
        for (int x = 0; x < width; ++x) line[x] = Mix(upper[x], lower[x], row.weight);
    }
    return out;
}

}  // namespace vlab
