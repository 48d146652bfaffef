#pragma once

#include <QString>

namespace velkaro {

// The texts that stand in the fields when they hold no path or no menu text.
inline QString PleaseChooseText()
{
    return QStringLiteral("(Bitte wählen ...)");
}
inline QString NoMenuText()
{
    return QStringLiteral("(kein)");
}
inline QString DefaultIconText()
{
    return QStringLiteral("(Standardeinstellung)");
}
inline QString LibraryIconText()
{
    return QStringLiteral("(Bibliothek)");
}

} // namespace velkaro
