// velkaro-image: the prepared CD root as a disc image, checked first as
// Windows will read the disc.

#include "BuildSettings.h"
#include "Companion.h"
#include "DiscCheck.h"
#include "DiscVocabulary.h"
#include "Failure.h"
#include "IsoImage.h"
#include "MessageText.h"
#include "Progress.h"
#include "VolumeLabel.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace velkaro;
using namespace velkaro::image;
using namespace velkaro::companion;

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnStopSignal(int signal)
{
    g_stop = signal;
}

constexpr int MostNotes = 20;

const char HelpText[] =
    "Aufruf: velkaro-image CD-HAUPTVERZEICHNIS [-o DATEI.iso] [--label NAME]\n"
    "        velkaro-image --check DATEI.iso|CD-HAUPTVERZEICHNIS\n"
    "\n"
    "Schreibt das CD-Hauptverzeichnis, das Velkaro vorbereitet hat, als CD-Abbild:\n"
    "ISO 9660 mit Joliet (das liest Windows) und Rock Ridge (das liest Linux), für\n"
    "jedes Brennprogramm. Vorher prüft es die CD so, wie Windows sie lesen wird:\n"
    "Jede Datei und jeder Ordner, den ein Eintrag von AutoRun.Inf nennt (der Starter\n"
    "Pirolo.Exe, das Icon, jeder Pfad in Anführungszeichen), muss im Joliet-Baum\n"
    "genau unter diesem Namen stehen; Groß- und Kleinschreibung zählen dabei nicht,\n"
    "wie unter Windows. Fehlt etwas, oder würde Joliet einen Namen ändern (mehr als\n"
    "64 Zeichen, eines der Zeichen * / : ; ? \\ oder ein Steuerzeichen), nennt\n"
    "velkaro-image den Eintrag und den Pfad und schreibt nichts.\n"
    "\n"
    "Optionen:\n"
    "  -o, --output DATEI.iso  wohin das Abbild kommt. Ohne diese Option heißt es wie\n"
    "                          das CD-Hauptverzeichnis mit .iso und liegt daneben,\n"
    "                          nie darin: aus /home/anna/Projekt/CD wird\n"
    "                          /home/anna/Projekt/CD.iso. Eine vorhandene Datei wird\n"
    "                          erst ersetzt, wenn das neue Abbild vollständig und\n"
    "                          geprüft ist; bis dahin entsteht es in einer\n"
    "                          vorläufigen Datei daneben.\n"
    "      --label NAME        die Bezeichnung der CD, ohne diese Option der Name des\n"
    "                          CD-Hauptverzeichnisses. Sie wird für ISO 9660 und\n"
    "                          Joliet gültig gemacht: höchstens 16 Zeichen aus A-Z,\n"
    "                          0-9 und _, Umlaute ausgeschrieben (Ä wird AE), jedes\n"
    "                          andere Zeichen wird _. Das Programm sagt, was es\n"
    "                          daraus gemacht hat.\n"
    "      --check DATEI       prüft ein fertiges Abbild (über seinen Joliet-Baum)\n"
    "                          oder ein CD-Hauptverzeichnis ebenso und schreibt eine\n"
    "                          Zeile je Datei, die ein Eintrag nennt.\n"
    "  -h, --help              zeigt diese Hilfe\n"
    "      --version           zeigt die Version\n"
    "\n"
    "Auf einem Terminal zeigt ein Fortschrittsbalken Prozent, MB/s und die\n"
    "verbleibende Zeit; Strg+C bricht ab, und die vorhandene Datei bleibt, wie sie\n"
    "war. Namen, die Joliet ändert, ohne dass AutoRun.Inf sie nennt, meldet es als\n"
    "Hinweis.\n"
    "\n"
    "Umgebung:\n"
    "  SOURCE_DATE_EPOCH  Sekunden seit 1970 (UTC): die Zeit der CD, und keine Datei\n"
    "                     trägt eine spätere. Derselbe Ordner ergibt dann Byte für\n"
    "                     Byte dasselbe Abbild.\n"
    "\n"
    "Rückgabewert: 0, wenn alles geschrieben bzw. in Ordnung ist; 1, wenn die Prüfung\n"
    "scheitert oder das Schreiben misslingt; 2 bei falschem Aufruf; 130 (Strg+C) bzw.\n"
    "143 (SIGTERM) nach einem Abbruch.\n";

QString SystemErrorText(int savedErrno, const QString& path)
{
    return ErrorText(FailureFromSystemError(savedErrno, path));
}

struct Arguments
{
    QString cdRoot;
    QString output;
    QString label;
    bool hasLabel = false;
};

int RunCheck(const QString& path)
{
    const QFileInfo info(path);
    std::unique_ptr<DiscView> disc;
    if (info.isDir()) {
        disc = std::make_unique<FolderView>(info.absoluteFilePath());
    } else if (info.exists()) {
        QString error;
        auto image = ImageView::Open(info.absoluteFilePath(), &error);
        if (!image) {
            SayError(error);
            return Exit::Refused;
        }
        Say(QStringLiteral("Bezeichnung der CD: %1").arg(image->VolumeId()));
        disc = std::move(image);
    } else {
        SayError(QStringLiteral("%1 gibt es nicht.").arg(Quoted(path)));
        return Exit::Refused;
    }
    const CheckResult result = CheckDisc(*disc);
    if (!result.general.isEmpty())
        Say(QStringLiteral("FEHLER  ") + result.general);
    int failed = result.general.isEmpty() ? 0 : 1;
    for (const CheckLine& line : result.lines) {
        Say(ListingLine(line));
        if (!line.problem.isEmpty())
            ++failed;
    }
    if (failed == 0) {
        Say(QStringLiteral("In Ordnung: Windows findet alles, was AutoRun.Inf nennt."));
        return 0;
    }
    Say(failed == 1 ? QStringLiteral("1 Fehler: Diese CD startet unter Windows nicht wie "
                                     "geplant.")
                    : QStringLiteral("%1 Fehler: Diese CD startet unter Windows nicht wie "
                                     "geplant.")
                          .arg(failed));
    return Exit::Refused;
}

// The terminal's progress line, at most five times a second.
class ProgressBar
{
public:
    ProgressBar() : m_shown(isatty(STDERR_FILENO) == 1) { m_clock.start(); }
    void Update(qint64 written, qint64 total)
    {
        if (!m_shown || (written < total && m_clock.elapsed() - m_last < 200))
            return;
        m_last = m_clock.elapsed();
        WriteError(QLatin1Char('\r') + ProgressLine(written, total, m_last / 1000.0) +
                   QStringLiteral("   "));
        m_open = true;
    }
    void End()
    {
        if (m_open)
            SayError(QString());
        m_open = false;
    }

private:
    bool m_shown;
    bool m_open = false;
    QElapsedTimer m_clock;
    qint64 m_last = -1000;
};

int RunWrite(const Arguments& args, const CommandLine& line)
{
    const QFileInfo rootInfo(args.cdRoot);
    if (!rootInfo.exists())
        return SayError(QStringLiteral("Das CD-Hauptverzeichnis %1 gibt es nicht.")
                            .arg(Quoted(args.cdRoot))),
               Exit::Refused;
    if (!rootInfo.isDir())
        return SayError(QStringLiteral("%1 ist kein Ordner; bitte nennen Sie das "
                                       "CD-Hauptverzeichnis.")
                            .arg(Quoted(args.cdRoot))),
               Exit::Refused;
    const QString root = QDir::cleanPath(rootInfo.absoluteFilePath());
    const QString canonicalRoot = rootInfo.canonicalFilePath();
    const QString rootName = QFileInfo(root).fileName();

    QString target = args.output;
    if (target.isEmpty()) {
        if (rootName.isEmpty())
            return line.WrongCallText(
                QStringLiteral("Das Hauptverzeichnis des Systems hat keinen Namen "
                               "für ein Abbild daneben; bitte nennen Sie es mit "
                               "-o DATEI.iso."));
        target =
            QFileInfo(root).absolutePath() + QLatin1Char('/') + rootName + QStringLiteral(".iso");
    }
    target = QDir::cleanPath(QFileInfo(target).absoluteFilePath());
    const QFileInfo targetInfo(target);
    const QFileInfo folderInfo(targetInfo.absolutePath());
    if (targetInfo.isDir())
        return SayError(QStringLiteral("%1 ist ein Ordner; bitte nennen Sie mit -o eine Datei "
                                       "für das Abbild.")
                            .arg(Quoted(target))),
               Exit::Refused;
    if (!folderInfo.exists())
        return SayError(QStringLiteral("Den Ordner %1 für das Abbild gibt es nicht.")
                            .arg(Quoted(folderInfo.filePath()))),
               Exit::Refused;
    if (!folderInfo.isDir())
        return SayError(QStringLiteral("%1 ist kein Ordner; dort kann kein Abbild liegen.")
                            .arg(Quoted(folderInfo.filePath()))),
               Exit::Refused;
    const QString canonicalFolder = folderInfo.canonicalFilePath();
    if (canonicalFolder == canonicalRoot ||
        canonicalFolder.startsWith(canonicalRoot + QLatin1Char('/')))
        return SayError(QStringLiteral("Das Abbild %1 läge im CD-Hauptverzeichnis %2 und käme "
                                       "so auf die nächste CD. Bitte legen Sie es außerhalb "
                                       "ab (-o).")
                            .arg(Quoted(target), Quoted(root))),
               Exit::Refused;

    ImageSettings settings;
    settings.cdRoot = canonicalRoot;
    const QString wanted = args.hasLabel ? args.label : rootName;
    settings.label = MakeVolumeLabel(wanted);
    if (settings.label == wanted)
        Say(QStringLiteral("Bezeichnung der CD: %1").arg(settings.label));
    else
        Say(QStringLiteral("Bezeichnung der CD: %1 (aus %2; erlaubt sind höchstens %3 "
                           "Zeichen aus A-Z, 0-9 und _)")
                .arg(settings.label, Quoted(wanted))
                .arg(VolumeLabelLimit));

    const QByteArray epoch = qgetenv("SOURCE_DATE_EPOCH");
    if (!epoch.isEmpty()) {
        bool ok = false;
        const qint64 seconds = epoch.toLongLong(&ok);
        // Beyond 31 Dec 9999 a volume time has no four-digit year.
        if (!ok || seconds < 0 || seconds > 253402300799LL || epoch.startsWith('+'))
            return line.WrongCallText(
                QStringLiteral("SOURCE_DATE_EPOCH ist keine Zahl von Sekunden seit "
                               "1970: %1.")
                    .arg(Quoted(QString::fromLocal8Bit(epoch))));
        settings.sourceDateEpoch = seconds;
    }

    // Nothing is written unless Windows will find what AutoRun.Inf names.
    const CheckResult check = CheckDisc(FolderView(canonicalRoot));
    if (!check.ok()) {
        if (!check.general.isEmpty())
            SayError(check.general);
        for (const CheckLine& line : check.lines) {
            if (!line.problem.isEmpty())
                SayError(RefusalText(line));
        }
        SayError(QStringLiteral("Es wurde kein Abbild geschrieben."));
        return Exit::Refused;
    }
    Say(QStringLiteral("AutoRun.Inf geprüft: Windows findet alles, was es nennt (%1).")
            .arg(check.lines.size() == 1 ? QStringLiteral("1 Verweis")
                                         : QStringLiteral("%1 Verweise").arg(check.lines.size())));

    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);

    const bool existed = targetInfo.exists();
    const QString unchanged = existed
                                  ? QStringLiteral("%1 ist unverändert.").arg(Quoted(target))
                                  : QStringLiteral("%1 wurde nicht angelegt.").arg(Quoted(target));
    QByteArray temporary = QFile::encodeName(target) + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        SayError(QStringLiteral("Neben %1 lässt sich keine Datei anlegen: %2.")
                     .arg(Quoted(target), SystemErrorText(errno, target)));
        return Exit::Refused;
    }
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    const auto discard = [&] {
        close(fd);
        unlink(temporary.constData());
    };

    ProgressBar bar;
    QStringList notes;
    const WriteOutcome outcome = WriteImage(
        settings, fd, target, [&](qint64 written, qint64 total) { bar.Update(written, total); },
        &g_stop, &notes);
    bar.End();
    for (qsizetype i = 0; i < notes.size() && i < MostNotes; ++i)
        SayError(QStringLiteral("Hinweis: ") + notes.at(i));
    if (notes.size() > MostNotes)
        SayError(QStringLiteral("Hinweis: … und %1 weitere.").arg(notes.size() - MostNotes));

    if (outcome.kind == WriteOutcome::Kind::Written && fsync(fd) != 0) {
        const int savedErrno = errno;
        discard();
        SayError(QStringLiteral("%1 ließ sich nicht schreiben: %2. %3")
                     .arg(Quoted(target), SystemErrorText(savedErrno, target), unchanged));
        return Exit::Refused;
    }
    if (outcome.kind == WriteOutcome::Kind::Failed) {
        discard();
        SayError(outcome.error + QLatin1Char(' ') + unchanged);
        return Exit::Refused;
    }
    if (outcome.kind == WriteOutcome::Kind::Written) {
        close(fd);
        // The finished bytes, read back through their Joliet tree.
        QString error;
        const auto written = ImageView::Open(QFile::decodeName(temporary), &error);
        const CheckResult reread = written ? CheckDisc(*written) : CheckResult{error, {}};
        if (!reread.ok()) {
            unlink(temporary.constData());
            SayError(QStringLiteral("Das geschriebene Abbild besteht die Prüfung nicht:"));
            if (!reread.general.isEmpty())
                SayError(reread.general);
            for (const CheckLine& line : reread.lines) {
                if (!line.problem.isEmpty())
                    SayError(RefusalText(line));
            }
            SayError(unchanged);
            return Exit::Refused;
        }
    }
    if (g_stop) {
        if (outcome.kind == WriteOutcome::Kind::Stopped)
            close(fd);
        unlink(temporary.constData());
        SayError(QStringLiteral("Abgebrochen. ") + unchanged);
        return 128 + g_stop;
    }
    if (rename(temporary.constData(), QFile::encodeName(target).constData()) != 0) {
        const int savedErrno = errno;
        unlink(temporary.constData());
        SayError(QStringLiteral("%1 lässt sich nicht ersetzen: %2. %3")
                     .arg(Quoted(target), SystemErrorText(savedErrno, target), unchanged));
        return Exit::Refused;
    }
    const int folderFd =
        open(QFile::encodeName(folderInfo.absoluteFilePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (folderFd >= 0) {
        fsync(folderFd);
        close(folderFd);
    }
    Say(QStringLiteral("Fertig: %1 (%2).").arg(Quoted(target), Megabytes(outcome.bytes)));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    CommandLine line(QStringLiteral("velkaro-image"), QString::fromUtf8(HelpText),
                     QStringLiteral("velkaro-image (Velkaro 2005) ") +
                         QLatin1String(build::VersionString));
    line.AddValue({QStringLiteral("o"), QStringLiteral("output")},
                  QStringLiteral("Nach %1 fehlt der Name der Abbilddatei."));
    line.AddValue({QStringLiteral("label")}, QStringLiteral("Nach %1 fehlt die Bezeichnung."),
                  CommandLine::Empty::Allowed);
    line.AddValue({QStringLiteral("check")},
                  QStringLiteral("Nach %1 fehlt das Abbild oder das CD-Hauptverzeichnis."));
    if (const auto exit = line.Read(QCoreApplication::arguments()))
        return *exit;

    const QStringList positional = line.Positional();
    if (line.IsSet(QStringLiteral("check"))) {
        if (!positional.isEmpty() || line.IsSet(QStringLiteral("output")) ||
            line.IsSet(QStringLiteral("label")))
            return line.WrongCallText(QStringLiteral("--check nimmt nur ein Abbild oder ein "
                                                     "CD-Hauptverzeichnis."));
        return RunCheck(line.Value(QStringLiteral("check")));
    }
    if (positional.size() != 1)
        return line.WrongCallText(
            positional.isEmpty() ? QStringLiteral("Bitte nennen Sie das CD-Hauptverzeichnis.")
                                 : QStringLiteral("Bitte nennen Sie nur ein CD-Hauptverzeichnis."));
    Arguments args;
    args.cdRoot = positional.first();
    args.output = line.Value(QStringLiteral("output"));
    args.hasLabel = line.IsSet(QStringLiteral("label"));
    args.label = line.Value(QStringLiteral("label"));
    return RunWrite(args, line);
}
