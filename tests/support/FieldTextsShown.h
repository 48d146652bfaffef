#pragma once
#include <QString>

// The main window's texts for no path, no menu text and the icons without a file.
namespace velkaro::test {
inline const QString PleaseChoose = QStringLiteral("(Bitte wählen ...)");
inline const QString NoMenu = QStringLiteral("(kein)");
inline const QString LauncherIcon = QStringLiteral("(Standardeinstellung)");
inline const QString LibraryIcon = QStringLiteral("(Bibliothek)");
} // namespace velkaro::test
