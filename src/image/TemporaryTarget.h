#pragma once

#include <QByteArray>
#include <QString>

namespace velkaro::image {

// The file an image is written into, beside the target, so that the target
// is replaced in one step or not at all. It is removed unless it is
// committed.
class TemporaryTarget
{
public:
    explicit TemporaryTarget(const QString& target);
    ~TemporaryTarget();
    TemporaryTarget(const TemporaryTarget&) = delete;
    TemporaryTarget& operator=(const TemporaryTarget&) = delete;

    // Gives the error number when no file could be made.
    int Create();
    int fd() const { return m_fd; }
    QString path() const;
    void Close();
    // Gives the error number when the target could not be replaced (EBUSY:
    // another program has it open); `folder` is the target's, synced so
    // that the new name survives a power cut.
    int Commit(const QString& folder);

private:
    QByteArray m_target;
    QByteArray m_path; // empty until created
    int m_fd = -1;
    bool m_committed = false;
};

} // namespace velkaro::image
