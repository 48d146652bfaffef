#include "PathChoosers.h"

#include "Dialogs.h"
#include "FileHelpers.h"
#include "IconFile.h"
#include "Messages.h"
#include "PathRules.h"
#include "Project.h"

namespace velkaro {

namespace {

QString OutsideQuestionText()
{
    return OutsideRootText() + QStringLiteral("\r\r") +
           QStringLiteral("Möchten Sie die Eingabe jetzt wiederholen?");
}

} // namespace

bool ChooseCdRoot(Project& project, Presenter& presenter, QWidget* owner)
{
    const QString folder = BrowseForFolder(
        presenter, owner,
        QStringLiteral("Wo liegt das Hauptverzeichnis Ihres CD-Projekts auf der Festplatte?"));
    if (folder.isEmpty())
        return false;
    project.TakeCdRoot(folder);
    return true;
}

bool ChooseSlotPath(Project& project, int n, Presenter& presenter, QWidget* owner)
{
    const QString filter =
        n == Project::IconSlot ? QStringLiteral("Icons (*.ico)|*.ico|") : QString();
    const bool folderMode = n == Project::TargetSlot && project.targetIsFolder();
    for (;;) {
        QString path;
        if (folderMode) {
            path = BrowseForFolder(
                presenter, owner,
                QStringLiteral("Bitte wählen Sie den beim CD-Autostart zu öffnenden Ordner aus:"));
            if (!path.isEmpty())
                path = AddBackslash(path);
        } else {
            path = ShowOpenDocumentDialog(presenter, owner, project.slot(n), filter,
                                          project.cdRootPath());
        }
        if (path.isEmpty())
            return false;

        const PathVerdict verdict = TakeChosenPath(project, n, path);
        if (verdict != PathVerdict::Outside)
            return verdict == PathVerdict::Accepted;

        if (ShowMessage(OutsideQuestionText(), MessageIcon::Error, MessageButtons::YesNo) !=
            MessageAnswer::Yes)
            return false;
    }
}

void ChooseIconFile(Project& project, Presenter& presenter, QWidget* owner)
{
    ChooseSlotPath(project, Project::IconSlot, presenter, owner);
    VerifyIconFile(project);
}

} // namespace velkaro
