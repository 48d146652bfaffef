#pragma once

#include <QString>

namespace velkaro::test {

// What the main window's fields show where the project holds no path, no
// menu text or an icon without a file; written out here, so that a change
// of the program's texts shows.
inline const QString PleaseChoose = QStringLiteral("(Bitte wählen ...)");
inline const QString NoMenu = QStringLiteral("(kein)");
inline const QString LauncherIcon = QStringLiteral("(Standardeinstellung)");
inline const QString LibraryIcon = QStringLiteral("(Bibliothek)");

} // namespace velkaro::test
