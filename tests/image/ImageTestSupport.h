#pragma once

// What the tests of velkaro-image share: running it and the programs that
// read its images back (xorriso, genisoimage's isoinfo), which no one here wrote.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTest>

namespace velkaro::test {

struct Run
{
    int exitCode = -1; // -1 when the program crashed or did not end
    QByteArray out;
    QByteArray err;
    QString text() const { return QString::fromUtf8(out + err); }
};

inline Run
RunTool(const QString& program, const QStringList& arguments,
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    Run run;
    if (!process.waitForFinished(300000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

inline QProcessEnvironment ImageEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("SOURCE_DATE_EPOCH"));
    return env;
}

inline Run RunImage(const QStringList& arguments,
                    const QProcessEnvironment& environment = ImageEnvironment())
{
    return RunTool(QStringLiteral(VELKARO_IMAGE_PROGRAM), arguments, environment);
}

inline bool HaveReaders()
{
    return !QStringLiteral(VELKARO_XORRISO).isEmpty() && !QStringLiteral(VELKARO_ISOINFO).isEmpty();
}

#define REQUIRE_READERS()                                                                          \
    if (!velkaro::test::HaveReaders())                                                             \
    QSKIP("xorriso oder isoinfo fehlt (Debian-Pakete xorriso, genisoimage; siehe PACKAGES in "     \
          "./dev)")

inline void MakeFile(const QString& path, const QByteArray& bytes)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

inline QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<fehlt>");
}

// The names in a folder, hidden ones too.
inline QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// A CD root as Velkaro leaves it, by hand: the launcher and AutoRun.Inf.
inline void MakeDisc(const QString& root, const QByteArray& section)
{
    MakeFile(root + "/Pirolo.Exe", "MZ stand-in");
    MakeFile(root + "/AutoRun.Inf", "[autorun]\r\n" + section);
}

} // namespace velkaro::test
