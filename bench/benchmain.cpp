// The main() of every benchmark program: the application its benchmarks need, then Google
// Benchmark. The build picks the application with VANTOR_BENCH_APP_Core, _Gui or _Widgets.
#if defined(VANTOR_BENCH_APP_Widgets)
#include <QApplication>
using Application = QApplication;
#elif defined(VANTOR_BENCH_APP_Gui)
#include <QGuiApplication>
using Application = QGuiApplication;
#else
#include <QCoreApplication>
using Application = QCoreApplication;
#endif

#include <benchmark/benchmark.h>

int main(int argc, char **argv)
{
    // Fonts, painting and windows need a platform plugin, but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Code that logs as it runs (the simulator) would bury the figures.
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        qputenv("QT_LOGGING_RULES", "*.info=false");
    Application app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
