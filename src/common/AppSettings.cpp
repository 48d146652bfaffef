#include "AppSettings.h"

#include "TestHooks.h"
#include "Titles.h"

#include <QSettings>
#include <memory>

namespace velkaro {

namespace {

QString& SettingsFileOverride()
{
    static QString path;
    return path;
}

std::unique_ptr<QSettings> OpenStore()
{
    if (!SettingsFileOverride().isEmpty()) {
        auto store = std::make_unique<QSettings>(SettingsFileOverride(), QSettings::IniFormat);
        store->beginGroup(ProductTitle());
        return store;
    }
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

} // namespace

bool SaveAppSetting(const QString& key, const QString& value)
{
    auto store = OpenStore();
    store->setValue(key, value);
    store->sync();
    return store->status() == QSettings::NoError;
}

bool SaveAppSetting(const QString& key, int value)
{
    return SaveAppSetting(key, QString::number(value));
}

QString GetAppSetting(const QString& key, const QString& defaultValue)
{
    const QVariant value = OpenStore()->value(key);
    return value.isValid() ? value.toString() : defaultValue;
}

void SetSettingsFileForTesting(const QString& path)
{
    NoteTestHookReset([] { SettingsFileOverride().clear(); });
    SettingsFileOverride() = path;
}

} // namespace velkaro
