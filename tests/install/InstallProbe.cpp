// Runs the OK command from wherever this file is started, the way the
// installed program does: the launcher is found through ProgramFolder().
// The install test places it beside the installed program and starts it
// through a link in bin/, as the desktop starts velkaro.
//
// Call: velkaro-probe <CD root>. Prints the program folder and every message
// shown; exits 0 when the disc files were written.

#include "Autostart.h"
#include "FileHelpers.h"
#include "Project.h"
#include "ScriptedMessages.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

using namespace velkaro;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    if (argc != 2) {
        out << "Aufruf: velkaro-probe <CD-Wurzel>\n";
        return 2;
    }
    const QString cdRoot = QFile::decodeName(argv[1]);

    test::ScriptedMessages messages;
    messages.setNextAnswer(MessageAnswer::No);
    Project project;
    project.TakeCdRoot(cdRoot);
    project.AcceptSlotPath(Project::TargetSlot, AddBackslash(cdRoot) + QStringLiteral("start.htm"));
    project.UpdateOkButton();
    const AutostartOutcome outcome = WriteAutostart(project);

    out << "ProgramFolder=" << ProgramFolder() << '\n';
    for (const ShownMessage& message : messages.shown()) {
        out << "Message=" << message.text << '\n';
    }
    return outcome == AutostartOutcome::Completed ? 0 : 1;
}
