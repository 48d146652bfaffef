#include "Presenter.h"

#include "Dialogs.h"
#include "ShellOpen.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>

namespace velkaro {

namespace {

QString RunFolderDialog(QWidget* owner, const DialogRequest& request)
{
    return QFileDialog::getExistingDirectory(owner, request.title, QString(),
                                             QFileDialog::ShowDirsOnly);
}

QString RunFileDialog(QWidget* owner, const DialogRequest& request)
{
    QFileDialog dialog(owner, request.title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QStringList filters = request.filter.split(QStringLiteral(";;"));
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.first());
    if (request.startIsFile) {
        dialog.setDirectory(QFileInfo(request.startPath).absolutePath());
        dialog.selectFile(request.startPath);
    } else if (!request.startPath.isEmpty()) {
        dialog.setDirectory(request.startPath);
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

} // namespace

QString QtPresenter::runDialog(QWidget* owner, const DialogRequest& request)
{
    return request.kind == DialogKind::Folder ? RunFolderDialog(owner, request)
                                              : RunFileDialog(owner, request);
}

void QtPresenter::open(const ShellOpenRequest& request)
{
    QDesktopServices::openUrl(request.url);
}

} // namespace velkaro
