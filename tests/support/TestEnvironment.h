#pragma once

#include "Dialogs.h"
#include "Messages.h"
#include "ShellOpen.h"

#include <QDateTime>
#include <QList>
#include <QSize>
#include <QString>
#include <QTemporaryDir>

namespace velkaro::test {

// Everything a test needs from outside the program, in places of its own:
// messages and dialogs are scripted, documents and web pages are recorded
// instead of opened, the settings live in a file of the test's own, the
// program folder is an empty folder of the test's own and the screen is
// 1024 x 768. The clock stays the computer's until a test sets it.
// When the environment goes, every test hook of the program is undone.
// Make one in init() and destroy it in cleanup(), or one in a test function.
class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    ScriptedMessages& messages() { return m_messages; }
    DialogScript& dialogs() { return m_dialogs; }
    // What ShellOpen was asked to open since the last call.
    QList<ShellOpenRequest> takeOpened();

    // The test's settings file (INI format), not there until written.
    QString settingsFile() const;
    // The program folder as the program sees it, with a closing separator.
    QString programFolder() const;
    void setProgramFolder(const QString& folder);
    void setScreenSize(const QSize& pixels);
    void setClock(const QDateTime& moment);

private:
    QTemporaryDir m_dir;
    ScriptedMessages m_messages;
    DialogScript m_dialogs;
};

} // namespace velkaro::test
