#include "TemporaryTarget.h"

#include "LocalSystem.h"

namespace velkaro::image {

TemporaryTarget::TemporaryTarget(const QString& target) : m_target(LocalPath(target)) {}

TemporaryTarget::~TemporaryTarget()
{
    Close();
    if (!m_committed && !m_path.isEmpty())
        RemoveFile(m_path);
}

int TemporaryTarget::Create()
{
    return CreateFileBeside(m_target, &m_fd, &m_path);
}

QString TemporaryTarget::path() const
{
    return LocalPathText(m_path);
}

void TemporaryTarget::Close()
{
    if (m_fd >= 0)
        CloseFile(m_fd);
    m_fd = -1;
}

int TemporaryTarget::Commit(const QString& folder)
{
    Close();
    if (const int error = PutInPlace(m_path, m_target))
        return error;
    m_committed = true;
    SyncFolder(LocalPath(folder));
    return 0;
}

} // namespace velkaro::image
