#include "PathChoosers.h"

#include "Dialogs.h"
#include "FileHelpers.h"
#include "MessageText.h"
#include "Messages.h"
#include "Project.h"
#include "UnusableCharacters.h"

namespace velkaro {

namespace {

QString OutsideRootText()
{
    return QStringLiteral(
               "Das von Ihnen angegebene Objekt liegt außerhalb des Pfades, welchen Sie als "
               "Hauptverzeichnis der zu brennenden CD-Daten angegeben haben. Für eine korrekte "
               "Einbindung muss sich dieses Objekt (Datei oder Ordner) aber innerhalb Ihres "
               "CD-Projekts befinden ('Externe' Dateien müssen also zuvor in die CD-Struktur "
               "kopiert werden).") +
           QStringLiteral("\r\r") + QStringLiteral("Möchten Sie die Eingabe jetzt wiederholen?");
}

// A name that Windows or AutoRun.Inf cannot carry would give a disc entry
// that points nowhere, while OK still reports success: refuse it here.
QString UnusableCharacterText(const QString& path, char32_t character)
{
    const QString text = ExpandEscapes(QStringLiteral(
        "Der Name des von Ihnen angegebenen Objekts enthält ein Zeichen, das auf der CD nicht "
        "verwendet werden kann:\\n\\n%f%\\n\\nDas Zeichen ist:\\n\\n%z%\\n\\nWindows erlaubt "
        "dieses Zeichen nicht in Datei- oder Ordnernamen, oder es lässt sich nicht in die Datei "
        "AutoRun.Inf schreiben. Bitte benennen Sie die Datei bzw. den Ordner um und wählen Sie "
        "sie danach erneut aus."));
    // One pass, so that a path holding "%z%" is shown as it is.
    return InsertIndented(text, {{QStringLiteral("%f%"), path},
                                 {QStringLiteral("%z%"), DescribeCharacter(character)}});
}

// The shell reads the icon entry of AutoRun.Inf without its quotation marks
// and takes what follows a comma for the number of an icon in the file, so
// a comma below the CD root would point the disc's icon at another file.
QString CommaInIconPathText(const QString& path)
{
    const QString text = ExpandEscapes(QStringLiteral(
        "Der Pfad der von Ihnen angegebenen Icon-Datei enthält ein Komma:\\n\\n%f%\\n\\n"
        "Windows liest in der Icon-Angabe der Datei AutoRun.Inf alles nach einem Komma als "
        "Nummer eines Icons und fände die Datei deshalb nicht. Bitte benennen Sie die Datei bzw. "
        "den Ordner um und wählen Sie sie danach erneut aus."));
    return InsertIndented(text, {{QStringLiteral("%f%"), path}});
}

} // namespace

bool ChooseCdRoot(Project& project, QWidget* owner)
{
    const QString folder = BrowseForFolder(
        owner,
        QStringLiteral("Wo liegt das Hauptverzeichnis Ihres CD-Projekts auf der Festplatte?"));
    if (folder.isEmpty())
        return false;
    project.TakeCdRoot(folder);
    return true;
}

bool ChooseSlotPath(Project& project, int n, QWidget* owner)
{
    const QString filter =
        n == Project::IconSlot ? QStringLiteral("Icons (*.ico)|*.ico|") : QString();
    const bool folderMode = n == Project::TargetSlot && project.targetIsFolder();
    for (;;) {
        QString path;
        if (folderMode) {
            path = BrowseForFolder(
                owner,
                QStringLiteral("Bitte wählen Sie den beim CD-Autostart zu öffnenden Ordner aus:"));
            if (!path.isEmpty())
                path = AddBackslash(path);
        } else {
            path = ShowOpenDocumentDialog(owner, project.slot(n), filter, project.cdRootPath());
        }
        if (path.isEmpty())
            return false;

        if (project.IsInsideCdRoot(path)) {
            const QString below = path.mid(project.cdRootPath().size());
            if (const auto bad = FindUnusableCharacter(below)) {
                ShowError(UnusableCharacterText(path, *bad));
                return false;
            }
            if (n == Project::IconSlot && below.contains(QLatin1Char(','))) {
                ShowError(CommaInIconPathText(path));
                return false;
            }
            project.AcceptSlotPath(n, path);
            return true;
        }

        if (ShowMessage(OutsideRootText(), MessageIcon::Error, MessageButtons::YesNo) !=
            MessageAnswer::Yes)
            return false;
    }
}

} // namespace velkaro
