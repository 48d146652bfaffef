#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace velkaro {

bool InstallGermanQtTranslations(QCoreApplication& app)
{
    QStringList folders{QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
#ifdef Q_OS_WIN
    // Windows has no shared Qt: the translations travel with the program.
    folders.prepend(QCoreApplication::applicationDirPath() + QStringLiteral("/translations"));
#endif
    auto* translator = new QTranslator(&app);
    for (const QString& folder : folders) {
        if (translator->load(QStringLiteral("qtbase_de"), folder))
            return QCoreApplication::installTranslator(translator);
    }
    delete translator;
    return false;
}

} // namespace velkaro
