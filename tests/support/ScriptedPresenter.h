#pragma once

#include "Dialogs.h"
#include "Presenter.h"
#include "ShellOpen.h"

#include <QList>
#include <QQueue>

namespace velkaro::test {

// Answers the folder browser and the file-open dialog from queues and
// records what would be opened: no dialog appears and nothing starts. Each
// request is recorded; a dialog's result is the next one queued for its kind,
// or Cancel (the empty text) when none is.
class ScriptedPresenter final : public Presenter
{
public:
    QString runDialog(QWidget* owner, const DialogRequest& request) override;
    void open(const ShellOpenRequest& request) override;

    // The results as the platform dialog would hand them back, before the
    // clean-up that BrowseForFolder and ShowOpenDocumentDialog apply.
    void setNextFolderResult(const QString& folder);
    void setNextFileResult(const QString& file);
    const QList<DialogRequest>& requests() const { return m_requests; }
    QList<DialogRequest> takeRequests();
    // What was to be opened since the last call.
    QList<ShellOpenRequest> takeOpened();

private:
    QQueue<QString> m_folders;
    QQueue<QString> m_files;
    QList<DialogRequest> m_requests;
    QList<ShellOpenRequest> m_opened;
};

} // namespace velkaro::test
