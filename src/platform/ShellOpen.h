#pragma once

#include <QString>
#include <QUrl>

namespace velkaro {

class Presenter;

// Window states as the shell takes them.
inline constexpr qint16 ShellWindowNormal = 1;
inline constexpr qint16 ShellWindowMaximised = 3;

// One request as ShellOpen handed it on.
struct ShellOpenRequest
{
    QString path;
    QUrl url;
    qint16 windowState = ShellWindowNormal;
};

// Opens a document or web address in the program that the system associates
// with it and returns at once; whether anything opened is not reported.
// A window state of 0 means a normal window.
void ShellOpen(Presenter& presenter, const QString& path, qint16 windowState);

// A web address ("scheme://...") as it is; anything else as a local file.
QUrl ShellOpenUrl(const QString& path);

} // namespace velkaro
