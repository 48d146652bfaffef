#pragma once

#include "ScriptedMessages.h"
#include "ScriptedPresenter.h"

#include <QDateTime>
#include <QSize>
#include <QString>
#include <QTemporaryDir>

namespace velkaro::test {

// Everything a test needs from outside the program, in places of its own:
// messages are scripted, and so are the dialogs of whatever is handed
// presenter(), which records documents and web pages instead of opening
// them; the settings live in a file of the test's own, the
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
    // To hand to the windows and the choosers in place of QtPresenter.
    ScriptedPresenter& presenter() { return m_presenter; }

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
    ScriptedPresenter m_presenter;
};

} // namespace velkaro::test
