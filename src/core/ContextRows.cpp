#include "ContextRows.h"

#include "Messages.h"
#include "Project.h"

namespace velkaro {

bool CheckContextRows(const Project& project)
{
    for (int row = 0; row < Project::RowCount; ++row) {
        const bool textFilled = !Project::IsMenuTextEmpty(project.menuText(row));
        const bool pathFilled = !Project::IsPathEmpty(project.slot(Project::RowSlot(row)));
        if (textFilled != pathFilled) {
            ShowInformation(QStringLiteral(
                "Ihre Angaben unter Schritt (3) sind nicht eindeutig: Ein vollständiger Eintrag "
                "besteht aus einem kurzen Text für das Kontextmenü sowie dem zugehörigen Pfad auf "
                "das betreffende Dokument. Möchten Sie einen Eintrag dagegen löschen, so benutzen "
                "Sie bitte den betr. Taster in der gleichen Zeile."));
            return false;
        }
    }
    return true;
}

} // namespace velkaro
