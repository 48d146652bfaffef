#pragma once

#include <QString>
#include <memory>

class QSettings;

namespace velkaro {

// The per-user settings store, addressed as application "Marlenhof Software",
// section "Velkaro 2005" and a key, opened at that section. Values are text.
std::unique_ptr<QSettings> OpenAppSettings();

// Gives false when the store could not be written; the value is then lost.
bool SaveAppSetting(QSettings& store, const QString& key, const QString& value);
bool SaveAppSetting(QSettings& store, const QString& key, int value);
QString GetAppSetting(const QSettings& store, const QString& key, const QString& defaultValue);

} // namespace velkaro
