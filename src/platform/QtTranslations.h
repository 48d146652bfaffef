#pragma once

class QCoreApplication;

namespace velkaro {

// Velkaro speaks German whatever the desktop's language: Qt's own texts (the
// buttons of message boxes, the file and folder dialogs) follow it. Gives
// false where Qt's German translations are not installed; Qt then keeps its
// English texts.
bool InstallGermanQtTranslations(QCoreApplication& app);

} // namespace velkaro
