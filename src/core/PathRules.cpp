#include "PathRules.h"

#include "MessageText.h"
#include "Messages.h"
#include "Project.h"
#include "UnusableCharacters.h"

namespace velkaro {

namespace {

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

QString OutsideRootText()
{
    return QStringLiteral(
        "Das von Ihnen angegebene Objekt liegt außerhalb des Pfades, welchen Sie als "
        "Hauptverzeichnis der zu brennenden CD-Daten angegeben haben. Für eine korrekte "
        "Einbindung muss sich dieses Objekt (Datei oder Ordner) aber innerhalb Ihres "
        "CD-Projekts befinden ('Externe' Dateien müssen also zuvor in die CD-Struktur "
        "kopiert werden).");
}

PathVerdict TakeChosenPath(Project& project, int n, const QString& path)
{
    if (!project.IsInsideCdRoot(path))
        return PathVerdict::Outside;
    const QString below = path.mid(project.cdRootPath().size());
    if (const auto bad = FindUnusableCharacter(below)) {
        ShowError(UnusableCharacterText(path, *bad));
        return PathVerdict::Refused;
    }
    if (n == Project::IconSlot && below.contains(QLatin1Char(','))) {
        ShowError(CommaInIconPathText(path));
        return PathVerdict::Refused;
    }
    project.AcceptSlotPath(n, path);
    return PathVerdict::Accepted;
}

} // namespace velkaro
