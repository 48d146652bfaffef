#pragma once

#include <QString>

namespace velkaro {

// The per-user settings store, addressed as application "Marlenhof Software",
// section "Velkaro 2005" and a key. Values are text.

// Gives false when the store could not be written; the value is then lost.
bool SaveAppSetting(const QString& key, const QString& value);
bool SaveAppSetting(const QString& key, int value);
QString GetAppSetting(const QString& key, const QString& defaultValue);

// Tests keep their settings in a file of their own (INI format); an empty
// path returns to the user's real store.
void SetSettingsFileForTesting(const QString& path);

} // namespace velkaro
