#pragma once

// What the tests of the installation share: running a tool, reading files.

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct Run
{
    int exitCode = -1; // -1 also when the program crashed or did not end
    QString out;
    QString err;
};

Run RunProgram(const QString& program, const QStringList& arguments,
               const QString& workingFolder = QString(),
               const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

QByteArray ReadAll(const QString& path);

// The text of a symbolic link as stored, not resolved.
QString LinkText(const QString& path);

// Every install from the build folder (cmake --install, cpack) rewrites its
// install_manifest.txt. A test puts back what was there, so that the list of
// a real installation survives a test run.
class KeepInstallManifest
{
public:
    explicit KeepInstallManifest(const QString& path);
    ~KeepInstallManifest();
    KeepInstallManifest(const KeepInstallManifest&) = delete;
    KeepInstallManifest& operator=(const KeepInstallManifest&) = delete;

private:
    QString m_path;
    bool m_existed = false;
    QByteArray m_content;
};
