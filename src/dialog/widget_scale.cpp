#include "dialog/widget_scale.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QLayout>
#include <QPointer>
#include <QProxyStyle>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QStyleFactory>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <map>

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
// The scale and offset the window was last laid out at.
constexpr char kScale[] = "vlabScale";
constexpr char kStyled[] = "vlabScaledStyle";
constexpr char kOffset[] = "vlabOffset";

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
    return ScaledLengths(sheet, length, scale);
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

// The application's style with its sizes (a slider's groove and handle, a scroll bar's width, a
// radio button's circle) at a scale, so that those grow with the texts around them.
class ScaledStyle : public QProxyStyle {
public:
    explicit ScaledStyle(double scale)
        : QProxyStyle(QStyleFactory::create(QApplication::style()->name())), scale_(scale) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        const int normal = QProxyStyle::pixelMetric(metric, option, widget);
        switch (metric) {
            case PM_SliderThickness:
            case PM_SliderLength:
            case PM_SliderControlThickness:
            case PM_SliderTickmarkOffset:
            case PM_ScrollBarExtent:
            case PM_ScrollBarSliderMin:
            case PM_IndicatorWidth:
            case PM_IndicatorHeight:
            case PM_ExclusiveIndicatorWidth:
            case PM_ExclusiveIndicatorHeight: return Scaled(normal, scale_);
            default: return normal;
        }
    }

private:
    double scale_;
};

QStyle* StyleAt(double scale) {
    static std::map<double, QPointer<QStyle>> styles;
    QPointer<QStyle>& style = styles[scale];
    if (!style) {
        style = new ScaledStyle(scale);
        style->setParent(QCoreApplication::instance());  // lives as long as the program
    }
    return style;
}

void ScaleStyle(QWidget* w, double scale) {
    if (scale == 1.0) {
        if (w->property(kStyled).toBool()) w->setStyle(nullptr);
        w->setProperty(kStyled, false);
        return;
    }
    w->setStyle(StyleAt(scale));
    w->setProperty(kStyled, true);
}

}  // namespace

QString ScaledLengths(const QString& text, const QRegularExpression& length, double scale) {
    QString out;
    qsizetype from = 0;
    for (auto m = length.globalMatch(text); m.hasNext();) {
        const auto hit = m.next();
        out += text.mid(from, hit.capturedStart(1) - from);
        out += QString::number(Scaled(hit.captured(1).toInt(), scale));
        from = hit.capturedEnd(1);
    }
    return out + text.mid(from);
}

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
    window->setProperty(kScale, scale);
    window->setProperty(kOffset, offset);
    const QSize fixed = Kept(
        window, kFixedSize, window->minimumSize() == window->maximumSize() ? window->minimumSize() : QSize());
    if (fixed.isValid()) window->setFixedSize(ScaledRect(QRect(QPoint(), fixed), scale).size());
    const QList<QWidget*> widgets = window->findChildren<QWidget*>();
    // Every font is kept before any is scaled: a font of a widget's own may leave its size to its
    // parent (a bold one, say), and would otherwise be kept at the parent's new size.
    for (QWidget* w : widgets) {
        Kept(w, kOwnFont, w->testAttribute(Qt::WA_SetFont));
        Kept(w, kFont, w->font());
    }
    ScaleFont(window, scale, true);
    for (QWidget* w : widgets) {
        if (PlacedByHand(w)) PlaceAtScale(w, Kept(w, kPlace, w->geometry()));
        ScaleFont(w, scale, false);
        ScaleStyle(w, scale);
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

double WidgetScale(const QWidget* window) {
    const QVariant v = window->property(kScale);
    return v.isValid() ? v.toDouble() : 1.0;
}

QSize NormalSize(const QWidget* window) {
    const QVariant v = window->property(kFixedSize);
    return v.isValid() && v.toSize().isValid() ? v.toSize() : window->size();
}

QFont NormalFont(const QWidget* w) {
    const QVariant v = w->property(kFont);
    return v.isValid() ? v.value<QFont>() : w->font();
}

QRect NormalGeometry(const QWidget* w) {
    const QVariant v = w->property(kPlace);
    return v.isValid() ? v.toRect() : w->geometry();
}

namespace {
// Where a place of the normal layout is at the widget's window's present scale (the window's own
// children moved by its offset), kept as the widget's normal place.
QRect Shown(QWidget* w, const QRect& normal) {
    w->setProperty(kPlace, normal);
    const QWidget* window = w->window();
    const QPoint offset = w->parentWidget() == window ? window->property(kOffset).toPoint() : QPoint();
    return ScaledRect(normal, WidgetScale(window), offset);
}
}  // namespace

void PlaceAtScale(QWidget* w, const QRect& normal) { w->setGeometry(Shown(w, normal)); }

void MoveAtScale(QWidget* w, QPoint normalTopLeft) {
    w->move(Shown(w, QRect(normalTopLeft, NormalGeometry(w).size())).topLeft());
}

void AdjustSizeAtScale(QWidget* w) {
    const QRect normal = NormalGeometry(w);
    w->adjustSize();
    // The size at the normal scale that shows at least the new one, so that the text fits again.
    const double scale = WidgetScale(w->window());
    const QSize size(static_cast<int>(std::ceil(w->width() / scale)),
                     static_cast<int>(std::ceil(w->height() / scale)));
    w->setProperty(kPlace, QRect(normal.topLeft(), size));
}

void FixSizeAtScale(QWidget* window, QSize normal) {
    window->setProperty(kFixedSize, normal);
    window->setFixedSize(ScaledRect(QRect(QPoint(), normal), WidgetScale(window)).size());
}

}  // namespace vlab
