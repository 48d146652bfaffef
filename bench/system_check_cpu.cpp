// How much processor time the System-Check costs while it waits.
//
// Measures the process's CPU time (user + system, getrusage) over the
// 3.9 s of the System-Check, beside two references measured in the same run:
// an idle event loop for the same time (the floor) and a loop that only
// polls for events, as a busy wait would (the ceiling). Prints the median of
// several runs as percent of one core.
//
//   QT_QPA_PLATFORM=offscreen build/dev/bin/bench_system_check_cpu [runs]

#include "ProgressbarModule.h"
#include "SystemCheck.h"
#include "UnattendedMessages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <vector>

using namespace velkaro;

namespace {

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Sample
{
    double cpuPercent;
    double wallSeconds;
};

Sample Measure(const std::function<void()>& work)
{
    QElapsedTimer wall;
    const double cpuBefore = CpuSeconds();
    wall.start();
    work();
    const double wallSeconds = double(wall.nsecsElapsed()) / 1e9;
    const double cpu = CpuSeconds() - cpuBefore;
    return {100.0 * cpu / wallSeconds, wallSeconds};
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void IdleLoop(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

void BusyLoop(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    UnattendedMessages messages; // the closing message would wait for a click
    TimedWait wait;

    std::vector<double> idle, check, busy, checkWall;
    for (int i = 0; i < runs; ++i) {
        idle.push_back(Measure([] { IdleLoop(3900); }).cpuPercent);
        const Sample s = Measure([&wait] { RunSystemCheck(wait); });
        check.push_back(s.cpuPercent);
        checkWall.push_back(s.wallSeconds);
        busy.push_back(Measure([] { BusyLoop(1000); }).cpuPercent);
    }

    std::printf("runs: %d (platform %s)\n", runs, qPrintable(QGuiApplication::platformName()));
    std::printf("%-36s %8s\n", "median CPU, % of one core", "");
    std::printf("%-36s %7.2f %%\n", "idle event loop, 3.9 s (floor)", Median(idle));
    std::printf("%-36s %7.2f %%  (wall %.3f s)\n", "System-Check", Median(check),
                Median(checkWall));
    std::printf("%-36s %7.2f %%\n", "polling loop, 1 s (busy wait)", Median(busy));
    return 0;
}
