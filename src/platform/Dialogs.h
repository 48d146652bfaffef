#pragma once

#include <QList>
#include <QString>

class QWidget;

namespace velkaro {

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

// The folder browser and the file-open dialog of the choosers.
//
// Tests switch to scripted results: no dialog appears, each request is
// recorded, and the result is the next one queued for that kind of dialog,
// or Cancel (the empty text) when none is.
class Dialogs
{
public:
    static void setScripted(bool scripted);
    static bool isScripted();
    // The results as the platform dialog would hand them back, before the
    // clean-up that BrowseForFolder and ShowOpenDocumentDialog apply.
    static void setNextFolderResult(const QString& folder);
    static void setNextFileResult(const QString& file);
    static const QList<DialogRequest>& requests();
    static QList<DialogRequest> takeRequests();
};

// Shows a modal browser for file-system folders. Gives the chosen folder with
// the system's separators and no closing separator (except for the root of
// the file system or of a drive), or the empty text on Cancel.
QString BrowseForFolder(QWidget* owner, const QString& title);

// Shows a modal dialog for one existing file. filter is a list of
// "Description|pattern|" pairs, empty for all files. When current holds an
// absolute path the dialog opens on that file, otherwise in cdRootPath. Gives
// the full path of the chosen file, or the empty text on Cancel or failure.
QString ShowOpenDocumentDialog(QWidget* owner, const QString& current, const QString& filter,
                               const QString& cdRootPath);

// Turns "Description|pattern|" pairs into Qt's "Description (pattern)"
// entries, one per pair; an empty list gives all files.
QStringList QtNameFilters(const QString& filter);

// True when the text is an absolute path of this system: on Windows one
// with a drive (it holds ":\"), elsewhere one that begins with "/". The
// sentinel texts of the fields never are.
bool HoldsAbsolutePath(const QString& text);

} // namespace velkaro
