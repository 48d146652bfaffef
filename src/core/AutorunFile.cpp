#include "AutorunFile.h"

#include "DiscVocabulary.h"
#include "LauncherCommandLine.h"
#include "Windows1252.h"

#include <QRegularExpression>
#include <QStringList>

namespace velkaro {

namespace {

bool IsBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QString TrimBlanks(const QString& text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && IsBlank(text.at(from)))
        ++from;
    while (to > from && IsBlank(text.at(to - 1)))
        --to;
    return text.mid(from, to - from);
}

// The profile reader drops one pair of matching enclosing quotation marks.
QString UnquotedValue(const QString& value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

bool IsLauncher(const QString& program)
{
    QString name = program;
    const qsizetype slash = name.lastIndexOf(QRegularExpression(QStringLiteral("[\\\\/]")));
    if (slash >= 0)
        name = name.mid(slash + 1);
    return name.compare(LauncherFileName(), Qt::CaseInsensitive) == 0;
}

// The quoted arguments of a command line after its program.
QStringList QuotedArguments(const QString& commandLine, qsizetype from)
{
    QStringList arguments;
    qsizetype i = from;
    while (true) {
        const qsizetype open = commandLine.indexOf(QLatin1Char('"'), i);
        if (open < 0)
            break;
        const qsizetype close = commandLine.indexOf(QLatin1Char('"'), open + 1);
        if (close < 0)
            break;
        arguments.append(commandLine.mid(open + 1, close - open - 1));
        i = close + 1;
    }
    return arguments;
}

qsizetype ProgramEnd(const QString& commandLine)
{
    if (commandLine.startsWith(QLatin1Char('"'))) {
        const qsizetype close = commandLine.indexOf(QLatin1Char('"'), 1);
        return close < 0 ? commandLine.size() : close + 1;
    }
    qsizetype end = 0;
    while (end < commandLine.size() && !IsBlank(commandLine.at(end)))
        ++end;
    return end;
}

void AddCommand(AutorunContent& content, const QString& key, const QString& commandLine)
{
    const QString program = CommandProgram(commandLine);
    content.references.append({key, DiscReference::Role::Program, program});
    if (IsLauncher(program)) {
        // Exactly as the launcher itself will read its call.
        const auto argument = ReadLauncherArgument(commandLine.toStdWString());
        if (argument)
            content.references.append(
                {key, DiscReference::Role::Argument, QString::fromStdWString(*argument)});
        return;
    }
    for (const QString& argument : QuotedArguments(commandLine, ProgramEnd(commandLine)))
        content.references.append({key, DiscReference::Role::Argument, argument});
}

} // namespace

QString CommandProgram(const QString& commandLine)
{
    if (commandLine.startsWith(QLatin1Char('"'))) {
        const qsizetype close = commandLine.indexOf(QLatin1Char('"'), 1);
        return commandLine.mid(1, close < 0 ? -1 : close - 1);
    }
    return commandLine.left(ProgramEnd(commandLine));
}

QString IconFile(const QString& value)
{
    static const QRegularExpression index(QStringLiteral("^(.*),[ \\t]*-?[0-9]+[ \\t]*$"));
    QString file = value;
    const auto match = index.match(value);
    if (match.hasMatch())
        file = TrimBlanks(match.captured(1));
    if (file.size() >= 2 && file.front() == QLatin1Char('"') && file.back() == QLatin1Char('"'))
        file = file.mid(1, file.size() - 2);
    return file;
}

AutorunContent ReadAutorun(const QByteArray& bytes)
{
    AutorunContent content;
    const QString text = FromWindows1252(bytes);
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));

    enum class Where
    {
        Before,
        Inside,
        After
    } where = Where::Before;
    QStringList seenKeys;
    for (const QString& raw : lines) {
        const QString line = TrimBlanks(raw);
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            const QString name = TrimBlanks(line.mid(1, close < 0 ? -1 : close - 1));
            const bool autorun = name.compare(QLatin1String("autorun"), Qt::CaseInsensitive) == 0;
            if (where == Where::Inside)
                where = Where::After;
            else if (where == Where::Before && autorun)
                where = Where::Inside;
            continue;
        }
        if (where != Where::Inside || line.startsWith(QLatin1Char(';')))
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString key = TrimBlanks(line.left(equals));
        const QString folded = key.toLower();
        if (seenKeys.contains(folded))
            continue; // the first of equal keys counts
        seenKeys.append(folded);
        const QString value = UnquotedValue(TrimBlanks(line.mid(equals + 1)));

        static const QRegularExpression command(QStringLiteral("^shell\\\\[^\\\\]+\\\\command$"),
                                                QRegularExpression::CaseInsensitiveOption);
        if (folded == QLatin1String("open") || folded == QLatin1String("shellexecute")) {
            content.hasStart = content.hasStart || !value.isEmpty();
            if (!value.isEmpty())
                AddCommand(content, key, value);
        } else if (command.match(key).hasMatch()) {
            if (!value.isEmpty())
                AddCommand(content, key, value);
        } else if (folded == QLatin1String("icon")) {
            const QString file = IconFile(value);
            if (!file.isEmpty())
                content.references.append({key, DiscReference::Role::Icon, file});
        }
    }
    content.hasSection = where != Where::Before;
    return content;
}

} // namespace velkaro
