#include "Project.h"

#include "FileHelpers.h"
#include "MainIconList.h"
#include "MessageText.h"

#include <QDir>

namespace velkaro {

namespace {

constexpr Qt::CaseSensitivity PathCase =
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    Qt::CaseInsensitive;
#else
    Qt::CaseSensitive;
#endif

} // namespace

QString MenuTextForFile(const QString& text)
{
    QString cleaned = text;
    for (QChar& c : cleaned) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    }
    return TrimBlanks(cleaned);
}

Project::Project(QObject* parent) : QObject(parent)
{
    ClearAllSlots();
    UpdateRootDependentControls();
    UpdateOkButton();
}

void Project::setSlot(int n, const QString& path)
{
    if (n == IconSlot) {
        setIconSlot(IconSource::OwnFile, path);
        return;
    }
    if (m_data.slotPaths.at(n) == path)
        return;
    m_data.slotPaths.at(n) = path;
    emit slotChanged(n);
}

void Project::setIconSlot(IconSource source, const QString& path)
{
    // Only an own file has a path, and an own file without one is no icon.
    const QString file = source == IconSource::OwnFile ? path : QString();
    if (file.isEmpty() && source == IconSource::OwnFile)
        source = IconSource::None;
    if (m_data.iconSource == source && m_data.slotPaths.at(IconSlot) == file)
        return;
    m_data.iconSource = source;
    m_data.slotPaths.at(IconSlot) = file;
    emit slotChanged(IconSlot);
}

void Project::setMenuText(int row, const std::optional<QString>& text)
{
    m_data.menuTexts.at(row) = text;
    emit menuTextChanged(row);
}

void Project::setTargetIsFolder(bool folder)
{
    if (m_data.targetIsFolder == folder)
        return;
    m_data.targetIsFolder = folder;
    emit targetKindChanged(folder);
}

void Project::setUseLongNames(bool longNames)
{
    m_data.useLongNames = longNames;
}

void Project::setIcon(const IconPicture& icon)
{
    m_data.icon = icon;
    emit iconChanged();
}

void Project::ClearSlot(int n)
{
    setSlot(n, QString());
    if (IsRowSlot(n))
        setMenuText(RowOfSlot(n), std::nullopt);
    if (n == IconSlot)
        setIcon(MainIconListPicture(5));
}

void Project::ClearAllSlots()
{
    for (int n = 0; n < SlotCount; ++n)
        ClearSlot(n);
}

void Project::ResetProject()
{
    ClearAllSlots();
    UpdateRootDependentControls();
    UpdateOkButton();
}

void Project::UpdateRootDependentControls()
{
    m_rootDependentEnabled = !m_data.cdRootPath.isEmpty();
    emit rootDependentEnabledChanged(m_rootDependentEnabled);
}

void Project::UpdateOkButton()
{
    m_okEnabled = !m_data.cdRootPath.isEmpty() && !IsPathEmpty(m_data.slotPaths.at(TargetSlot));
    emit okEnabledChanged(m_okEnabled);
}

void Project::LockPathFields()
{
    m_pathFieldsLocked = true;
    emit pathFieldsLockedChanged();
}

void Project::TakeCdRoot(const QString& folder)
{
    if (folder.isEmpty())
        return;
    ResetProject();
    // Windows takes "/" as well; the disc entries and the inside-the-root
    // test work on the system's own separator.
    m_data.cdRootPath = AddBackslash(QDir::toNativeSeparators(folder));
    m_data.cdRootShortPath = GetShortPath(m_data.cdRootPath);
    setSlot(CdRootSlot, m_data.cdRootPath);
    UpdateRootDependentControls();
    UpdateOkButton();
}

bool Project::IsInsideCdRoot(const QString& path) const
{
    const QString& root = m_data.cdRootPath;
    if (root.isEmpty() || path.size() < root.size())
        return false;
    return QStringView(path).left(root.size()).compare(root, PathCase) == 0;
}

void Project::AcceptSlotPath(int n, const QString& chosen)
{
    const QString path = QDir::toNativeSeparators(chosen);
    setSlot(n, path);
    if (IsRowSlot(n) && IsMenuTextEmpty(menuText(RowOfSlot(n))))
        setMenuText(RowOfSlot(n), DefaultMenuText(path));
}

QString Project::DefaultMenuText(const QString& path)
{
    const QString name = path.section(PathSeparator(), -1);
    return name.section(QLatin1Char('.'), 0, 0);
}

bool Project::IsMenuTextEmpty(const std::optional<QString>& text)
{
    // Judged as the file will carry it, so that a text of control characters
    // alone counts as empty here and in AutoRun.Inf alike.
    return !text || MenuTextForFile(*text).isEmpty();
}

bool Project::IsPathEmpty(const QString& path)
{
    return TrimBlanks(path).isEmpty();
}

} // namespace velkaro
