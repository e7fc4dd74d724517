// The benchmarks' main: fonts need an application, which needs no screen.

#include <QGuiApplication>

#include <benchmark/benchmark.h>
#include <cstdlib>

#include "draw/fonts.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    vlab::InstallFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
