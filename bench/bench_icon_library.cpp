// Opening the icon library dialog, against an empty dialog of the same size
// shown in the same run, and what the library adds to the program's memory.
//
//   build/dev/bench/bench_icon_library [runs]
//   build/dev/bench/bench_icon_library --show SECONDS   (for screenshots)
//
// Run it on a real display or under Xvfb (xvfb-run -a ...); the offscreen
// platform paints too, but no display server takes part.

#include "IconLibrary.h"
#include "Project.h"
#include "SelIconDialog.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace velkaro;

namespace {

struct Memory
{
    double resident = -1;  // MB in all
    double privateMb = -1; // MB of it that the program itself allocated
};

// Resident memory from /proc (Linux); -1 elsewhere. File-backed pages, such
// as the library mapped in place from the program file, count in resident
// memory but are shared and can be dropped by the system at any time.
Memory MemoryNow()
{
    Memory memory;
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return memory;
    for (const QByteArray& line : status.readAll().split('\n')) {
        const double mb =
            line.mid(line.indexOf(':') + 1).trimmed().split(' ').first().toDouble() / 1024.0;
        if (line.startsWith("VmRSS:"))
            memory.resident = mb;
        else if (line.startsWith("RssAnon:"))
            memory.privateMb = mb;
    }
    return memory;
}

// Notes when a widget has been painted.
class PaintWatch : public QObject
{
public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

// Shows the window that make() builds and waits until paintTarget(window)
// has been painted; returns the milliseconds from the start of make().
double TimeOpening(const std::function<QDialog*()>& make,
                   const std::function<QWidget*(QDialog*)>& paintTarget)
{
    QElapsedTimer timer;
    timer.start();
    QDialog* dialog = make();
    PaintWatch watch;
    paintTarget(dialog)->installEventFilter(&watch);
    dialog->show();
    while (!watch.painted && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    dialog->close();
    delete dialog;
    QCoreApplication::processEvents();
    return ms;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

QDialog* EmptyDialog()
{
    auto* dialog = new QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    dialog->setFixedSize(547, 389);
    CenterFormOnScreen(dialog);
    return dialog;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Project project;
    if (argc > 2 && QByteArray(argv[1]) == "--show") {
        // The dialog as the user opens it, closed again after a while.
        QTimer::singleShot(std::atoi(argv[2]) * 1000, [] {
            if (QWidget* dialog = QApplication::activeModalWidget())
                dialog->close();
        });
        ShowIconLibrary(project);
        return 0;
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;

    auto library = [&project] {
        auto* dialog = new SelIconDialog(project);
        dialog->Form_Load();
        CenterFormOnScreen(dialog);
        return static_cast<QDialog*>(dialog);
    };
    auto listViewport = [](QDialog* d) {
        return static_cast<QWidget*>(static_cast<SelIconDialog*>(d)->IconListView->viewport());
    };
    auto itself = [](QDialog* d) { return static_cast<QWidget*>(d); };

    // Warm up the toolkit (style, fonts, platform window) with the baseline.
    TimeOpening(EmptyDialog, itself);
    const Memory before = MemoryNow();
    QElapsedTimer loadTimer;
    loadTimer.start();
    const int count = IconLibrary::instance().count();
    const double loadMs = static_cast<double>(loadTimer.nsecsElapsed()) / 1e6;
    const Memory afterLoad = MemoryNow();
    const double firstOpening = TimeOpening(library, listViewport);
    const Memory afterFirst = MemoryNow();

    std::vector<double> empty, full;
    for (int i = 0; i < runs; ++i) {
        empty.push_back(TimeOpening(EmptyDialog, itself));
        full.push_back(TimeOpening(library, listViewport));
    }
    const Memory afterRuns = MemoryNow();

    std::printf("platform: %s, %d icons, %d runs\n", qPrintable(QGuiApplication::platformName()),
                count, runs);
    std::printf("reading and decoding the library once: %.1f ms\n", loadMs);
    std::printf("first opening (icons made for the view): %.1f ms\n", firstOpening);
    std::printf("median opening to a painted list: %.1f ms (min %.1f, max %.1f)\n", Median(full),
                *std::min_element(full.begin(), full.end()),
                *std::max_element(full.begin(), full.end()));
    std::printf("median empty dialog of the same size: %.1f ms\n", Median(empty));
    std::printf("ratio library / empty: %.2f\n", Median(full) / std::max(0.001, Median(empty)));
    if (before.resident >= 0) {
        auto show = [&](const char* when, const Memory& m) {
            std::printf("  %-32s +%5.1f MB resident, +%5.1f MB private\n", when,
                        m.resident - before.resident, m.privateMb - before.privateMb);
        };
        std::printf("memory (%.1f MB resident before the library):\n", before.resident);
        show("library read and decoded", afterLoad);
        show("after the first opening", afterFirst);
        show(qPrintable(QStringLiteral("after %1 more openings").arg(runs)), afterRuns);
    }
    return 0;
}
