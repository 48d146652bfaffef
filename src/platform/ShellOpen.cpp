#include "ShellOpen.h"

#include "TestHooks.h"

#include <QDesktopServices>
#include <QRegularExpression>
#include <utility>

namespace velkaro {

namespace {

struct Recorder
{
    bool active = false;
    QList<ShellOpenRequest> requests;
};

Recorder& recorder()
{
    static Recorder instance;
    return instance;
}

bool IsWebAddress(const QString& path)
{
    // Two letters at least, so that a drive letter ("C:\...") stays a file.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+://"));
    return scheme.match(path).hasMatch();
}

} // namespace

QUrl ShellOpenUrl(const QString& path)
{
    if (IsWebAddress(path))
        return QUrl(path, QUrl::TolerantMode);
    return QUrl::fromLocalFile(path);
}

void ShellOpen(const QString& path, qint16 windowState)
{
    const ShellOpenRequest request{path, ShellOpenUrl(path),
                                   windowState == 0 ? ShellWindowNormal : windowState};
    Recorder& r = recorder();
    if (r.active) {
        r.requests.append(request);
        return;
    }
    QDesktopServices::openUrl(request.url);
}

void SetShellOpenRecordingForTesting(bool recording)
{
    NoteTestHookReset([] { recorder() = Recorder(); });
    recorder().active = recording;
    recorder().requests.clear();
}

QList<ShellOpenRequest> TakeShellOpenRequests()
{
    return std::exchange(recorder().requests, {});
}

} // namespace velkaro
