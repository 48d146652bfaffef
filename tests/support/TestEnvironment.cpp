#include "TestEnvironment.h"

#include "AppSettings.h"
#include "Clock.h"
#include "FileHelpers.h"
#include "TestHooks.h"
#include "WindowPlacement.h"

#include <QDir>

namespace velkaro::test {

TestEnvironment::TestEnvironment()
{
    QDir(m_dir.path()).mkpath(QStringLiteral("program"));
    SetSettingsFileForTesting(settingsFile());
    setProgramFolder(m_dir.filePath(QStringLiteral("program")));
    setScreenSize(QSize(1024, 768));
}

TestEnvironment::~TestEnvironment()
{
    ResetTestHooks();
}

QString TestEnvironment::settingsFile() const
{
    return m_dir.filePath(QStringLiteral("settings.ini"));
}

QString TestEnvironment::programFolder() const
{
    return ProgramFolder();
}

void TestEnvironment::setProgramFolder(const QString& folder)
{
    SetProgramFolderForTesting(QDir::toNativeSeparators(folder));
}

void TestEnvironment::setScreenSize(const QSize& pixels)
{
    SetScreenSizeForTesting(pixels);
}

void TestEnvironment::setClock(const QDateTime& moment)
{
    SetClockForTesting([moment] { return moment; });
}

} // namespace velkaro::test
