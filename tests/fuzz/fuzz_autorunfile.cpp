// velkaro-image --check reads AutoRun.Inf from any image or folder it is
// handed. What it reads must come from the file, and what the OK command
// writes must read back as the paths it was written with.
//
// Input: the bytes of an AutoRun.Inf up to the first byte 0x01; after it,
// pieces cut at 0x01: the path of the target, of the icon and of a context
// document below the CD root, and a menu text.

#include "AutorunFile.h"
#include "Autostart.h"
#include "FuzzSupport.h"
#include "Project.h"
#include "UnusableCharacters.h"
#include "Windows1252.h"

using namespace velkaro;
using namespace velkaro::fuzzing;

namespace velkaro {

// For QList's comparison, beside the type.
bool operator==(const DiscReference& a, const DiscReference& b)
{
    return a.entry == b.entry && a.role == b.role && a.path == b.path;
}

} // namespace velkaro

namespace {

bool Same(const AutorunContent& a, const AutorunContent& b)
{
    return a.hasSection == b.hasSection && a.hasStart == b.hasStart && a.references == b.references;
}

void CheckReading(const QByteArray& bytes)
{
    const AutorunContent content = ReadAutorun(bytes);
    const QString text = FromWindows1252(bytes);
    if (!content.hasSection)
        FUZZ_CHECK(!content.hasStart && content.references.isEmpty());
    bool startNamed = false;
    for (const DiscReference& reference : content.references) {
        // Nothing is made up: key and path stand in the file as they are.
        FUZZ_CHECK_MSG(!reference.entry.isEmpty() && text.contains(reference.entry),
                       Shown(reference.entry));
        FUZZ_CHECK_MSG(text.contains(reference.path), Shown(reference.path));
        const QString key = reference.entry.toLower();
        startNamed =
            startNamed || key == QLatin1String("open") || key == QLatin1String("shellexecute");
    }
    FUZZ_CHECK(content.hasStart == startNamed);

    // Line ends of any kind, and sections before it, change nothing.
    QByteArray unixLines = bytes;
    unixLines.replace("\r\n", "\n");
    FUZZ_CHECK(Same(ReadAutorun(unixLines), content));
    FUZZ_CHECK(Same(ReadAutorun("[Andere]\r\nopen = x.exe\r\nicon = y.ico\r\n" + bytes), content));
}

// A path as the choosers let it into a project: one that the disc can carry.
bool Usable(const QString& relative)
{
    return !relative.isEmpty() && !FindUnusableCharacter(relative) &&
           !relative.startsWith(QLatin1Char('/')) && !relative.contains(QStringLiteral("//"));
}

void CheckRoundTrip(const QString& target, const QString& icon, const QString& document,
                    const QString& menuText)
{
    if (!Usable(target))
        return;
    const QString root = QStringLiteral("/cd/");
    Project project;
    project.TakeCdRoot(root);
    project.setSlot(Project::TargetSlot, root + target);
    // The icon chooser refuses a comma: the shell would take what follows for an index.
    const bool withIcon = Usable(icon) && !icon.contains(QLatin1Char(','));
    if (withIcon)
        project.setSlot(Project::IconSlot, root + icon);
    const bool withRow = Usable(document) && !Project::IsMenuTextEmpty(menuText) &&
                         !FindUnusableCharacter(MenuTextForFile(menuText));
    if (withRow) {
        project.setSlot(Project::RowSlot(0), root + document);
        project.setMenuText(0, menuText);
    }
    AutostartEnvironment env;
    env.clock = [] { return QDateTime(QDate(2005, 3, 1), QTime(12, 0)); };
    env.locale = QLocale(QLocale::German, QLocale::Germany);
    const QByteArray bytes = ToWindows1252(BuildAutorunText(project, env));
    const AutorunContent content = ReadAutorun(bytes);
    CheckReading(bytes);

    const auto onDisc = [](QString path) { return path.replace(QLatin1Char('/'), '\\'); };
    QList<DiscReference> expected{
        {QStringLiteral("open"), DiscReference::Role::Program, LauncherFileName()},
        {QStringLiteral("open"), DiscReference::Role::Argument, onDisc(target)}};
    if (withIcon)
        expected.append({QStringLiteral("icon"), DiscReference::Role::Icon, onDisc(icon)});
    if (withRow) {
        const QString key = QStringLiteral("shell\\0\\command");
        expected.append({key, DiscReference::Role::Program, LauncherFileName()});
        expected.append({key, DiscReference::Role::Argument, onDisc(document)});
    }
    expected.append(
        {QStringLiteral("shell\\qb\\command"), DiscReference::Role::Program, LauncherFileName()});
    FUZZ_CHECK(content.hasSection && content.hasStart);
    FUZZ_CHECK_MSG(content.references == expected,
                   Shown(target) + " | " + Shown(icon) + " | " + Shown(document));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype cut = bytes.indexOf('\x01');
    CheckReading(QByteArray(bytes.left(cut < 0 ? bytes.size() : cut)));
    if (cut >= 0) {
        const QList<QString> pieces = Pieces(data + cut + 1, size - size_t(cut) - 1);
        CheckRoundTrip(PieceAt(pieces, 0), PieceAt(pieces, 1), PieceAt(pieces, 2),
                       PieceAt(pieces, 3));
    }
    return 0;
}
