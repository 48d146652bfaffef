// The OK command on a project with three context rows and a library icon,
// beside its floor: copying the launcher alone, in the same run. Prints the
// median and the spread (fastest, slowest) of both and their ratio.
//
//   QT_QPA_PLATFORM=offscreen build/dev/bin/bench_ok_command [runs]
#include "Autostart.h"
#include "FileHelpers.h"
#include "IconChoice.h"
#include "Project.h"
#include "UnattendedMessages.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace velkaro;

namespace {

struct Stats
{
    double median, fastest, slowest;
};

Stats Summarise(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    const size_t n = ms.size();
    const double median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
    return {median, ms.front(), ms.back()};
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 41;
    UnattendedMessages messages;

    QTemporaryDir tmp;
    const QString root = tmp.filePath("cd/");
    QDir().mkpath(root + "start");
    QDir().mkpath(root + "doku");
    const QString launcher = ProgramFolder() + LauncherFileName();
    if (!QFile::exists(launcher)) {
        std::fprintf(stderr, "Pirolo.Exe is missing beside the benchmark (%s)\n",
                     qPrintable(launcher));
        return 1;
    }

    Project project;
    project.TakeCdRoot(root);
    project.AcceptSlotPath(1, root + "start/index.htm");
    project.AcceptSlotPath(2, root + "doku/Handbuch.pdf");
    project.AcceptSlotPath(3, root + "doku/Preisliste.pdf");
    project.AcceptSlotPath(4, root + "doku/Lies mich.txt");
    // Icon 200 of the library, as the library dialog's OK leaves it.
    ApplyLibraryIcon(project, 200);

    std::vector<double> okMs, floorMs;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const AutostartOutcome outcome = WriteAutostart(project);
        okMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (outcome != AutostartOutcome::Completed) {
            std::fprintf(stderr, "the OK command failed\n");
            return 1;
        }
        messages.shown.clear();

        timer.start();
        if (CopyFileAtomically(launcher, tmp.filePath("Pirolo-floor.Exe"))) {
            std::fprintf(stderr, "copying the launcher failed\n");
            return 1;
        }
        floorMs.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    const Stats ok = Summarise(okMs);
    const Stats floor = Summarise(floorMs);
    std::printf("ok_command_ms %.3f %.3f %.3f\n", ok.median, ok.fastest, ok.slowest);
    std::printf("launcher_copy_ms %.3f %.3f %.3f\n", floor.median, floor.fastest, floor.slowest);
    std::printf("ok_ratio %.2f\n", ok.median / floor.median);
    return 0;
}
