#pragma once

#include <QDialog>
#include <array>

class QGroupBox;
class QListWidget;
class QPushButton;

namespace velkaro {

class Project;

// The icon library as a grid of numbered icons. The user picks one and
// confirms with "OK" (or a double-click), or leaves with "Abbrechen", Escape
// or the close box, which change nothing. Built anew at every opening.
class SelIconDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SelIconDialog(Project& project, QWidget* parent = nullptr);

    // Sets the caption and fills the list with one item per library icon.
    void Form_Load();
    // 0 is "OK": the selected icon becomes the disc's icon; any other index
    // is "Abbrechen". Either closes the dialog.
    void Btn_Click(int index);

    QGroupBox* Frame1 = nullptr;
    QListWidget* IconListView = nullptr;
    std::array<QPushButton*, 2> Btn{};

private:
    Project& m_project;
};

// Shows the library dialog modally, centred on the screen; returns the number
// of the icon taken into the project, or 0 when the user left without one.
int ShowIconLibrary(Project& project, QWidget* parent = nullptr);

} // namespace velkaro
