#include "ShellOpen.h"

#include "Presenter.h"

#include <QRegularExpression>

namespace velkaro {

namespace {

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

void ShellOpen(Presenter& presenter, const QString& path, qint16 windowState)
{
    presenter.open({path, ShellOpenUrl(path), windowState == 0 ? ShellWindowNormal : windowState});
}

} // namespace velkaro
