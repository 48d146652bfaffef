#include "TemporaryTarget.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velkaro::image {

TemporaryTarget::TemporaryTarget(const QString& target)
    : m_target(QFile::encodeName(target)), m_path(m_target + ".XXXXXX")
{
}

TemporaryTarget::~TemporaryTarget()
{
    Close();
    if (!m_committed && m_created)
        unlink(m_path.constData());
}

int TemporaryTarget::Create()
{
    m_fd = mkstemp(m_path.data());
    if (m_fd < 0)
        return errno;
    m_created = true;
    // mkstemp makes it private; an image gets the permissions of any new file.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(m_fd, 0666 & ~mask);
    return 0;
}

QString TemporaryTarget::path() const
{
    return QFile::decodeName(m_path);
}

void TemporaryTarget::Close()
{
    if (m_fd >= 0)
        close(m_fd);
    m_fd = -1;
}

int TemporaryTarget::Commit(const QString& folder)
{
    Close();
    if (rename(m_path.constData(), m_target.constData()) != 0)
        return errno;
    m_committed = true;
    // The new name, too, must survive a power cut.
    const int folderFd = open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (folderFd >= 0) {
        fsync(folderFd);
        close(folderFd);
    }
    return 0;
}

} // namespace velkaro::image
