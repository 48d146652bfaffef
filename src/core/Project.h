#pragma once

#include "IconPicture.h"
#include "ProjectLayout.h"

#include <QObject>
#include <QString>
#include <array>
#include <optional>

namespace velkaro {

// A menu text as AutoRun.Inf carries it: control characters become blanks
// (so that a pasted line break cannot start a line of its own), then trimmed.
QString MenuTextForFile(const QString& text);

// Where the disc's icon comes from.
enum class IconSource
{
    None,     // no icon entry
    Launcher, // the launcher's own icon
    Library,  // a picture of the icon library, written as AutoRun.Ico
    OwnFile   // an icon file below the CD root, named by the icon slot
};

// Everything one autostart project holds. Plain data, so that a test can
// take it before and after a command and compare.
struct ProjectData
{
    // The paths of the slots as ProjectLayout places them, empty while none
    // is chosen. The icon slot holds one only for IconSource::OwnFile.
    std::array<QString, ProjectLayout::SlotCount> slotPaths;
    // The menu texts of the context rows, row i paired with slot RowSlot(i):
    // none, or a text as typed or as a document's name gave it. A text that
    // is blank counts as none too, but is shown as it is.
    std::array<std::optional<QString>, ProjectLayout::RowCount> menuTexts;
    IconSource iconSource = IconSource::None;
    bool targetIsFolder = false; // "&Ordner" rather than "&Datei"
    bool useLongNames = true;    // the hidden long-names switch
    IconPicture icon;
    QString cdRootPath;      // long form, ends with the separator; empty until chosen
    QString cdRootShortPath; // short form of cdRootPath

    bool operator==(const ProjectData&) const = default;
};

// The one project of a run, with the operations that reset it and derive the
// enabled state of the window's commands. The window shows it through the
// signals and writes back only what the user types into the menu texts.
class Project : public QObject, public ProjectLayout
{
    Q_OBJECT

public:
    explicit Project(QObject* parent = nullptr);

    const ProjectData& data() const { return m_data; }

    QString slot(int n) const { return m_data.slotPaths.at(n); }
    // For the icon slot a path is an own icon file, the empty path no icon.
    void setSlot(int n, const QString& path);
    IconSource iconSource() const { return m_data.iconSource; }
    // The icon slot: its source and, for an own file, the file's path.
    void setIconSlot(IconSource source, const QString& path = QString());
    const std::optional<QString>& menuText(int row) const { return m_data.menuTexts.at(row); }
    // Signals also when the text stays, so that the window shows it anew
    // where the field held another form of the same (a cleared row).
    void setMenuText(int row, const std::optional<QString>& text);
    bool targetIsFolder() const { return m_data.targetIsFolder; }
    void setTargetIsFolder(bool folder);
    bool useLongNames() const { return m_data.useLongNames; }
    void setUseLongNames(bool longNames);
    const IconPicture& icon() const { return m_data.icon; }
    void setIcon(const IconPicture& icon);
    QString cdRootPath() const { return m_data.cdRootPath; }
    QString cdRootShortPath() const { return m_data.cdRootShortPath; }

    // Enabled states as the last Update... operation derived them.
    bool rootDependentEnabled() const { return m_rootDependentEnabled; }
    bool okEnabled() const { return m_okEnabled; }
    bool pathFieldsLocked() const { return m_pathFieldsLocked; }

    void ClearSlot(int n);
    void ClearAllSlots();
    void ResetProject();
    void UpdateRootDependentControls();
    void UpdateOkButton();
    void LockPathFields();

    // Takes a chosen folder as the new CD root: the project is emptied first,
    // also when it is the same root again.
    void TakeCdRoot(const QString& folder);
    // True when the first characters of path are the CD root (letter case
    // ignored where the file system ignores it).
    bool IsInsideCdRoot(const QString& path) const;
    // Puts an accepted path into slot n (TargetSlot to IconSlot); for a context document it
    // gives an empty menu text the document's name.
    void AcceptSlotPath(int n, const QString& path);

    // The menu text a document gives: its name up to the first ".".
    static QString DefaultMenuText(const QString& path);
    static bool IsMenuTextEmpty(const std::optional<QString>& text);
    static bool IsPathEmpty(const QString& path);

signals:
    void slotChanged(int n);
    void menuTextChanged(int row);
    void targetKindChanged(bool folder);
    void iconChanged();
    void rootDependentEnabledChanged(bool enabled);
    void okEnabledChanged(bool enabled);
    void pathFieldsLockedChanged();

private:
    ProjectData m_data;
    bool m_rootDependentEnabled = false;
    bool m_okEnabled = false;
    bool m_pathFieldsLocked = false;
};

} // namespace velkaro
