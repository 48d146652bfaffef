#include "AppSettings.h"

#include "Titles.h"

#include <QSettings>

namespace velkaro {

std::unique_ptr<QSettings> OpenAppSettings()
{
#ifdef Q_OS_WIN
    // The registry, HKEY_CURRENT_USER\Software\Marlenhof Software\Velkaro 2005:
    // application and section are the two key levels, as Windows programs
    // keep their settings. Nothing is read from the machine-wide keys.
    auto store = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("Marlenhof Software"), ProductTitle());
    store->setFallbacksEnabled(false);
#else
    auto store =
        std::make_unique<QSettings>(QSettings::UserScope, QStringLiteral("Marlenhof Software"));
    store->beginGroup(ProductTitle());
#endif
    return store;
}

bool SaveAppSetting(QSettings& store, const QString& key, const QString& value)
{
    store.setValue(key, value);
    store.sync();
    return store.status() == QSettings::NoError;
}

bool SaveAppSetting(QSettings& store, const QString& key, int value)
{
    return SaveAppSetting(store, key, QString::number(value));
}

QString GetAppSetting(const QSettings& store, const QString& key, const QString& defaultValue)
{
    const QVariant value = store.value(key);
    return value.isValid() ? value.toString() : defaultValue;
}

} // namespace velkaro
