// The canvas's cache and its drawing paths: each memo of the kit lives in the cache of the canvas
// it draws on, the cache's one reset forgets them all, the reference path keeps nothing, and a
// text written in two faces is not mistaken for one.

#include "draw/canvas.h"

#include <QFontInfo>
#include <QtTest>

#include <functional>

#include "draw/shapes.h"
#include "draw/style.h"
#include "kit_test_support.h"

using namespace vlab;
using namespace vlab::test;

namespace {

// Drawings that each leave something in the cache on the fast path.
struct Filling {
    const char* what;
    std::function<void()> draw;
};
const Filling kFillings[] = {
    {"wide line",
     [] {
         SetDrawStyle(2, 4, 0, 0, 2, 12);
         Surface().moveTo(20, 20);
         Surface().lineTo(180, 60);
     }},
    {"text", [] { DrawLabel(40, 100, 12, 5, 1, QStringLiteral("正电荷 F")); }},
    {"hatched box", [] { DrawRect(300, 20, 400, 90, 5, 1, 0, 0, 1, 10); }},
    {"arc", [] { DrawArc(500, 300, 0, 359, 80, 2, 1, 0, 0); }},
    {"arrow", [] { DrawArrow(60, 135, 200, 400, 0, 4, 1, 1, 2); }},
};

QImage DrawEveryFilling() {
    for (const Filling& f : kFillings) f.draw();
    return Surface().image().copy();
}

}  // namespace

class CanvasTest : public QObject {
    Q_OBJECT
private slots:
    void init() { StartClean(); }

    void theOneResetForgetsEveryMemo() {
        const Canvas::Cache& cache = Surface().cache();
        QCOMPARE(cache.size(), std::size_t{0});
        for (const Filling& f : kFillings) {
            const std::size_t before = cache.size();
            f.draw();
            QVERIFY2(cache.size() > before, f.what);
        }
        const QImage first = Surface().image().copy();

        ResetDrawKit();
        QCOMPARE(cache.size(), std::size_t{0});
        QVERIFY(DrawEveryFilling() == first);  // worked out again from nothing

        {
            // The reference path draws the same and keeps nothing.
            const ScopedSurface reference(DrawingPath::Reference);
            QVERIFY(Surface().reference());
            ResetDrawKit();
            QVERIFY(DrawEveryFilling() == first);
            QCOMPARE(Surface().cache().size(), std::size_t{0});
        }
        // The lab's surface is back, with what it kept.
        QVERIFY(!Surface().reference());
        QVERIFY(cache.size() > 0);
        QVERIFY(Surface().image() == first);
    }

    // The same text in the same size and styles, in the lab's face and in another, then in the
    // lab's face again: each must come out as the reference path writes it.
    void facesKeepTheirOwnTextStamps() {
        const QString other = QStringLiteral("DejaVu Sans");
        if (QFontInfo(QFont(other)).family() != other) QSKIP("DejaVu Sans is not installed");
        const auto write = [&] {
            ResetDrawKit();
            DrawLabel(20, 20, 16, 5, 0, QStringLiteral("F = m a"));
            Surface().setFontFamily(other);
            DrawLabel(20, 120, 16, 5, 0, QStringLiteral("F = m a"));
            Surface().setFontFamily(kSongFamily);
            DrawLabel(20, 220, 16, 5, 0, QStringLiteral("F = m a"));
            return Surface().image().copy();
        };
        const QImage fast = write();
        QImage reference;
        {
            const ScopedSurface canvas(DrawingPath::Reference);
            reference = write();
        }
        const QRect song(0, 0, kSurfaceWidth, 100);
        QVERIFY(fast.copy(song) != fast.copy(song.translated(0, 100)));  // the faces differ
        QVERIFY(fast.copy(song) == fast.copy(song.translated(0, 200)));
        QVERIFY(fast == reference);
    }
};

QTEST_MAIN(CanvasTest)
#include "canvas_test.moc"
