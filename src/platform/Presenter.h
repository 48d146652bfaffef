#pragma once

#include <QString>

class QWidget;

namespace velkaro {

struct DialogRequest;
struct ShellOpenRequest;

// What the windows ask of the desktop: the folder browser, the file-open
// dialog and opening documents and web pages. main() makes the real one and
// hands it to the main window, which passes it on to what it opens.
class Presenter
{
public:
    virtual ~Presenter() = default;

    // Shows the dialog modally and gives the path as the dialog hands it
    // back, before the clean-up of BrowseForFolder and ShowOpenDocumentDialog,
    // or the empty text on Cancel.
    virtual QString runDialog(QWidget* owner, const DialogRequest& request) = 0;
    // Hands the document or web page to the program that the system
    // associates with it and returns at once.
    virtual void open(const ShellOpenRequest& request) = 0;
};

// Qt's file dialogs and QDesktopServices. Qt has no way to pass a window
// state on, so the request's state goes unused.
class QtPresenter final : public Presenter
{
public:
    QString runDialog(QWidget* owner, const DialogRequest& request) override;
    void open(const ShellOpenRequest& request) override;
};

} // namespace velkaro
