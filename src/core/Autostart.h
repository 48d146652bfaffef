#pragma once

#include "Clock.h"
#include "DiscVocabulary.h"
#include "FileHelpers.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <functional>

namespace velkaro {

class Project;

// What the OK command takes from outside the project: the clock, the
// regional settings for the timestamp, the folder that holds the launcher
// and the disk that the files go to.
struct AutostartEnvironment
{
    std::function<QDateTime()> clock = CurrentDateTime;
    QLocale locale = QLocale::system();
    QString programFolder; // empty: ProgramFolder()
    Disk* disk = &SystemDisk();
};

enum class AutostartOutcome
{
    Refused,   // a half-filled context row; nothing written
    Failed,    // a file could not be written; its message was shown
    Completed, // all files written, the user keeps working
    Quit       // all files written, the user chose to end the program
};

// The OK command: checks the context rows, writes AutoRun.Inf, copies the
// launcher and, for a library icon, writes AutoRun.Ico, then reports. The
// project is never changed.
AutostartOutcome WriteAutostart(const Project& project, const AutostartEnvironment& env = {});

// The OK command up to its report: Refused, Failed or Completed. The command
// line ends here; it asks nobody.
AutostartOutcome WriteAutostartFiles(const Project& project, const AutostartEnvironment& env = {});

// The folder whose Pirolo.Exe the OK command copies, with a closing separator.
QString LauncherFolder(const AutostartEnvironment& env);

// The whole text of AutoRun.Inf, as written.
QString BuildAutorunText(const Project& project, const AutostartEnvironment& env = {});

// The path of slot n relative to the CD root, in the form the disc needs:
// folders separated by "\", the root itself "\".
QString CdRelativePath(const Project& project, int n);

// "%t%": the short date, a blank and the time with seconds, or the date
// alone at exactly midnight.
QString AutorunTimestamp(const QDateTime& moment, const QLocale& locale);

bool CopyLauncher(const Project& project, const QString& programFolder, Disk& disk);
bool WriteLibraryIcon(const Project& project, Disk& disk);
// Gives true when the user chose to end the program.
bool ReportCompletion();

} // namespace velkaro
