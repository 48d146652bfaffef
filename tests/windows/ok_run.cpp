// A scripted OK run on Windows: prepares a CD folder, runs the OK command as
// the main window's button does and checks what it left on the disc.
//
//   ok_run.exe PROGRAM_FOLDER [CD_FOLDER]
//
// PROGRAM_FOLDER holds the Pirolo.Exe to copy (the build's bin folder, or an
// installed Velkaro); CD_FOLDER, made if missing, defaults to a temporary
// folder. Exits 0 when AutoRun.Inf starts the page through the launcher and Pirolo.Exe on the
// disc is the program folder's byte for byte.
#include "Autostart.h"
#include "FileHelpers.h"
#include "Project.h"
#include "ScriptedMessages.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>

using namespace velkaro;

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int Fail(const char* what)
{
    std::fprintf(stderr, "ok_run: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return Fail("usage: ok_run.exe PROGRAM_FOLDER [CD_FOLDER]");
    const QString program =
        QDir::toNativeSeparators(QDir(QString::fromLocal8Bit(argv[1])).absolutePath());
    QTemporaryDir tmp;
    const QString root =
        QDir::toNativeSeparators(argc > 2 ? QDir(QString::fromLocal8Bit(argv[2])).absolutePath()
                                          : tmp.filePath("CD mit Autostart"));
    if (!QDir().mkpath(root + "\\start") ||
        !QFile(root + "\\start\\index.htm").open(QIODevice::WriteOnly))
        return Fail("cannot prepare the CD folder");

    // "Beenden?" is answered No; any other message is printed and fails the run.
    test::ScriptedMessages messages;
    messages.setNextAnswer(MessageAnswer::No);
    Project project;
    project.TakeCdRoot(root);
    project.AcceptSlotPath(1, root + "\\start\\index.htm");
    project.UpdateOkButton();
    AutostartEnvironment env;
    env.programFolder = AddBackslash(program);
    const AutostartOutcome outcome = WriteAutostart(project, env);
    for (const ShownMessage& shown : messages.shown())
        std::fprintf(stderr, "ok_run: message: %s\n", qPrintable(shown.text));
    if (outcome != AutostartOutcome::Completed)
        return Fail("the OK command did not complete");
    if (messages.shown().size() != 1)
        return Fail("the OK command showed other messages than its closing question");

    const QByteArray inf = ReadAll(root + "\\AutoRun.Inf");
    std::printf("%s\n", inf.constData());
    if (!inf.contains("open = Pirolo.Exe \"start\\index.htm\"\r\n"))
        return Fail("AutoRun.Inf does not start Pirolo.Exe");
    const QByteArray launcher = ReadAll(program + "\\Pirolo.Exe");
    if (launcher.isEmpty() || ReadAll(root + "\\Pirolo.Exe") != launcher)
        return Fail("Pirolo.Exe on the disc differs from the program's");
    std::printf("ok_run: AutoRun.Inf written, Pirolo.Exe copied (%lld bytes, identical)\n",
                static_cast<long long>(launcher.size()));
    return 0;
}
