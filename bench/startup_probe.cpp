// Start-up probe: starts like the program does and prints the wall-clock
// time (CLOCK_REALTIME, nanoseconds) at which its window has been painted
// for the first time, then exits. The runner notes the time before it starts
// the process, so the difference is "start to painted window".
//
//   bench_startup_probe velkaro   the main window, exactly as main() builds it
//   bench_startup_probe floor     a bare Qt Widgets window of the same size
//   bench_startup_probe text      the same with one labelled button: the cost
//                                 of loading fonts, which any window with text pays
#include "AppSettings.h"
#include "Form1.h"
#include "Presenter.h"
#include "ProgressbarModule.h"

#include <QApplication>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

long long RealtimeNs()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

// Reports once the first exposure or update of the window has been handled,
// that is, painted and flushed.
class PaintProbe : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (!m_armed &&
            (event->type() == QEvent::Expose || event->type() == QEvent::UpdateRequest)) {
            m_armed = true;
            QTimer::singleShot(0, [] {
                std::printf("PAINTED %lld\n", RealtimeNs());
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    bool m_armed = false;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const bool floor = argc > 1 && std::strcmp(argv[1], "floor") == 0;
    const bool text = argc > 1 && std::strcmp(argv[1], "text") == 0;
    velkaro::QtPresenter presenter;
    const std::unique_ptr<QSettings> settings = velkaro::OpenAppSettings();
    velkaro::TimedWait wait;
    QWidget* window =
        floor || text ? new QWidget : new velkaro::Form1({presenter, *settings, wait, {}});
    if (floor || text)
        window->setFixedSize(585, 232);
    if (text)
        (new QPushButton(QStringLiteral("Beenden"), window))->move(10, 10);
    window->show();
    PaintProbe probe;
    window->windowHandle()->installEventFilter(&probe);
    const int result = app.exec();
    delete window;
    return result;
}
