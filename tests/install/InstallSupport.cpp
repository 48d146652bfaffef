#include "InstallSupport.h"

#include <QFile>
#include <QProcess>
#include <unistd.h>

Run RunProgram(const QString& program, const QStringList& arguments, const QString& workingFolder,
               const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    if (!workingFolder.isEmpty())
        process.setWorkingDirectory(workingFolder);
    process.start(program, arguments);
    Run run;
    // Packaging on a busy machine takes a while; a hang must still end.
    if (!process.waitForFinished(600000)) {
        process.kill();
        process.waitForFinished();
        run.err = QStringLiteral("%1 lief nicht zu Ende: %2").arg(program, process.errorString());
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString LinkText(const QString& path)
{
    char target[4096] = {};
    const ssize_t length = readlink(QFile::encodeName(path).constData(), target, sizeof target - 1);
    return length > 0 ? QFile::decodeName(QByteArray(target, int(length))) : QString();
}

KeepInstallManifest::KeepInstallManifest(const QString& path) : m_path(path)
{
    QFile file(m_path);
    m_existed = file.open(QIODevice::ReadOnly);
    if (m_existed)
        m_content = file.readAll();
}

KeepInstallManifest::~KeepInstallManifest()
{
    if (!m_existed) {
        QFile::remove(m_path);
        return;
    }
    QFile file(m_path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(m_content);
}
