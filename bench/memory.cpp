// Peak resident size of the program at three moments: after start (main
// window painted), after opening the icon library, after the OK command.
// For comparison the first line is the same figure for a bare Qt Widgets
// window in this process, measured before anything of Velkaro is built.
//
//   QT_QPA_PLATFORM=offscreen build/dev/bin/bench_memory
#include "AppSettings.h"
#include "FileHelpers.h"
#include "Form1.h"
#include "Form1Buttons.h"
#include "Presenter.h"
#include "ProgressbarModule.h"
#include "SelIconDialog.h"
#include "UnattendedMessages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

using namespace velkaro;

namespace {

// VmHWM from /proc/self/status, in megabytes.
double PeakResidentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

void Settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    UnattendedMessages messages;
    QTemporaryDir tmp;
    qputenv("XDG_CONFIG_HOME", tmp.filePath("config").toLocal8Bit());

    {
        QWidget bare;
        bare.setFixedSize(585, 232);
        bare.show();
        Settle();
    }
    std::printf("rss %.1f bare Qt window (floor)\n", PeakResidentMb());

    QtPresenter presenter;
    const std::unique_ptr<QSettings> settings = OpenAppSettings();
    TimedWait wait;
    Form1 window({presenter, *settings, wait, {}});
    window.show();
    Settle();
    std::printf("rss %.1f after start\n", PeakResidentMb());

    // A project whose icon comes from the library.
    const QString root = tmp.filePath("cd");
    QDir().mkpath(root);
    window.project().TakeCdRoot(root);
    window.project().AcceptSlotPath(1, root + QStringLiteral("/"));
    window.project().UpdateOkButton();

    // Open the library as the "Bibliothek" button does, and leave it with OK
    // on icon 200.
    QTimer::singleShot(0, [] {
        auto pick = [](auto&& self) -> void {
            auto* dialog = qobject_cast<SelIconDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                QTimer::singleShot(10, [self] { self(self); });
                return;
            }
            dialog->IconListView->setCurrentRow(199);
            dialog->Btn_Click(0);
        };
        pick(pick);
    });
    window.Btn_Click(IconLibraryButton);
    Settle();
    std::printf("rss %.1f after opening the icon library\n", PeakResidentMb());

    window.Btn_Click(OkButton);
    Settle();
    if (!QFile::exists(root + QStringLiteral("/AutoRun.Ico")))
        for (const QString& text : messages.shown)
            std::fprintf(stderr, "%s\n", qPrintable(text));
    std::printf("rss %.1f after OK\n", PeakResidentMb());
    return 0;
}
