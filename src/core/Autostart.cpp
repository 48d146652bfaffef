#include "Autostart.h"

#include "ContextRows.h"
#include "FileHelpers.h"
#include "MakerInfo.h"
#include "MessageText.h"
#include "Messages.h"
#include "Project.h"

#include <QBuffer>
#include <QImageWriter>

namespace velkaro {

namespace {

const QString LineEnd = QStringLiteral("\r\n");

// Values of the build go into a stored text: keep their backslashes.
QString Stored(QString value)
{
    return value.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
}

QString HeaderTemplate()
{
    const QString rule = QStringLiteral(";") + QString(70, QLatin1Char('*')) + "\\n\\l";
    return rule + QStringLiteral(";* AUTORUN.INF (Erstellt: %t%)\\n\\l") + rule +
           QStringLiteral(
               ";* Diese Datei steuert den Autostart von CDs anhand der Quenbrook-Software\\n\\l"
               ";* Velkaro 2005/Pirolo. Details hierzu finden Sie in\\n\\l"
               ";* der Online-Hilfe von Velkaro 2005 bzw. im Internet unter\\n\\l") +
           QStringLiteral(";* ") + Stored(ProductPageAddress()) + "\\n\\l" + rule +
           QStringLiteral(";* Alle Rechte vorbehalten. Copyright (c) 2005-%y%\\n\\l") +
           QStringLiteral(";* ") + Stored(MakerName()) + "\\n\\l" + QStringLiteral(";* ") +
           Stored(MakerSupportEmail()) + "\\n\\l" + rule + "\\n\\l";
}

// The locale's long time format less its time zone, as the regional settings
// of Windows give the time.
QString TimeFormatWithoutZone(const QLocale& locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        result.append(c);
    }
    return result.simplified();
}

QString LauncherCall(const Project& project, int n)
{
    return LauncherFileName() + QLatin1Char(' ') + QuoteText(CdRelativePath(project, n));
}

QString IconEntry(const Project& project)
{
    switch (project.iconSource()) {
    case IconSource::None:
        break;
    case IconSource::Launcher:
        return LauncherFileName();
    case IconSource::Library:
        return LibraryIconFileName();
    case IconSource::OwnFile:
        return QuoteText(CdRelativePath(project, Project::IconSlot));
    }
    return QString();
}

void ShowFailure(const QString& stored, const QList<std::pair<QString, QString>>& values)
{
    ShowError(InsertIndented(ExpandEscapes(stored), values));
}

} // namespace

QString AutorunTimestamp(const QDateTime& moment, const QLocale& locale)
{
    const QString date = locale.toString(moment.date(), QLocale::ShortFormat);
    if (moment.time() == QTime(0, 0))
        return date;
    return date + QLatin1Char(' ') + locale.toString(moment.time(), TimeFormatWithoutZone(locale));
}

QString CdRelativePath(const Project& project, int n)
{
    QString relative;
    if (project.useLongNames())
        relative = project.slot(n).mid(project.cdRootPath().size());
    else
        relative = GetShortPath(project.slot(n)).mid(project.cdRootShortPath().size());
    // The disc is read by Windows: its folders are separated by "\".
    relative.replace(PathSeparator(), QLatin1Char('\\'));
    return relative.isEmpty() ? QStringLiteral("\\") : relative;
}

QString BuildAutorunText(const Project& project, const AutostartEnvironment& env)
{
    QString text = ExpandEscapes(HeaderTemplate());
    text.replace(QStringLiteral("%t%"), AutorunTimestamp(env.clock(), env.locale));
    text += QStringLiteral("[autorun]") + LineEnd;
    text.replace(QStringLiteral("%y%"), env.clock().toString(QStringLiteral("yyyy")));

    // From here on nothing is scanned for placeholders: texts stand as typed.
    text += QStringLiteral("open = ") + LauncherCall(project, Project::TargetSlot) + LineEnd;
    const QString icon = IconEntry(project);
    if (!icon.isEmpty())
        text += QStringLiteral("icon = ") + icon + LineEnd;
    for (int row = 0; row < Project::RowCount; ++row) {
        if (Project::IsMenuTextEmpty(project.menuText(row)))
            continue;
        const QString menuText = MenuTextForFile(*project.menuText(row));
        const QString verb = QStringLiteral("shell\\") + QString::number(row);
        text += verb + QStringLiteral(" = &") + menuText + LineEnd;
        text += verb + QStringLiteral("\\command = ") +
                LauncherCall(project, Project::RowSlot(row)) + LineEnd;
    }
    text += QStringLiteral("shell\\qb = &Über Pirolo ...") + LineEnd;
    text += QStringLiteral("shell\\qb\\command = ") + LauncherFileName() + LineEnd;
    return text;
}

AutostartOutcome WriteAutostart(const Project& project, const AutostartEnvironment& env)
{
    const AutostartOutcome outcome = WriteAutostartFiles(project, env);
    if (outcome != AutostartOutcome::Completed)
        return outcome;
    return ReportCompletion() ? AutostartOutcome::Quit : AutostartOutcome::Completed;
}

QString LauncherFolder(const AutostartEnvironment& env)
{
    return env.programFolder.isEmpty() ? ProgramFolder() : AddBackslash(env.programFolder);
}

AutostartOutcome WriteAutostartFiles(const Project& project, const AutostartEnvironment& env)
{
    if (!CheckContextRows(project))
        return AutostartOutcome::Refused;

    const QString text = BuildAutorunText(project, env);
    const QString target = project.cdRootPath() + AutorunFileName();
    if (const MaybeFailure failure = WriteWholeFile(target, text, WriteMode::Replace, *env.disk)) {
        ShowFailure(
            QStringLiteral("Die CD-Autostart-Einstellungen konnten nicht gespeichert "
                           "werden. Beim Schreiben der Datei\\n\\n%f%\\n\\nkam es zu "
                           "folgendem Fehler:\\n\\n%g%"),
            {{QStringLiteral("%f%"), target}, {QStringLiteral("%g%"), ErrorText(*failure)}});
        return AutostartOutcome::Failed;
    }
    if (!CopyLauncher(project, LauncherFolder(env), *env.disk))
        return AutostartOutcome::Failed;
    if (project.iconSource() == IconSource::Library && !WriteLibraryIcon(project, *env.disk))
        return AutostartOutcome::Failed;
    return AutostartOutcome::Completed;
}

bool CopyLauncher(const Project& project, const QString& programFolder, Disk& disk)
{
    const QString source = programFolder + LauncherFileName();
    const QString destination = project.cdRootPath() + LauncherFileName();
    if (const MaybeFailure failure = CopyFileAtomically(source, destination, disk)) {
        ShowFailure(QStringLiteral("Die für einen korrekten CD-Autostart notwendige Datei "
                                   "Pirolo.Exe ließ sich nicht von\\n\\n%v%\\n\\nnach\\n\\n%n%"
                                   "\\n\\nkopieren. Es kam dabei zu folgendem Fehler:\\n\\n%g%"),
                    {{QStringLiteral("%v%"), source},
                     {QStringLiteral("%n%"), destination},
                     {QStringLiteral("%g%"), ErrorText(*failure)}});
        return false;
    }
    return true;
}

bool WriteLibraryIcon(const Project& project, Disk& disk)
{
    // A library icon is written as its own file, so it keeps its 16-colour
    // images for old Windows; only a picture without a file is encoded anew.
    QByteArray bytes = project.icon().fileBytes;
    MaybeFailure failure;
    if (bytes.isEmpty()) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "ico");
        if (project.icon().image.isNull() || !writer.write(project.icon().image))
            failure = Failure::fromCode(FailureCode::InvalidPicture);
    }
    if (!failure)
        failure = WriteFileAtomically(project.cdRootPath() + LibraryIconFileName(), bytes, disk);
    if (failure) {
        ShowFailure(QStringLiteral("Das von Ihnen ausgewählte Icon konnte nicht auf dem "
                                   "Datenträger angelegt werden. Es kam dabei zu folgendem "
                                   "Fehler:\\n\\n%g%"),
                    {{QStringLiteral("%g%"), ErrorText(*failure)}});
        return false;
    }
    return true;
}

bool ReportCompletion()
{
    const QString text =
        QStringLiteral("Die CD-Autostart-Einstellungen wurden erfolgreich vorgenommen. Sie können "
                       "jetzt mit dem Testen bzw. dem Brennen Ihres CD-Projekts beginnen.") +
        QStringLiteral("\r\r") + QStringLiteral("Möchten Sie Velkaro 2005 jetzt beenden?");
    return ShowMessage(text, MessageIcon::Information, MessageButtons::YesNo, MessageAnswer::Yes) ==
           MessageAnswer::Yes;
}

} // namespace velkaro
