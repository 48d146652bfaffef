// Takes the pictures of the main window that the README and the help pages
// show: a sample project in both views, grabbed from the screen with the
// window manager's frame. Run it under a real (or virtual) X display:
//   tools/make-screenshots.sh
#include "AppSettings.h"
#include "Form1.h"
#include "Form1Buttons.h"
#include "Presenter.h"
#include "ProgressbarModule.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QSettings>
#include <QTimer>

using namespace velkaro;

namespace {

bool Grab(QWidget& window, const QString& path)
{
    QCoreApplication::processEvents();
    QScreen* screen = window.screen();
    const QRect frame = window.frameGeometry();
    const QPixmap shot = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    return !shot.isNull() && shot.save(path);
}

void Wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);

    // A small CD project on the disk, as a user would have it; removed again
    // at the end.
    const QString projects = QDir::tempPath() + QStringLiteral("/CD-Projekte");
    const QString root = projects + QStringLiteral("/Sommerfest 2005");
    for (const char* folder : {"start", "doku", "bilder"})
        QDir().mkpath(root + QLatin1Char('/') + QLatin1String(folder));

    QtPresenter presenter;
    const std::unique_ptr<QSettings> settings = OpenAppSettings();
    TimedWait wait;
    Form1 window({presenter, *settings, wait, {}});
    Project& project = window.project();
    project.TakeCdRoot(root);
    project.AcceptSlotPath(1, root + QStringLiteral("/start/index.htm"));
    project.UpdateOkButton();
    project.AcceptSlotPath(2, root + QStringLiteral("/doku/Handbuch.pdf"));
    project.AcceptSlotPath(3, root + QStringLiteral("/bilder/"));
    project.setMenuText(1, QStringLiteral("Fotogalerie"));
    window.Btn_Click(DefaultIconButton); // the launcher's own icon
    window.show();
    Wait(1500);

    bool ok = Grab(window, out + QStringLiteral("/main-compact.png"));
    window.ToggleViewMode();
    Wait(1500);
    window.repaint();
    Wait(500);
    ok = Grab(window, out + QStringLiteral("/main-extended.png")) && ok;
    QDir(projects).removeRecursively();
    return ok ? 0 : 1;
}
