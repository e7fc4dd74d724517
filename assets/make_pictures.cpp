// Paints the lab's three pictures: the title screen, the vertical title of the lab window and the
// splash collage. Run it from the repository root (or give the output folder as the argument):
//   vlab_make_pictures assets
// It writes title.png (800 x 600), title_vertical.png (70 x 300), splash.png (677 x 472) and
// the program's icon vlab.png (128 x 128).

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

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

// One tile of the collage: a white working area in a pale-rose frame, a sketch and a caption.
void Tile(QPainter& p, const QRectF& r, const QString& caption) {
    p.setPen(Qt::NoPen);
    p.setBrush(kRose);
    p.drawRect(r);
    p.setBrush(QColor(0xC0, 0xFF, 0xC0));
    p.drawRect(r.adjusted(5, 5, -5, -27));
    p.setFont(Face(15, true));
    p.setPen(kMaroon);
    p.drawText(QRectF(r.left(), r.bottom() - 26, r.width(), 24), Qt::AlignCenter, caption);
}

QImage Splash() {
    QImage img(677, 472, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = 677.0 / 4, h = 472.0 / 2;
    const QStringList captions = {QStringLiteral("滑轮"),           QStringLiteral("摩擦力"),
                                  QStringLiteral("弹力位能"),       QStringLiteral("内动能转换"),
                                  QStringLiteral("光的干涉"),       QStringLiteral("电场"),
                                  QStringLiteral("法拉第电磁感应"), QStringLiteral("波的重叠")};
    for (int i = 0; i < 8; ++i) {
        const QRectF r((i % 4) * w + 2, (i / 4) * h + 2, w - 4, h - 4);
        Tile(p, r, captions[i]);
        const QPointF c = r.center() - QPointF(0, 12);
        p.save();
        p.translate(c);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::black, 2));
        switch (i) {
            case 0:  // pulley
                p.drawLine(-50, -80, 50, -80);
                p.drawLine(0, -80, 0, -60);
                p.drawEllipse(QPointF(0, -40), 20, 20);
                p.drawLine(-20, -40, -20, 30);
                p.drawLine(20, -40, 20, 0);
                p.setBrush(Qt::red);
                p.drawRect(QRectF(-35, 30, 30, 30));
                p.setBrush(Qt::blue);
                p.drawRect(QRectF(8, 0, 24, 24));
                break;
            case 1:  // friction: block on a table, pull and friction arrows
                p.drawLine(-70, 30, 70, 30);
                p.setBrush(QColor(0xFF, 0xA0, 0x40));
                p.drawRect(QRectF(-25, -10, 40, 40));
                p.setPen(QPen(Qt::red, 3));
                p.drawLine(QPointF(15, 10), QPointF(60, -15));
                p.drawLine(QPointF(60, -15), QPointF(48, -16));
                p.drawLine(QPointF(60, -15), QPointF(54, -5));
                p.setPen(QPen(Qt::blue, 3));
                p.drawLine(QPointF(-25, 28), QPointF(-60, 28));
                p.drawLine(QPointF(-60, 28), QPointF(-52, 22));
                break;
            case 2: {  // spring energy
                p.drawLine(-70, -40, -70, 40);
                QPainterPath s;
                s.moveTo(-70, 0);
                for (int k = 0; k < 9; ++k) s.lineTo(-62 + k * 8, (k % 2) ? -12 : 12);
                s.lineTo(10, 0);
                p.drawPath(s);
                p.setBrush(QColor(0x80, 0xC0, 0xFF));
                p.drawRect(QRectF(10, -18, 36, 36));
                p.setBrush(Qt::NoBrush);
                p.setPen(QPen(Qt::red, 2));
                SineCurve(p, -70, 70, 60, 14, 70, 0);
                break;
            }
            case 3: {  // collision: two blocks through a spring
                p.drawLine(-75, 30, 75, 30);
                p.setBrush(Qt::red);
                p.drawRect(QRectF(-60, -10, 40, 40));
                p.setBrush(Qt::blue);
                p.drawRect(QRectF(30, 0, 30, 30));
                QPainterPath s;
                s.moveTo(-20, 10);
                for (int k = 0; k < 7; ++k) s.lineTo(-14 + k * 6, (k % 2) ? 4 : 16);
                s.lineTo(30, 10);
                p.setBrush(Qt::NoBrush);
                p.drawPath(s);
                break;
            }
            case 4:  // double slit
                p.drawLine(-50, -70, -50, -10);
                p.drawLine(-50, 0, -50, 10);
                p.drawLine(-50, 20, -50, 70);
                for (int k = 1; k < 7; ++k) {
                    p.setPen(QPen(QColor(0xC0, 0x00, 0xC0), 1));
                    p.drawArc(QRectF(-50 - 14 * k, -5 - 14 * k, 28 * k, 28 * k), -60 * 16, 120 * 16);
                    p.drawArc(QRectF(-50 - 14 * k, 15 - 14 * k, 28 * k, 28 * k), -60 * 16, 120 * 16);
                }
                p.setPen(QPen(Qt::black, 3));
                p.drawLine(70, -70, 70, 70);
                break;
            case 5:  // charges and field lines
                for (int k = 0; k < 12; ++k) {
                    const double a = k * M_PI / 6;
                    p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
                    p.drawLine(QPointF(-35 + 12 * std::cos(a), 12 * std::sin(a)),
                               QPointF(-35 + 45 * std::cos(a), 45 * std::sin(a)));
                    p.drawLine(QPointF(35 + 12 * std::cos(a), 12 * std::sin(a)),
                               QPointF(35 + 45 * std::cos(a), 45 * std::sin(a)));
                }
                p.setPen(Qt::NoPen);
                p.setBrush(Qt::red);
                p.drawEllipse(QPointF(-35, 0), 10, 10);
                p.setBrush(Qt::blue);
                p.drawEllipse(QPointF(35, 0), 10, 10);
                break;
            case 6:  // induction: a loop entering a field of dots
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(0x40, 0x40, 0x40));
                for (int gx = 0; gx < 5; ++gx)
                    for (int gy = 0; gy < 6; ++gy) p.drawEllipse(QPointF(5 + gx * 15, -55 + gy * 20), 3, 3);
                p.setBrush(Qt::NoBrush);
                p.setPen(QPen(QColor(0xC0, 0x60, 0x00), 3));
                p.drawRect(QRectF(-60, -30, 70, 60));
                break;
            case 7:  // two pulses
                p.drawLine(-75, 20, 75, 20);
                p.setPen(QPen(Qt::red, 2));
                SineCurve(p, -60, -20, 20, 35, 80, 0);
                p.setPen(QPen(Qt::blue, 2));
                SineCurve(p, 20, 60, 20, 35, 80, 0);
                break;
        }
        p.restore();
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
    const bool ok = TitlePicture().save(out.filePath(QStringLiteral("title.png"))) &&
                    VerticalTitle().save(out.filePath(QStringLiteral("title_vertical.png"))) &&
                    Splash().save(out.filePath(QStringLiteral("splash.png"))) &&
                    Icon().save(out.filePath(QStringLiteral("vlab.png")));
    return ok ? 0 : 1;
}
