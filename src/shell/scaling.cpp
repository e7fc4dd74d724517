#include "shell/scaling.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QLayout>
#include <QPainter>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <vector>

namespace vlab {

namespace {

// The widget's own values at the normal size, kept as properties of the widget the first time it
// is scaled.
constexpr char kPlace[] = "vlabNormalGeometry";
constexpr char kFont[] = "vlabNormalFont";
constexpr char kOwnFont[] = "vlabNormalOwnFont";
constexpr char kIconSize[] = "vlabNormalIconSize";
constexpr char kStyleSheet[] = "vlabNormalStyleSheet";
constexpr char kScaledContents[] = "vlabNormalScaledContents";
constexpr char kFixedSize[] = "vlabNormalFixedSize";

int Scaled(int v, double scale) { return static_cast<int>(std::lround(v * scale)); }

// A widget whose place is its own, not one its parent's layout or page stack gives it.
bool PlacedByHand(const QWidget* w) {
    const QWidget* parent = w->parentWidget();
    return parent && !parent->layout() && !qobject_cast<const QStackedWidget*>(parent) &&
           !w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_"));
}

template <typename T>
T Kept(QWidget* w, const char* name, const T& now) {
    const QVariant v = w->property(name);
    if (v.isValid()) return v.value<T>();
    w->setProperty(name, QVariant::fromValue(now));
    return now;
}

QString ScaledStyleSheet(const QString& sheet, double scale) {
    static const QRegularExpression length(QStringLiteral("(\\d+)px"));
    QString out;
    qsizetype from = 0;
    auto m = length.globalMatch(sheet);
    while (m.hasNext()) {
        const auto hit = m.next();
        out += sheet.mid(from, hit.capturedStart() - from);
        out += QString::number(Scaled(hit.captured(1).toInt(), scale)) + QStringLiteral("px");
        from = hit.capturedEnd();
    }
    return out + sheet.mid(from);
}

void ScaleFont(QWidget* w, double scale, bool isWindow) {
    const bool own = Kept(w, kOwnFont, w->testAttribute(Qt::WA_SetFont));
    if (!own && !isWindow) return;  // inherits its window's font, which is scaled
    const QFont normal = Kept(w, kFont, w->font());
    if (scale == 1.0) {
        w->setFont(own ? normal : QFont());
        return;
    }
    QFont f = normal;
    if (normal.pixelSize() > 0)
        f.setPixelSize(std::max(1, Scaled(normal.pixelSize(), scale)));
    else
        f.setPointSizeF(normal.pointSizeF() * scale);
    w->setFont(f);
}

}  // namespace

double FitScale(QSize window, QSize area) {
    if (window.isEmpty() || area.isEmpty()) return 1.0;
    return std::min(double(area.width()) / window.width(), double(area.height()) / window.height());
}

QRect ScaledRect(const QRect& normal, double scale, QPoint offset) {
    const int left = Scaled(normal.left(), scale), top = Scaled(normal.top(), scale);
    const int right = Scaled(normal.left() + normal.width(), scale);
    const int bottom = Scaled(normal.top() + normal.height(), scale);
    return QRect(left + offset.x(), top + offset.y(), right - left, bottom - top);
}

void ScaleWidgets(QWidget* window, double scale, QPoint offset) {
    const QSize fixed = Kept(
        window, kFixedSize, window->minimumSize() == window->maximumSize() ? window->minimumSize() : QSize());
    if (fixed.isValid()) window->setFixedSize(ScaledRect(QRect(QPoint(), fixed), scale).size());
    ScaleFont(window, scale, true);
    const QList<QWidget*> widgets = window->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        if (PlacedByHand(w)) {
            const QRect normal = Kept(w, kPlace, w->geometry());
            // Only the window's own children move with the offset; theirs move with them.
            w->setGeometry(ScaledRect(normal, scale, w->parentWidget() == window ? offset : QPoint()));
        }
        ScaleFont(w, scale, false);
        const QString sheet = Kept(w, kStyleSheet, w->styleSheet());
        if (!sheet.isEmpty()) w->setStyleSheet(scale == 1.0 ? sheet : ScaledStyleSheet(sheet, scale));
        if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->icon().isNull()) {
            const QSize icon = Kept(w, kIconSize, b->iconSize());
            b->setIconSize(ScaledRect(QRect(QPoint(), icon), scale).size());
        }
        if (auto* l = qobject_cast<QLabel*>(w); l && !l->pixmap().isNull()) {
            const bool scaledContents = Kept(w, kScaledContents, l->hasScaledContents());
            l->setScaledContents(scale == 1.0 ? scaledContents : true);
        }
    }
    // The layouts Qt keeps inside controls (a tab control's bar and pages) follow the new sizes
    // now, not at the next turn of the event loop, so a picture taken at once shows them in place.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

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
