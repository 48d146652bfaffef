#include "TestEnvironment.h"

#include "Titles.h"

#include <QDir>

namespace velkaro::test {

TestEnvironment::TestEnvironment()
{
    QDir(m_dir.path()).mkpath(QStringLiteral("program"));
    m_settings = OpenSettingsFile(settingsFile());
    setProgramFolder(m_dir.filePath(QStringLiteral("program")));
}

QString TestEnvironment::settingsFile() const
{
    return m_dir.filePath(QStringLiteral("settings.ini"));
}

std::unique_ptr<QSettings> TestEnvironment::OpenSettingsFile(const QString& path)
{
    auto store = std::make_unique<QSettings>(path, QSettings::IniFormat);
    store->beginGroup(ProductTitle());
    return store;
}

void TestEnvironment::setProgramFolder(const QString& folder)
{
    m_autostart.programFolder = QDir::toNativeSeparators(folder);
}

void TestEnvironment::setClock(const QDateTime& moment)
{
    m_autostart.clock = [moment] { return moment; };
}

Form1Environment TestEnvironment::form1Environment()
{
    return {m_presenter, *m_settings, m_steps, m_autostart};
}

} // namespace velkaro::test
