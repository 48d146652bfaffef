#pragma once

#include <QCommandLineParser>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

namespace velkaro::companion {

// What a command-line companion returns to the shell.
enum Exit : int
{
    Done = 0,     // written, or found in order
    Refused = 1,  // a refusal or a failure; its text is on standard error
    WrongCall = 2 // the call itself is wrong; its text and the way to --help on standard error
};

// One line on standard output or standard error, out at once: a progress
// line may share the terminal. On a Windows console the text goes out as
// UTF-16, so umlauts show whatever the console's code page; anywhere else
// (a file, a pipe, Linux) as UTF-8.
void Say(const QString& line);
void SayError(const QString& line);
// Text on standard error without a line end, for a progress line that
// rewrites itself.
void WriteError(const QString& text);

// A refusal or failure: each line on standard error; gives Exit::Refused.
int Refuse(const QStringList& lines);
int Refuse(const QString& line);

// Reads the options of a companion with QCommandLineParser and answers
// --help (the program's own German text) and --version itself. Every wrong
// call is told in German, with the way to the help, and gives Exit::WrongCall.
class CommandLine
{
public:
    // program: the name that messages use ("velkaro-image"); help: the whole
    // text of --help; version: the line of --version.
    CommandLine(const QString& program, const QString& help, const QString& version);

    // A switch without a value.
    void AddSwitch(const QStringList& names);
    // An option with a value. missingValue is the message when the value is
    // missing or empty, %1 the option as written; the default names no value.
    enum class Empty
    {
        Refused,
        Allowed
    };
    void AddValue(const QStringList& names, const QString& missingValue = {},
                  Empty empty = Empty::Refused);

    // Reads the whole argument list, the program's own name first
    // (QCoreApplication::arguments()). Gives an exit code when the call is
    // over already: --help or --version shown, or a wrong call told.
    std::optional<int> Read(const QStringList& arguments);

    bool IsSet(const QString& name) const;
    QString Value(const QString& name) const;      // the last one given
    QStringList Values(const QString& name) const; // every one, in order
    QStringList Positional() const;

    // SOURCE_DATE_EPOCH, when set, is the moment that the written files
    // name, so that the same sources give the same bytes: its seconds, or
    // nothing when it is not set. A value that is no such number (or lies
    // past the year 9999) is a wrong call: then its exit code.
    std::optional<int> ReadSourceDateEpoch(std::optional<qint64>& seconds) const;

    // Tells a wrong call: the text, then where the help is; gives Exit::WrongCall.
    int WrongCallText(const QString& text) const;

private:
    // The first wrong option of the call, worded from the table of options
    // (unknown, a value missing or one too many); nothing when all are known.
    std::optional<QString> OwnWrongCall(const QStringList& arguments) const;
    QString WrittenAs(const QStringList& arguments, const QString& name) const;
    QString MissingValueText(const QString& written) const;

    QString m_program;
    QString m_help;
    QString m_version;
    QCommandLineParser m_parser;
    QHash<QString, QString> m_missingValue; // by each name of an option with a value
    QHash<QString, QString> m_firstName;    // the option's first name, by each of its names
    QHash<QString, bool> m_takesValue;      // whether it takes a value, by each name
    QStringList m_mustNotBeEmpty;           // the first name of each such option
};

} // namespace velkaro::companion
