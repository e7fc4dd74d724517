// The surface magnified for a large screen: each filter at 1.5x and 2x on a real frame (pictures
// in test-pictures/scaled_surface/ to look at), and what the chosen filter keeps that the others
// lose: even 1-pixel lines at a fractional scale, few blended pixels, exact squares at 2x. Also the
// layout rule that scaled widgets which touch still touch.

#include "shell/scaling.h"

#include <QDir>
#include <QPainter>
#include <QtTest>

#include <algorithm>

#include "draw/canvas.h"
#include "draw/fonts.h"
#include "experiments/spring_energy.h"
#include "lab/lab_state.h"
#include "registry/registry.h"
#include "shell/lab_window.h"

using namespace vlab;

namespace {

QImage Magnified(const QImage& image, double scale, SurfaceFilter filter) {
    QImage out(static_cast<int>(image.width() * scale), static_cast<int>(image.height() * scale),
               QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    DrawScaledImage(p, image, scale, filter);
    return out;
}

// A white picture with 1-pixel black columns at every third x: at 1.5x their places fall on whole
// and half pixels in turn.
QImage Columns() {
    QImage image(64, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int x = 2; x < 62; x += 3)
        for (int y = 0; y < 8; ++y) image.setPixel(x, y, 0xFF000000);
    return image;
}

// The ink of each column in a scaled row: the darkness summed over its neighbourhood, in pixels of
// full black. Even lines have equal ink.
QList<double> Ink(const QImage& scaled, double scale) {
    QList<double> ink;
    const int y = scaled.height() / 2;
    for (int column = 2; column < 62; column += 3) {
        double sum = 0;
        for (int x = static_cast<int>((column - 1.5) * scale); x < static_cast<int>((column + 2.5) * scale);
             ++x)
            sum += (255 - qRed(scaled.pixel(x, y))) / 255.0;
        ink << sum;
    }
    return ink;
}

double Spread(const QList<double>& v) {
    return *std::max_element(v.begin(), v.end()) - *std::min_element(v.begin(), v.end());
}

// The share of pixels whose colour is not one of the source picture's.
double Blended(const QImage& source, const QImage& scaled) {
    QSet<QRgb> palette;
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x) palette.insert(source.pixel(x, y));
    int n = 0;
    for (int y = 0; y < scaled.height(); ++y)
        for (int x = 0; x < scaled.width(); ++x) n += !palette.contains(scaled.pixel(x, y));
    return double(n) / (scaled.width() * scaled.height());
}

const std::pair<SurfaceFilter, const char*> kFilters[] = {{SurfaceFilter::Nearest, "nearest"},
                                                          {SurfaceFilter::Bilinear, "bilinear"},
                                                          {SurfaceFilter::SharpBlend, "sharp_blend"}};

}  // namespace

class ScalingTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallFontSubstitutes(); }

    // The spring's set-up frame at 1.5x and 2x with each filter, written for looking at, with the
    // blended share of each printed beside it.
    void framesWithEachFilter() {
        ResetProgramState();
        SpringEnergyReset();
        SpringEnergyStep();
        const QImage frame = Surface().image().convertToFormat(QImage::Format_RGB32);
        const QString folder = QStringLiteral(VLAB_TEST_PICTURES "/scaled_surface");
        QVERIFY(QDir().mkpath(folder));
        for (double scale : {1.5, 2.0})
            for (const auto& [filter, name] : kFilters) {
                const QImage big = Magnified(frame, scale, filter);
                QVERIFY(big.copy(0, 0, 420, 300)
                            .save(QStringLiteral("%1/spring_%2_%3.png")
                                      .arg(folder)
                                      .arg(scale)
                                      .arg(QLatin1String(name))));
                qInfo("%s at %.1fx: %.1f %% blended pixels", name, scale, 100 * Blended(frame, big));
            }
    }

    void chosenFilterKeepsLinesEvenAndSharp() {
        const QImage columns = Columns();
        // At 1.5x nearest makes some 1-pixel lines one pixel wide and others two.
        const QList<double> nearest = Ink(Magnified(columns, 1.5, SurfaceFilter::Nearest), 1.5);
        QVERIFY(Spread(nearest) >= 0.99);
        // The chosen filter gives every line the same ink, 1.5 pixels of black, as a blend does.
        const QList<double> chosen = Ink(Magnified(columns, 1.5, SurfaceView::kFilter), 1.5);
        QVERIFY2(Spread(chosen) < 0.05, qPrintable(QString::number(Spread(chosen))));
        for (double ink : chosen) QVERIFY(std::abs(ink - 1.5) < 0.05);
        // ... with far fewer blended pixels than a blend of the whole picture.
        const double sharp = Blended(columns, Magnified(columns, 1.5, SurfaceView::kFilter));
        const double smooth = Blended(columns, Magnified(columns, 1.5, SurfaceFilter::Bilinear));
        QVERIFY2(sharp < 0.6 * smooth, qPrintable(QStringLiteral("%1 vs %2").arg(sharp).arg(smooth)));
        // At a whole scale every surface pixel is an exact square.
        QCOMPARE(Magnified(columns, 2, SurfaceView::kFilter), Magnified(columns, 2, SurfaceFilter::Nearest));
        QCOMPARE(Blended(columns, Magnified(columns, 2, SurfaceView::kFilter)), 0.0);
    }

    // The surface view blends again only what changed: after each change the picture it shows is
    // the whole magnification of the new frame, and the region it repaints covers every screen
    // pixel that changed.
    void updatesOnlyWhatChangedAndGivesTheWholePicture() {
        ResetProgramState();
        SpringEnergyReset();
        QList<QImage> frames;
        for (int tick = 0; tick < 40; ++tick) {
            SpringEnergyStep();
            if (tick % 8 == 0) frames << Surface().image().convertToFormat(QImage::Format_RGB32);
        }
        // Single pixels at the corners, on the edges of the comparison's bands and stretches, and a
        // frame that changes everywhere.
        QImage corners = frames.last();
        for (const QPoint& at : {QPoint(0, 0), QPoint(699, 547), QPoint(63, 15), QPoint(64, 16),
                                 QPoint(699, 0), QPoint(0, 547), QPoint(640, 530)})
            corners.setPixel(at, 0xFF123456);
        QImage inverted = corners;
        inverted.invertPixels();
        frames << corners << inverted << frames.first();
        for (double scale : {1.25, 1.5, 1.8, 2.0, 2.4366}) {
            SharpBlender blender;
            QImage before = blender.Magnify(frames.first(), scale).copy();
            QCOMPARE(blender.Update(frames.first(), scale), QRegion());
            for (qsizetype i = 1; i < frames.size(); ++i) {
                const QRegion repainted = blender.Update(frames[i], scale);
                const QImage& now = blender.Image();
                QCOMPARE(now, SharpBlendScaled(frames[i], scale));
                for (int y = 0; y < now.height(); ++y)
                    for (int x = 0; x < now.width(); ++x)
                        if (now.pixel(x, y) != before.pixel(x, y) && !repainted.contains(QPoint(x, y)))
                            QFAIL(qPrintable(QStringLiteral("%1x, frame %2: (%3, %4) changed, not repainted")
                                                 .arg(scale)
                                                 .arg(i)
                                                 .arg(x)
                                                 .arg(y)));
                before = now.copy();
            }
            // A change of scale is the whole picture again.
            const QRegion whole = blender.Update(frames.last(), scale + 0.1);
            QCOMPARE(whole.boundingRect(), blender.Image().rect());
        }
    }

    void scaledEdgesStayTogether() {
        // Two widgets side by side, and a third below: at any scale they still meet.
        const QRect a(704, 368, 81, 225), b(785, 368, 3, 225), c(704, 593, 81, 7);
        for (double s : {1.0, 1.1, 1.5, 1.8, 2.0, 2.4366}) {
            QCOMPARE(ScaledRect(a, s).right() + 1, ScaledRect(b, s).left());
            QCOMPARE(ScaledRect(a, s).bottom() + 1, ScaledRect(c, s).top());
        }
        QCOMPARE(ScaledRect(QRect(0, 0, 700, 548), 1.8, QPoint(6, 0)), QRect(6, 0, 1260, 986));
        QCOMPARE(FitScale(QSize(788, 600), QSize(1920, 1080)), 1.8);
        QCOMPARE(FitScale(QSize(788, 600), QSize(1280, 1024)), 1280 / 788.0);
    }
};

QTEST_MAIN(ScalingTest)
#include "scaling_test.moc"
