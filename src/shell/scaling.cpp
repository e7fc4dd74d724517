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
        case SurfaceFilter::SharpBlend: {
            const int whole = std::max(1, static_cast<int>(std::ceil(scale - 1e-9)));
            if (whole == scale) {
                painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
                painter.drawImage(target, image);
                return;
            }
            const QImage big = image.scaled(image.width() * whole, image.height() * whole,
                                            Qt::IgnoreAspectRatio, Qt::FastTransformation);
            painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
            painter.drawImage(target, big);
            return;
        }
    }
}

}  // namespace vlab
