#pragma once

#include "ProjectLayout.h"

namespace velkaro {

// The indices of Form1's button array Btn, on which Btn_Click dispatches.
// Indices that no button has are not listed.
enum Form1Button : int
{
    SystemCheckButton = 0,  // "&Prüfe Autostart-Optionen von Windows"
    OkButton = 1,           // "&OK"
    IconLibraryButton = 2,  // "Bibliothek"
    ViewSwitchButton = 3,   // "Erweiterte Ansicht >>" / "Kompakte Ansicht <<"
    CdRootButton = 4,       // "&Auswahl ..." of section (1)
    TargetButton = 5,       // "&Auswahl ..." of section (2)
    IconFileButton = 7,     // "&Auswahl ..." of section (4)
    NoIconButton = 8,       // "Kein" of section (4)
    DefaultIconButton = 13, // "Standard"
    InfoButton = 20,        // "&Info"
    HelpButton = 21,        // "H&ilfe"
    QuitButton = 22,        // "&Beenden"
    // Context row i has "Kein" and "&Auswahl ..." at these indices plus i.
    FirstClearRowButton = 30,
    FirstChooseRowButton = 40
};

constexpr int ClearRowButton(int row)
{
    return FirstClearRowButton + row;
}

constexpr int ChooseRowButton(int row)
{
    return FirstChooseRowButton + row;
}

static_assert(ClearRowButton(ProjectLayout::RowCount - 1) < FirstChooseRowButton,
              "the row buttons of one kind would take the indices of the other");

} // namespace velkaro
