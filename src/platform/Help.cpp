#include "Help.h"

#include "FileHelpers.h"
#include "MakerInfo.h"
#include "MessageBox.h"
#include "MessageText.h"
#include "ShellOpen.h"
#include "Titles.h"

#include <QStringList>

namespace velkaro {

QString FindLocalHelpFile()
{
    const QString folder = ProgramFolder();
    const QStringList folders{folder, folder + QStringLiteral("hilfe") + PathSeparator()};
    const QStringList names{QStringLiteral("index"), QStringLiteral("hilfe")};
    const QStringList extensions{QStringLiteral(".htm"), QStringLiteral(".html")};
    for (const QString& f : folders) {
        for (const QString& name : names) {
            for (const QString& extension : extensions) {
                const QString candidate = f + name + extension;
                if (FileExists(candidate))
                    return candidate;
            }
        }
    }
    return QString();
}

void ShowHelp()
{
    const QString path = FindLocalHelpFile();
    if (!path.isEmpty()) {
        ShellOpen(path, 0);
        return;
    }
    const QString question = FormatText(
        QStringLiteral("Die aktuelle Anleitung zu ''%1'' ist online bei ") + MakerSiteName() +
            QStringLiteral(" verfügbar.\\n\\nKlicken Sie bitte ''OK'', um diese Seite jetzt "
                           "anzeigen zu lassen ..."),
        {ProductTitle()});
    if (MessageBox::show(question, MessageIcon::Information, MessageButtons::OkCancel) ==
        MessageAnswer::Ok)
        OpenOnlineManual();
}

void OpenMakerSite(const QString& suffix)
{
    ShellOpen(MakerWebAddress() + suffix, ShellWindowMaximised);
}

void OpenOnlineManual()
{
    ShellOpen(ProductPageAddress(), ShellWindowMaximised);
}

} // namespace velkaro
