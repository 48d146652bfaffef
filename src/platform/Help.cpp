#include "Help.h"

#include "HelpFile.h"
#include "MakerInfo.h"
#include "MessageText.h"
#include "Messages.h"
#include "ShellOpen.h"
#include "Titles.h"

namespace velkaro {

void ShowHelp(Presenter& presenter, const QString& programFolder)
{
    const QString path = FindLocalHelpFile(programFolder);
    if (!path.isEmpty()) {
        ShellOpen(presenter, path, 0);
        return;
    }
    const QString question = FormatText(
        QStringLiteral("Die aktuelle Anleitung zu ''%1'' ist online bei ") + MakerSiteName() +
            QStringLiteral(" verfügbar.\\n\\nKlicken Sie bitte ''OK'', um diese Seite jetzt "
                           "anzeigen zu lassen ..."),
        {ProductTitle()});
    if (ShowMessage(question, MessageIcon::Information, MessageButtons::OkCancel) ==
        MessageAnswer::Ok)
        OpenOnlineManual(presenter);
}

void OpenMakerSite(Presenter& presenter, const QString& suffix)
{
    ShellOpen(presenter, MakerWebAddress() + suffix, ShellWindowMaximised);
}

void OpenOnlineManual(Presenter& presenter)
{
    ShellOpen(presenter, ProductPageAddress(), ShellWindowMaximised);
}

} // namespace velkaro
