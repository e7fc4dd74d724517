// Paints the lab's three pictures: the title screen, the vertical title of the lab window and the
// splash collage. Run it from the repository root (or give the output folder and the folder of the
// experiment snapshots as arguments; scripts/help-pictures does both):
//   vlab_make_pictures assets help/pictures
// It writes title.png (800 x 600), title_vertical.png (70 x 300), splash.png (677 x 472, composed
// from the snapshots) and the program's icon vlab.png (128 x 128).

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdio>

namespace {

const QColor kRose(0xE7, 0xD1, 0xD1);
const QColor kMaroon(0x80, 0x00, 0x00);
const QColor kGold(0xFF, 0xD8, 0x40);
const QString kFace = QStringLiteral("AR PL UMing CN");

QFont Face(int pixels, bool bold = false) {
    QFont f(kFace);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// A caption plate: rounded, lit from above, the text centred.
void Plate(QPainter& p, const QRectF& r, const QString& text, int pixels, const QColor& top,
           const QColor& bottom) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(QPen(QColor(255, 255, 255, 200), 2));
    p.setBrush(g);
    p.drawRoundedRect(r, 10, 10);
    p.setFont(Face(pixels, true));
    p.setPen(QColor(0, 0, 0, 90));
    p.drawText(r.translated(1.5, 1.5), Qt::AlignCenter, text);
    p.setPen(kMaroon);
    p.drawText(r, Qt::AlignCenter, text);
}

void SineCurve(QPainter& p, double x0, double x1, double y, double amp, double wave, double phase) {
    QPainterPath path;
    for (double x = x0; x <= x1; x += 2) {
        const double yy = y - amp * std::sin((x - x0) / wave * 2 * M_PI + phase);
        if (x == x0)
            path.moveTo(x, yy);
        else
            path.lineTo(x, yy);
    }
    p.drawPath(path);
}

QImage TitlePicture() {
    QImage img(800, 600, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 600);
    sky.setColorAt(0, QColor(0x06, 0x12, 0x6E));
    sky.setColorAt(0.6, QColor(0x10, 0x2F, 0xB8));
    sky.setColorAt(1, QColor(0x00, 0x00, 0xFF));
    p.fillRect(img.rect(), sky);

    // Graph paper.
    p.setPen(QPen(QColor(255, 255, 255, 22), 1));
    for (int x = 0; x <= 800; x += 25) p.drawLine(x, 0, x, 600);
    for (int y = 0; y <= 600; y += 25) p.drawLine(0, y, 800, y);

    // Interference rings from two sources.
    p.setBrush(Qt::NoBrush);
    for (int k = 1; k < 16; ++k) {
        p.setPen(QPen(QColor(120, 200, 255, 70 - 4 * k), 2));
        p.drawEllipse(QPointF(110, 470), 22.0 * k, 22.0 * k);
        p.drawEllipse(QPointF(110, 560), 22.0 * k, 22.0 * k);
    }
    // Two pulses meeting.
    p.setPen(QPen(QColor(255, 230, 120, 160), 3));
    SineCurve(p, 40, 760, 120, 14, 180, 0);
    p.setPen(QPen(QColor(255, 160, 160, 140), 2));
    SineCurve(p, 40, 760, 120, 9, 120, 1.2);

    // A pulley with two masses, upper right.
    p.setPen(QPen(QColor(230, 230, 255, 170), 3));
    p.drawEllipse(QPointF(660, 230), 34, 34);
    p.drawEllipse(QPointF(660, 230), 5, 5);
    p.drawLine(QPointF(626, 230), QPointF(626, 330));
    p.drawLine(QPointF(694, 230), QPointF(694, 300));
    p.setBrush(QColor(255, 120, 120, 160));
    p.drawRect(QRectF(610, 330, 32, 32));
    p.setBrush(QColor(120, 220, 140, 160));
    p.drawRect(QRectF(680, 300, 28, 28));
    p.setBrush(Qt::NoBrush);
    // A spring and a block, lower middle.
    QPainterPath spring;
    spring.moveTo(250, 545);
    for (int i = 0; i < 12; ++i) spring.lineTo(262 + i * 12, (i % 2) ? 532 : 558);
    spring.lineTo(410, 545);
    p.setPen(QPen(QColor(255, 255, 255, 150), 2));
    p.drawPath(spring);
    p.drawLine(250, 520, 250, 570);
    p.setBrush(QColor(255, 216, 64, 150));
    p.drawRect(QRectF(410, 525, 44, 40));

    // The title.
    p.setFont(Face(86, true));
    const QRectF titleBox(0, 150, 800, 110);
    p.setPen(QColor(0, 0, 40, 160));
    p.drawText(titleBox.translated(4, 4), Qt::AlignCenter, QStringLiteral("虚拟实验室"));
    p.setPen(kGold);
    p.drawText(titleBox, Qt::AlignCenter, QStringLiteral("虚拟实验室"));
    p.setFont(Face(24));
    p.setPen(QColor(235, 235, 255));
    p.drawText(QRectF(0, 255, 800, 36), Qt::AlignCenter, QStringLiteral("中 学 物 理 · 八 个 动 画 实 验"));

    // The two captions under the hot spots of the title screen. The window stretches the picture
    // from 800 x 600 to 807 x 607, so the spots (338, 305, 135, 51) and (656, 480, 89, 35) of the
    // window lie at these picture coordinates.
    const double sx = 800.0 / 807.0, sy = 600.0 / 607.0;
    const QRectF enter(338 * sx, 305 * sy, 135 * sx, 51 * sy);
    const QRectF leave(656 * sx, 480 * sy, 89 * sx, 35 * sy);
    Plate(p, enter.adjusted(2, 2, -2, -2), QStringLiteral("进入实验室"), 22, QColor(0xFF, 0xF6, 0xC0), kGold);
    Plate(p, leave.adjusted(2, 2, -2, -2), QStringLiteral("离 开"), 18, QColor(0xFF, 0xFF, 0xFF), kRose);
    return img;
}

QImage VerticalTitle() {
    QImage img(70, 300, QImage::Format_RGB32);
    img.fill(QColor(0xFF, 0xFF, 0x00));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kMaroon, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(6, 6, 58, 288), 8, 8);
    p.setFont(Face(38, true));
    const QString chars = QStringLiteral("虚拟实验室");
    for (int i = 0; i < chars.size(); ++i) {
        const QRectF box(6, 16 + i * 54, 58, 50);
        p.setPen(QColor(0xC0, 0x90, 0x00));
        p.drawText(box.translated(2, 2), Qt::AlignCenter, chars.mid(i, 1));
        p.setPen(kMaroon);
        p.drawText(box, Qt::AlignCenter, chars.mid(i, 1));
    }
    return img;
}

// The splash collage: the eight experiments as the lab really draws them, from the snapshots the
// help-page scenarios write (docs/help-pictures), in a 3 x 3 grid around a title plate. Each tile
// shows a part of the 700 x 548 surface, chosen so that the apparatus and its graph are in view,
// with the experiment's button caption under it.
struct SplashTile {
    const char* file;     // snapshot in the pictures folder
    const char* caption;  // the experiment's button caption
    QRect crop;           // part of the surface shown, about 5 : 3 like the tile
};

const SplashTile kSplashTiles[] = {
    {"pulley.png", "滑轮", QRect(0, 0, 700, 415)},
    {"friction_sliding.png", "摩擦力", QRect(0, 0, 700, 415)},
    {"spring_energy.png", "弹力位能a", QRect(0, 0, 700, 415)},
    {"collision.png", "内动能转换", QRect(0, 0, 700, 415)},
    {"interference.png", "光的干涉", QRect(0, 0, 700, 415)},
    {"electric_field_run.png", "电场", QRect(0, 0, 700, 415)},
    {"induction.png", "法拉第b", QRect(0, 0, 700, 415)},
    {"wave_superposition.png", "波的重叠a", QRect(0, 0, 700, 415)},
};

// Draws one tile; a snapshot that cannot be read leaves a plain tile and is reported, so that a
// missing scenario shows in the picture instead of failing the whole set.
bool Tile(QPainter& p, const QRectF& r, const QString& snapshot, const QString& caption, const QRect& crop) {
    p.setPen(Qt::NoPen);
    p.setBrush(kRose);
    p.drawRect(r);
    const QRectF picture = r.adjusted(4, 4, -4, -24);
    const QImage shot(snapshot);
    if (!shot.isNull()) {
        p.drawImage(picture, shot, QRectF(crop));
    } else {
        p.setBrush(Qt::white);
        p.drawRect(picture);
    }
    p.setPen(QPen(kMaroon, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(picture.adjusted(-0.5, -0.5, 0.5, 0.5));
    p.setFont(Face(15, true));
    p.drawText(QRectF(r.left(), r.bottom() - 23, r.width(), 22), Qt::AlignCenter, caption);
    return !shot.isNull();
}

QImage Splash(const QDir& shots, bool& complete) {
    QImage img(677, 472, QImage::Format_RGB32);
    img.fill(kRose);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const double w = 677.0 / 3, h = 472.0 / 3;
    complete = true;
    int next = 0;
    for (int cell = 0; cell < 9; ++cell) {
        const QRectF r((cell % 3) * w + 1, (cell / 3) * h + 1, w - 2, h - 2);
        if (cell == 4) {
            // The middle cell: the lab's name on a plate.
            p.setPen(Qt::NoPen);
            p.setBrush(kRose);
            p.drawRect(r);
            Plate(p, r.adjusted(10, 30, -10, -30), QStringLiteral("虚拟实验室"), 34, QColor(0xFF, 0xF6, 0xC0),
                  kGold);
            continue;
        }
        const SplashTile& t = kSplashTiles[next++];
        const QString file = shots.filePath(QLatin1String(t.file));
        if (!Tile(p, r, file, QString::fromUtf8(t.caption), t.crop)) {
            std::fprintf(stderr, "vlab_make_pictures: no snapshot %s\n", qPrintable(file));
            complete = false;
        }
    }
    return img;
}

// The program's icon: a pulley with two masses on the lab's pale rose, framed in maroon.
QImage Icon() {
    QImage img(128, 128, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kMaroon, 6));
    p.setBrush(kRose);
    p.drawRoundedRect(QRectF(4, 4, 120, 120), 22, 22);
    p.setPen(QPen(Qt::black, 5));
    p.drawLine(24, 22, 104, 22);
    p.drawLine(64, 22, 64, 34);
    p.setBrush(QColor(0xFF, 0xD8, 0x40));
    p.drawEllipse(QPointF(64, 52), 18, 18);
    p.drawLine(46, 52, 46, 84);
    p.drawLine(82, 52, 82, 72);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::red);
    p.drawRect(QRectF(32, 84, 28, 28));
    p.setBrush(Qt::blue);
    p.drawRect(QRectF(70, 72, 24, 24));
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("assets"));
    const QDir shots(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("help/pictures"));
    bool complete = false;
    const QImage splash = Splash(shots, complete);
    const bool ok = TitlePicture().save(out.filePath(QStringLiteral("title.png"))) &&
                    VerticalTitle().save(out.filePath(QStringLiteral("title_vertical.png"))) &&
                    splash.save(out.filePath(QStringLiteral("splash.png"))) &&
                    Icon().save(out.filePath(QStringLiteral("vlab.png")));
    // A collage with a missing snapshot is written (so it can be looked at) but reported as a failure.
    return ok && complete ? 0 : 1;
}
