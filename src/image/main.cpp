// velkaro-image: the prepared CD root as a disc image, checked first as
// Windows will read the disc.

#include "BuildSettings.h"
#include "Companion.h"
#include "DiscCheck.h"
#include "DiscVocabulary.h"
#include "Failure.h"
#include "IsoImage.h"
#include "LocalSystem.h"
#include "MessageText.h"
#include "Progress.h"
#include "TemporaryTarget.h"
#include "VolumeLabel.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cerrno>
#include <csignal>

using namespace velkaro;
using namespace velkaro::image;
using namespace velkaro::companion;

namespace {

volatile std::sig_atomic_t g_stop = 0;

const char HelpText[] =
    "Aufruf: velkaro-image CD-HAUPTVERZEICHNIS [-o DATEI.iso] [--label NAME]\n"
    "                      [--strict]\n"
    "        velkaro-image --check DATEI.iso|CD-HAUPTVERZEICHNIS [--strict]\n"
    "\n"
    "Schreibt das CD-Hauptverzeichnis, das Velkaro vorbereitet hat, als CD-Abbild:\n"
    "ISO 9660 mit Joliet (das liest Windows) und Rock Ridge (das liest Linux), für\n"
    "jedes Brennprogramm. Vorher prüft es die CD so, wie Windows sie lesen wird:\n"
    "Jede Datei und jeder Ordner, den ein Eintrag von AutoRun.Inf nennt (der Starter\n"
    "Pirolo.Exe, das Icon, jeder Pfad in Anführungszeichen), muss im Joliet-Baum\n"
    "genau unter diesem Namen stehen; Groß- und Kleinschreibung zählen dabei nicht,\n"
    "wie unter Windows. Fehlt etwas, oder würde Joliet einen Namen ändern (mehr als\n"
    "64 Zeichen, der Punkt vor der Endung einer Datei nicht gezählt; eines der\n"
    "Zeichen * / : ; ? \\ oder ein Steuerzeichen), nennt velkaro-image den Eintrag\n"
    "und den Pfad und schreibt nichts.\n"
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
    "                          Zeile je Datei, die ein Eintrag nennt; bei einem\n"
    "                          Ordner auch dieselben Hinweise wie beim Schreiben.\n"
    "      --strict            macht jeden Hinweis zum Fehler: Es entsteht kein\n"
    "                          Abbild, und der Rückgabewert ist 1, damit ein Skript\n"
    "                          vor dem Brennen scheitert.\n"
    "  -h, --help              zeigt diese Hilfe\n"
    "      --version           zeigt die Version\n"
    "\n"
    "Auf einem Terminal zeigt ein Fortschrittsbalken Prozent, MB/s und die\n"
    "verbleibende Zeit; Strg+C bricht ab, und die vorhandene Datei bleibt, wie sie\n"
    "war.\n"
    "\n"
    "Als Hinweis meldet es, ohne abzubrechen: Namen, die Joliet ändert, ohne dass\n"
    "AutoRun.Inf sie nennt (auch Bytes, die kein UTF-8 sind); Namen, unter denen\n"
    "Windows nichts öffnen kann (ein Punkt oder Leerzeichen am Ende, eines der\n"
    "Zeichen \" < > |); Namen, die Windows nicht auseinanderhält (Groß- und\n"
    "Kleinschreibung, Umlaute zusammengesetzt und zerlegt); Pfade, die mit „D:\\“\n"
    "länger als 259 Zeichen sind; Verweise aus dem CD-Hauptverzeichnis hinaus, deren\n"
    "Ziel mit auf die CD kommt; und was draußen bleibt.\n"
    "\n"
    "Umgebung:\n"
    "  SOURCE_DATE_EPOCH  Sekunden seit 1970 (UTC): die Zeit der CD, und keine Datei\n"
    "                     trägt eine spätere. Derselbe Ordner ergibt dann Byte für\n"
    "                     Byte dasselbe Abbild.\n"
    "\n"
    "Rückgabewert: 0, wenn alles geschrieben bzw. in Ordnung ist, auch mit\n"
    "Hinweisen; 1, wenn die Prüfung scheitert, das Schreiben misslingt oder mit\n"
    "--strict ein Hinweis kommt; 2 bei falschem Aufruf; 130 (Strg+C) bzw. 143\n"
    "(SIGTERM) nach einem Abbruch.\n";

struct Arguments
{
    QString cdRoot;
    QString output;
    QString label;
    bool hasLabel = false;
    bool strict = false; // every note is an error
};

QString NotesAreErrorsText(qsizetype count)
{
    return count == 1 ? QStringLiteral("Mit --strict ist jeder Hinweis ein Fehler: 1 Hinweis.")
                      : QStringLiteral("Mit --strict ist jeder Hinweis ein Fehler: %1 Hinweise.")
                            .arg(count);
}

QString NotePrefix(bool strict)
{
    return strict ? QStringLiteral("Fehler: ") : QStringLiteral("Hinweis: ");
}

int RunCheck(const QString& path, bool strict)
{
    const QFileInfo info(path);
    std::unique_ptr<DiscView> disc;
    Notes notes;
    QString treeFault;
    if (info.isDir()) {
        disc = std::make_unique<FolderView>(info.absoluteFilePath());
        // A folder that cannot be read would stop the write: treeFault.
        NoteTree(info.canonicalFilePath(), &notes, &treeFault);
        for (const QString& line : notes.Lines(NotePrefix(strict)))
            SayError(line);
    } else if (info.exists()) {
        QString error;
        auto image = ImageView::Open(info.absoluteFilePath(), &error);
        if (!image)
            return Refuse(error);
        Say(QStringLiteral("Bezeichnung der CD: %1").arg(image->VolumeId()));
        treeFault = image->RelocationFault().value_or(QString());
        disc = std::move(image);
    } else {
        return Refuse(QStringLiteral("%1 gibt es nicht.").arg(Quoted(path)));
    }
    const CheckResult result = CheckDisc(*disc);
    if (!treeFault.isEmpty())
        Say(QStringLiteral("FEHLER  ") + treeFault);
    if (!result.general.isEmpty())
        Say(QStringLiteral("FEHLER  ") + result.general);
    int failed = result.general.isEmpty() ? 0 : 1;
    for (const CheckLine& line : result.lines) {
        Say(ListingLine(line));
        if (!line.problem.isEmpty())
            ++failed;
    }
    const qsizetype noted = strict ? notes.size() : 0;
    if (failed == 0 && treeFault.isEmpty() && noted == 0) {
        Say(QStringLiteral("In Ordnung: Windows findet alles, was AutoRun.Inf nennt."));
        return Exit::Done;
    }
    if (failed == 1)
        Say(QStringLiteral("1 Fehler: Diese CD startet unter Windows nicht wie geplant."));
    else if (failed > 1)
        Say(QStringLiteral("%1 Fehler: Diese CD startet unter Windows nicht wie geplant.")
                .arg(failed));
    else if (!treeFault.isEmpty())
        Say(QStringLiteral("1 Fehler."));
    if (noted > 0)
        Say(NotesAreErrorsText(noted));
    return Exit::Refused;
}

// The terminal's progress line, at most five times a second.
class ProgressBar
{
public:
    ProgressBar() : m_shown(ErrorIsTerminal()) { m_clock.start(); }
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

// What the checked call asks for: the CD root, the image and its settings.
struct Plan
{
    QString root;          // as named, made absolute
    QString canonicalRoot; // links resolved: what goes onto the disc
    QString target;
    QString folder;    // of the target
    QString unchanged; // the sentence that says the target was left alone
    bool strict = false;
    ImageSettings settings;
};

// Step 1: the call itself. Every refusal before a byte is written.
std::optional<int> CheckCall(const Arguments& args, const CommandLine& line, Plan* plan)
{
    const QFileInfo rootInfo(args.cdRoot);
    if (!rootInfo.exists())
        return Refuse(
            QStringLiteral("Das CD-Hauptverzeichnis %1 gibt es nicht.").arg(Quoted(args.cdRoot)));
    if (!rootInfo.isDir())
        return Refuse(QStringLiteral("%1 ist kein Ordner; bitte nennen Sie das "
                                     "CD-Hauptverzeichnis.")
                          .arg(Quoted(args.cdRoot)));
    plan->root = QDir::cleanPath(rootInfo.absoluteFilePath());
    plan->canonicalRoot = rootInfo.canonicalFilePath();
    const QString rootName = QFileInfo(plan->root).fileName();

    QString target = args.output;
    if (target.isEmpty()) {
        if (rootName.isEmpty())
            return line.WrongCallText(QStringLiteral("Das Hauptverzeichnis des Systems hat keinen "
                                                     "Namen für ein Abbild daneben; bitte nennen "
                                                     "Sie es mit -o DATEI.iso."));
        target = QFileInfo(plan->root).absolutePath() + QLatin1Char('/') + rootName +
                 QStringLiteral(".iso");
    }
    plan->target = QDir::cleanPath(QFileInfo(target).absoluteFilePath());
    const QFileInfo targetInfo(plan->target);
    const QFileInfo folderInfo(targetInfo.absolutePath());
    plan->folder = folderInfo.absoluteFilePath();
    if (targetInfo.isDir())
        return Refuse(QStringLiteral("%1 ist ein Ordner; bitte nennen Sie mit -o eine Datei für "
                                     "das Abbild.")
                          .arg(Quoted(plan->target)));
    if (!folderInfo.exists())
        return Refuse(QStringLiteral("Den Ordner %1 für das Abbild gibt es nicht.")
                          .arg(Quoted(folderInfo.filePath())));
    if (!folderInfo.isDir())
        return Refuse(QStringLiteral("%1 ist kein Ordner; dort kann kein Abbild liegen.")
                          .arg(Quoted(folderInfo.filePath())));
    const QString canonicalFolder = folderInfo.canonicalFilePath();
    if (canonicalFolder == plan->canonicalRoot ||
        canonicalFolder.startsWith(plan->canonicalRoot + QLatin1Char('/')))
        return Refuse(QStringLiteral("Das Abbild %1 läge im CD-Hauptverzeichnis %2 und käme so "
                                     "auf die nächste CD. Bitte legen Sie es außerhalb ab (-o).")
                          .arg(Quoted(plan->target), Quoted(plan->root)));
    plan->unchanged = targetInfo.exists()
                          ? QStringLiteral("%1 ist unverändert.").arg(Quoted(plan->target))
                          : QStringLiteral("%1 wurde nicht angelegt.").arg(Quoted(plan->target));

    plan->strict = args.strict;
    plan->settings.cdRoot = plan->canonicalRoot;
    const QString wanted = args.hasLabel ? args.label : rootName;
    plan->settings.label = MakeVolumeLabel(wanted);
    if (plan->settings.label == wanted)
        Say(QStringLiteral("Bezeichnung der CD: %1").arg(plan->settings.label));
    else
        Say(QStringLiteral("Bezeichnung der CD: %1 (aus %2; erlaubt sind höchstens %3 Zeichen "
                           "aus A-Z, 0-9 und _)")
                .arg(plan->settings.label, Quoted(wanted))
                .arg(VolumeLabelLimit));

    std::optional<qint64> epoch;
    if (const std::optional<int> wrong = line.ReadSourceDateEpoch(epoch))
        return *wrong;
    if (epoch)
        plan->settings.sourceDateEpoch = *epoch;
    return std::nullopt;
}

int RefuseCheck(const CheckResult& check, const QString& first, const QString& last)
{
    QStringList lines;
    if (!first.isEmpty())
        lines.append(first);
    if (!check.general.isEmpty())
        lines.append(check.general);
    for (const CheckLine& line : check.lines) {
        if (!line.problem.isEmpty())
            lines.append(RefusalText(line));
    }
    lines.append(last);
    return Refuse(lines);
}

// Step 2: nothing is written unless Windows will find what AutoRun.Inf names,
// and with --strict, unless there is nothing to note.
std::optional<int> CheckDiscBeforeWriting(const Plan& plan)
{
    const QString nothing = QStringLiteral("Es wurde kein Abbild geschrieben.");
    const CheckResult check = CheckDisc(FolderView(plan.canonicalRoot));
    if (!check.ok())
        return RefuseCheck(check, QString(), nothing);
    Say(QStringLiteral("AutoRun.Inf geprüft: Windows findet alles, was es nennt (%1).")
            .arg(check.lines.size() == 1 ? QStringLiteral("1 Verweis")
                                         : QStringLiteral("%1 Verweise").arg(check.lines.size())));
    if (!plan.strict)
        return std::nullopt;
    Notes notes;
    QString error;
    if (!NoteTree(plan.canonicalRoot, &notes, &error))
        return Refuse({error, nothing});
    if (notes.isEmpty())
        return std::nullopt;
    return Refuse(notes.Lines(NotePrefix(true)) +
                  QStringList{NotesAreErrorsText(notes.size()), nothing});
}

int Stopped(const Plan& plan)
{
    Refuse(QStringLiteral("Abgebrochen. ") + plan.unchanged);
    return 128 + g_stop;
}

// Step 4: the image, streamed into the temporary file and on the disk.
std::optional<int> Write(const Plan& plan, TemporaryTarget& temporary, qint64* bytes)
{
    ProgressBar bar;
    Notes notes;
    const WriteOutcome outcome = WriteImage(
        plan.settings, temporary.fd(), plan.target,
        [&](qint64 written, qint64 total) { bar.Update(written, total); }, &g_stop, &notes);
    bar.End();
    for (const QString& line : notes.Lines(NotePrefix(false)))
        SayError(line);
    switch (outcome.kind) {
    case WriteOutcome::Kind::Stopped:
        return Stopped(plan);
    case WriteOutcome::Kind::Failed:
        return Refuse(outcome.error + QLatin1Char(' ') + plan.unchanged);
    case WriteOutcome::Kind::Written:
        break;
    }
    if (const int error = SyncFile(temporary.fd()))
        return Refuse(NotWrittenText(plan.target, error) + QLatin1Char(' ') + plan.unchanged);
    temporary.Close();
    *bytes = outcome.bytes;
    return std::nullopt;
}

// Step 5: the finished bytes, read back through their Joliet tree.
std::optional<int> ReadBack(const Plan& plan, const TemporaryTarget& temporary)
{
    QString error;
    const auto written = ImageView::Open(temporary.path(), &error);
    const CheckResult reread = written ? CheckDisc(*written) : CheckResult{error, {}};
    if (!reread.ok())
        return RefuseCheck(reread,
                           QStringLiteral("Das geschriebene Abbild besteht die Prüfung "
                                          "nicht:"),
                           plan.unchanged);
    return std::nullopt;
}

// Step 6: the checked image takes the target's place.
int Commit(const Plan& plan, TemporaryTarget& temporary, qint64 bytes)
{
    if (g_stop)
        return Stopped(plan);
    if (const int error = temporary.Commit(plan.folder)) {
        if (error == EBUSY)
            return Refuse(QStringLiteral("%1 ist in einem anderen Programm geöffnet und lässt "
                                         "sich deshalb nicht ersetzen. Bitte schließen Sie es "
                                         "dort und rufen Sie velkaro-image noch einmal auf. %2")
                              .arg(Quoted(plan.target), plan.unchanged));
        return Refuse(
            QStringLiteral("%1 lässt sich nicht ersetzen: %2. %3")
                .arg(Quoted(plan.target), SystemErrorText(error, plan.target), plan.unchanged));
    }
    Say(QStringLiteral("Fertig: %1 (%2).").arg(Quoted(plan.target), Megabytes(bytes)));
    return Exit::Done;
}

int RunWrite(const Arguments& args, const CommandLine& line)
{
    Plan plan;
    if (const auto exit = CheckCall(args, line, &plan))
        return *exit;
    if (const auto exit = CheckDiscBeforeWriting(plan))
        return *exit;
    CatchStopSignals(&g_stop);
    // Step 3: the file the image is written into, beside the target.
    TemporaryTarget temporary(plan.target);
    if (const int error = temporary.Create())
        return Refuse(QStringLiteral("Neben %1 lässt sich keine Datei anlegen: %2.")
                          .arg(Quoted(plan.target), SystemErrorText(error, plan.target)));
    qint64 bytes = 0;
    if (const auto exit = Write(plan, temporary, &bytes))
        return *exit;
    if (const auto exit = ReadBack(plan, temporary))
        return *exit;
    return Commit(plan, temporary, bytes);
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
    line.AddSwitch({QStringLiteral("strict")});
    if (const auto exit = line.Read(QCoreApplication::arguments()))
        return *exit;

    const QStringList positional = line.Positional();
    if (line.IsSet(QStringLiteral("check"))) {
        if (!positional.isEmpty() || line.IsSet(QStringLiteral("output")) ||
            line.IsSet(QStringLiteral("label")))
            return line.WrongCallText(QStringLiteral("--check nimmt nur ein Abbild oder ein "
                                                     "CD-Hauptverzeichnis."));
        return RunCheck(line.Value(QStringLiteral("check")), line.IsSet(QStringLiteral("strict")));
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
    args.strict = line.IsSet(QStringLiteral("strict"));
    return RunWrite(args, line);
}
