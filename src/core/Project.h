#pragma once

#include "IconPicture.h"
#include "ProjectLayout.h"

#include <QObject>
#include <QString>
#include <array>

namespace velkaro {

// A menu text as AutoRun.Inf carries it: control characters become blanks
// (so that a pasted line break cannot start a line of its own), then trimmed.
QString MenuTextForFile(const QString& text);

// Everything one autostart project holds. Plain data, so that a test can
// take it before and after a command and compare.
struct ProjectData
{
    // The slots as ProjectLayout places them.
    std::array<QString, ProjectLayout::SlotCount> slotTexts;
    // The menu texts of the context rows, row i paired with slot RowSlot(i).
    std::array<QString, ProjectLayout::RowCount> menuTexts;
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

    QString slot(int n) const { return m_data.slotTexts.at(n); }
    void setSlot(int n, const QString& text);
    QString menuText(int row) const { return m_data.menuTexts.at(row); }
    void setMenuText(int row, const QString& text);
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
    static bool IsMenuTextEmpty(const QString& text);
    static bool IsPathEmpty(const QString& text);

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
