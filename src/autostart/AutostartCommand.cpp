#include "AutostartCommand.h"

#include "Autostart.h"
#include "Companion.h"
#include "ContextRows.h"
#include "FileHelpers.h"
#include "IconChoice.h"
#include "IconFile.h"
#include "IconLibrary.h"
#include "Messages.h"
#include "PathRules.h"
#include "Project.h"
#include "Windows1252.h"

#include <QDir>
#include <QFileInfo>

namespace velkaro::autostart {

namespace {

// The core's messages, which the window shows in a box, go to the error
// output; nobody is asked.
class ErrorOutput final : public MessagePresenter
{
public:
    MessageAnswer present(const ShownMessage& message) override
    {
        companion::SayError(MessageDisplayText(message.text));
        return message.defaultAnswer;
    }
};

bool Refuse(const QString& text)
{
    ShowError(text);
    return false;
}

// A path as a chooser would return it: absolute, without "." or "..".
QString Absolute(const Project& project, const QString& typed)
{
    const QString path = QDir::fromNativeSeparators(typed);
    const QString root = QDir::fromNativeSeparators(project.cdRootPath());
    return QDir::toNativeSeparators(
        QDir::cleanPath(QDir::isRelativePath(path) ? root + path : path));
}

// The choosers take only what exists: a folder from the folder browser, a
// file from the file dialog.
bool TakePath(Project& project, int n, const QString& typed, bool folder)
{
    QString path = Absolute(project, typed);
    const QFileInfo info(path);
    if (!info.exists())
        return Refuse(QStringLiteral("%1 gibt es nicht.").arg(Quoted(path)));
    if (folder && !info.isDir())
        return Refuse(QStringLiteral("%1 ist kein Ordner.").arg(Quoted(path)));
    if (!folder && info.isDir())
        return Refuse((n == Project::TargetSlot
                           ? QStringLiteral("%1 ist ein Ordner; als Startobjekt nennen Sie ihn "
                                            "mit --folder.")
                           : QStringLiteral("%1 ist ein Ordner; hier ist eine Datei gefragt."))
                          .arg(Quoted(path)));
    if (folder)
        path = AddBackslash(path);
    switch (TakeChosenPath(project, n, path)) {
    case PathVerdict::Accepted:
        return true;
    case PathVerdict::Outside:
        return Refuse(OutsideRootText() + QStringLiteral("\n\n    ") + path);
    case PathVerdict::Refused:
        break;
    }
    return false;
}

// "(kein)", the window's mark of an empty menu text, also between blanks, is
// no text here as there; calls that name it keep working.
std::optional<QString> TypedMenuText(const QString& text)
{
    if (text.isEmpty() || MenuTextForFile(text) == QLatin1String("(kein)"))
        return std::nullopt;
    return text;
}

bool TakeIcon(Project& project, const QString& icon)
{
    if (icon == QLatin1String("none")) {
        ChooseNoIcon(project);
        return true;
    }
    if (icon == QLatin1String("default")) {
        ChooseDefaultIcon(project);
        return true;
    }
    if (icon.startsWith(QLatin1String("library:"))) {
        const QString name = icon.mid(8);
        const int n = IconLibrary::instance().find(name);
        if (n == 0)
            return Refuse(QStringLiteral("Ein Icon %1 hat die Bibliothek nicht; "
                                         "velkaro-autostart --list-icons nennt alle.")
                              .arg(Quoted(name)));
        ApplyLibraryIcon(project, n);
        return true;
    }
    if (!TakePath(project, Project::IconSlot, icon, false))
        return false;
    VerifyIconFile(project); // a file that is no icon: the message, and no icon
    return project.iconSource() == IconSource::OwnFile;
}

bool MakeProject(Project& project, const Choices& choices)
{
    const QFileInfo root(choices.cdRoot);
    if (!root.exists())
        return Refuse(QStringLiteral("Das CD-Hauptverzeichnis %1 gibt es nicht.")
                          .arg(Quoted(choices.cdRoot)));
    if (!root.isDir())
        return Refuse(QStringLiteral("%1 ist kein Ordner; bitte nennen Sie das "
                                     "CD-Hauptverzeichnis.")
                          .arg(Quoted(choices.cdRoot)));
    project.TakeCdRoot(QDir::cleanPath(root.absoluteFilePath()));
    project.setTargetIsFolder(choices.folder);
    if (!TakePath(project, Project::TargetSlot, choices.open, choices.folder))
        return false;
    project.UpdateOkButton();
    for (int row = 0; row < Project::RowCount; ++row) {
        const auto& menu = choices.menus.at(size_t(row));
        if (!menu)
            continue;
        // As in the window: the text is typed first, and a document chosen for
        // a row without one gives it its name.
        if (const std::optional<QString> text = TypedMenuText(menu->text))
            project.setMenuText(row, text);
        if (!menu->path.isEmpty() && !TakePath(project, Project::RowSlot(row), menu->path, false))
            return false;
    }
    return TakeIcon(project, choices.icon);
}

// What the OK command would write, decoded as Windows will read it.
void Print(const Project& project, const Choices& choices, const AutostartEnvironment& env)
{
    QStringList lines = FromWindows1252(ToWindows1252(BuildAutorunText(project, env)))
                            .split(QStringLiteral("\r\n"));
    lines.removeLast(); // after the last line end
    for (const QString& line : lines)
        companion::Say(line);
    const QString root = project.cdRootPath();
    const QString launcher = LauncherFolder(env) + LauncherFileName();
    companion::Say(
        QStringLiteral("%1 wird kopiert aus %2%3.")
            .arg(Quoted(root + LauncherFileName()), Quoted(launcher),
                 QFileInfo::exists(launcher) ? QString() : QStringLiteral(", doch dort fehlt es")));
    if (project.iconSource() == IconSource::Library) {
        const IconLibrary& library = IconLibrary::instance();
        const int n = library.find(choices.icon.mid(8));
        companion::Say(QStringLiteral("%1 wird Icon %2 (%3) der Bibliothek.")
                           .arg(Quoted(root + LibraryIconFileName()))
                           .arg(n)
                           .arg(library.name(n)));
    }
}

} // namespace

int RunAutostart(const Choices& choices)
{
    ErrorOutput errors;
    Project project;
    if (!MakeProject(project, choices))
        return companion::Exit::Refused;

    AutostartEnvironment env;
    if (choices.moment)
        env.clock = [moment = *choices.moment] { return moment; };
    if (choices.print) {
        if (!CheckContextRows(project))
            return companion::Exit::Refused;
        Print(project, choices, env);
        return companion::Exit::Done;
    }
    if (WriteAutostartFiles(project, env) != AutostartOutcome::Completed)
        return companion::Exit::Refused;
    companion::Say(
        QStringLiteral("Fertig: AutoRun.Inf in %1 geschrieben.").arg(Quoted(project.cdRootPath())));
    return companion::Exit::Done;
}

QStringList LibraryIconLines()
{
    const IconLibrary& library = IconLibrary::instance();
    QStringList lines;
    for (int n = 1; n <= library.count(); ++n)
        lines << QStringLiteral("%1 %2").arg(n, 3, 10, QLatin1Char('0')).arg(library.name(n));
    return lines;
}

} // namespace velkaro::autostart
