#pragma once

#include <QFile>
#include <QString>

// Every install from the build folder (cmake --install, cpack) rewrites its
// install_manifest.txt. A test puts back what was there, so that the list of
// a real installation survives a test run.
class KeepInstallManifest
{
public:
    explicit KeepInstallManifest(const QString& path) : m_path(path)
    {
        QFile file(m_path);
        m_existed = file.open(QIODevice::ReadOnly);
        if (m_existed)
            m_content = file.readAll();
    }
    ~KeepInstallManifest()
    {
        if (!m_existed) {
            QFile::remove(m_path);
            return;
        }
        QFile file(m_path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(m_content);
    }
    KeepInstallManifest(const KeepInstallManifest&) = delete;
    KeepInstallManifest& operator=(const KeepInstallManifest&) = delete;

private:
    QString m_path;
    bool m_existed = false;
    QByteArray m_content;
};
