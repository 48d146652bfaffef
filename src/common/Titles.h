#pragma once

#include <QString>

namespace velkaro {

// The product title names the main window, the settings section and the
// dialogs; the application title stands in the title bar of every message box.
inline QString ProductTitle()
{
    return QStringLiteral("Velkaro 2005");
}
inline QString AppTitle()
{
    return QStringLiteral("Velkaro");
}

} // namespace velkaro
