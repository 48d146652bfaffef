#pragma once

#include "Autostart.h"
#include "Project.h"

#include <QWidget>
#include <map>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSettings;
class QStatusBar;
class QTimer;

namespace velkaro {

class Presenter;
class ProgressWait;
struct Form1Control;

// What the main window takes from outside; main() hands it the real ones.
// The references must outlive the window.
struct Form1Environment
{
    Presenter& presenter; // its dialogs, the documents and web pages it opens
    QSettings& settings;  // where its position is kept
    ProgressWait& wait;   // how the System-Check's steps pass
    // The OK command's; its clock also runs the status bar, and the help
    // pages lie in its program folder.
    AutostartEnvironment autostart;
};

// The main window. Its controls stand where the layout table of the window
// puts them (twips / 15 = pixels); every button belongs to the array Btn and
// enters Btn_Click with its index.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(const Form1Environment& environment, QWidget* parent = nullptr);

    Project& project() { return m_project; }
    bool isCompactView() const { return m_compactView; }

    // The command of one button, as a click on it runs it.
    void Btn_Click(int index);
    void ToggleViewMode();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void BuildStatusBar();
    void SetTabOrder();
    void ConnectProject();
    void ShowMakerLogo();
    void Form_Load();
    void Form_Unload();
    void Image1_Click();
    void Image2_Click();
    void ShowIconPicture();
    void UpdateClock();
    void AddControl(const Form1Control& spec);
    void NameForScreenReaders(const Form1Control& spec, QWidget* control);

    Form1Environment m_environment;
    Presenter& m_presenter;
    Project m_project;
    std::map<int, QPushButton*> m_btn;
    std::map<int, QGroupBox*> m_frame;
    QLineEdit* m_pathTB[Project::SlotCount] = {};
    QLineEdit* m_kmLabelTB[Project::RowCount] = {};
    QLabel* m_label1[2] = {};
    QRadioButton* m_destTypeOpt[2] = {};
    QCheckBox* m_useLFNChk = nullptr;
    QLabel* m_iconPreviewImg = nullptr;
    QLabel* m_image1 = nullptr;
    QLabel* m_image2 = nullptr;
    QStatusBar* m_status = nullptr;
    QLabel* m_timePanel = nullptr;
    QLabel* m_datePanel = nullptr;
    QTimer* m_clock = nullptr;
    int m_typedRow = -1; // the menu text field whose typing the project takes

    // The view switch works from values taken once at start, in twips.
    bool m_compactView = false;
    int m_controlFrameTop = 0;
    int m_extendedHeight = 0;
};

} // namespace velkaro
