#include "ScriptedPresenter.h"

#include <utility>

namespace velkaro::test {

QString ScriptedPresenter::runDialog(QWidget*, const DialogRequest& request)
{
    m_requests.append(request);
    QQueue<QString>& results = request.kind == DialogKind::Folder ? m_folders : m_files;
    return results.isEmpty() ? QString() : results.dequeue();
}

void ScriptedPresenter::open(const ShellOpenRequest& request)
{
    m_opened.append(request);
}

void ScriptedPresenter::setNextFolderResult(const QString& folder)
{
    m_folders.enqueue(folder);
}

void ScriptedPresenter::setNextFileResult(const QString& file)
{
    m_files.enqueue(file);
}

QList<DialogRequest> ScriptedPresenter::takeRequests()
{
    return std::exchange(m_requests, {});
}

QList<ShellOpenRequest> ScriptedPresenter::takeOpened()
{
    return std::exchange(m_opened, {});
}

} // namespace velkaro::test
