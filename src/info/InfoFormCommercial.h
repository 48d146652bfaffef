#pragma once

#include <QDialog>
#include <QLabel>

class QFrame;
class QPushButton;

namespace velkaro {

class Presenter;

// A picture that reacts to a click, for the maker's logo.
class ClickableImage : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The info text: title, version, tag line, the maker's line with the years
// up to currentYear, and the invitation to the maker's web site. Lines are
// separated by CR, as the label shows them.
QString InfoText(int currentYear);

// The info dialog: program, version and maker, with a way to the maker's site.
// Not modal; it deletes itself when closed. The maker's site opens through
// presenter, which must outlive the dialog.
class InfoFormCommercial : public QDialog
{
    Q_OBJECT

public:
    explicit InfoFormCommercial(Presenter& presenter, QWidget* parent = nullptr);

    ClickableImage* Image1 = nullptr;
    QLabel* Label0 = nullptr;
    QFrame* Line1 = nullptr;
    QPushButton* Btn1 = nullptr;
    QPushButton* Btn3 = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    void Btn_Click(int index);
    void Image1_Click();

    Presenter& m_presenter;
};

// The dialog's place on a screen of the given size: its top left corner on
// screens of 640 x 480 pixels and less, else the middle.
void PlaceInfoDialog(QWidget* dialog, QSize screen);

// The "&Info" command: opens the dialog, or brings the open one forward.
InfoFormCommercial* ShowInfoDialog(Presenter& presenter, QWidget* owner = nullptr);

} // namespace velkaro
