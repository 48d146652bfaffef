#pragma once

#include "Autostart.h"
#include "Form1.h"
#include "ScriptedMessages.h"
#include "ScriptedPresenter.h"
#include "StepRecorder.h"

#include <QDateTime>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace velkaro::test {

// Everything a test needs from outside the program, in places of its own:
// messages are scripted, and so are the dialogs of whatever is handed
// presenter(), which records documents and web pages instead of opening
// them; the settings live in a file of the test's own, the program folder
// is an empty folder of the test's own, and a System-Check started from a
// main window plays its steps at once into steps(). The clock stays the
// computer's until a test sets it. The screen is the offscreen platform's,
// 1024 x 768 (offscreen-1024x768.json).
// Make one in init() and destroy it in cleanup(), or one in a test function.
class TestEnvironment
{
public:
    TestEnvironment();
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    ScriptedMessages& messages() { return m_messages; }
    // To hand to the windows and the choosers in place of QtPresenter.
    ScriptedPresenter& presenter() { return m_presenter; }

    // The test's settings file (INI format), not there until written, and the
    // store on it, at the program's section as the program opens its own.
    QString settingsFile() const;
    QSettings& settings() { return *m_settings; }
    static std::unique_ptr<QSettings> OpenSettingsFile(const QString& path);

    // What the OK command and the main window are handed.
    const AutostartEnvironment& autostart() const { return m_autostart; }
    void setProgramFolder(const QString& folder);
    void setClock(const QDateTime& moment);
    StepRecorder& steps() { return m_steps; }
    Form1Environment form1Environment();

private:
    QTemporaryDir m_dir;
    ScriptedMessages m_messages;
    ScriptedPresenter m_presenter;
    std::unique_ptr<QSettings> m_settings;
    AutostartEnvironment m_autostart;
    StepRecorder m_steps;
};

} // namespace velkaro::test
