// The tick rate Qt's precise timer delivers at the 1 ms speed-bar setting with nothing to do: a
// window of the surface's size on show and a 1 ms precise timer whose ticks are only counted. It
// is the ceiling of what any experiment can receive in real time on this machine.
//
//     timer_alone [MS]      prints the ticks per second over MS milliseconds (2000 by default)

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int window = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 2000;
    QWidget shown;
    shown.resize(700, 548);
    shown.show();
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(1);
    long ticks = 0;
    QElapsedTimer clock;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    // Half a second for the window to come up, then the window of time that is counted.
    QTimer::singleShot(500, [&] {
        clock.start();
        timer.start();
        QTimer::singleShot(window, [&] {
            std::printf("%.0f\n", ticks * 1000.0 / static_cast<double>(clock.elapsed()));
            app.quit();
        });
    });
    return app.exec();
}
