#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace velkaro {

class Presenter;

enum class DialogKind
{
    Folder,
    OpenFile
};

// One dialog as it was asked for: the kind, the title, the filter list in
// Qt's form (empty for the folder browser) and where it was to open. For the
// file dialog the start is either a file to preselect or a folder.
struct DialogRequest
{
    DialogKind kind;
    QString title;
    QString filter;
    QString startPath;
    bool startIsFile = false;

    bool operator==(const DialogRequest&) const = default;
};

// Shows a modal browser for file-system folders. Gives the chosen folder with
// the system's separators and no closing separator (except for the root of
// the file system or of a drive), or the empty text on Cancel.
QString BrowseForFolder(Presenter& presenter, QWidget* owner, const QString& title);

// Shows a modal dialog for one existing file. filter is a list of
// "Description|pattern|" pairs, empty for all files. When current holds an
// absolute path the dialog opens on that file, otherwise in cdRootPath. Gives
// the full path of the chosen file, or the empty text on Cancel or failure.
QString ShowOpenDocumentDialog(Presenter& presenter, QWidget* owner, const QString& current,
                               const QString& filter, const QString& cdRootPath);

// Turns "Description|pattern|" pairs into Qt's "Description (pattern)"
// entries, one per pair; an empty list gives all files.
QStringList QtNameFilters(const QString& filter);

} // namespace velkaro
