#include "Companion.h"

#include "DiscVocabulary.h"

#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace velkaro::companion {

namespace {

void Write(FILE* stream, const QString& text)
{
#ifdef Q_OS_WIN
    // A console shows its own code page, not UTF-8: hand it the characters.
    const HANDLE handle = GetStdHandle(stream == stdout ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        std::fflush(stream);
        QString console = text;
        console.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        DWORD written = 0;
        WriteConsoleW(handle, reinterpret_cast<const wchar_t*>(console.utf16()),
                      static_cast<DWORD>(console.size()), &written, nullptr);
        return;
    }
#endif
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

// An option as a person writes it: -o, --output.
QString Written(const QString& name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

} // namespace

void Say(const QString& line)
{
    Write(stdout, line + QLatin1Char('\n'));
}

void SayError(const QString& line)
{
    Write(stderr, line + QLatin1Char('\n'));
}

void WriteError(const QString& text)
{
    Write(stderr, text);
}

int Refuse(const QStringList& lines)
{
    for (const QString& line : lines)
        SayError(line);
    return Exit::Refused;
}

int Refuse(const QString& line)
{
    return Refuse(QStringList{line});
}

CommandLine::CommandLine(const QString& program, const QString& help, const QString& version)
    : m_program(program), m_help(help), m_version(version)
{
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    m_parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    AddSwitch({QStringLiteral("h"), QStringLiteral("help")});
    AddSwitch({QStringLiteral("version")});
}

void CommandLine::AddSwitch(const QStringList& names)
{
    m_parser.addOption(QCommandLineOption(names));
    for (const QString& name : names) {
        m_firstName.insert(name, names.first());
        m_takesValue.insert(name, false);
    }
}

void CommandLine::AddValue(const QStringList& names, const QString& missingValue, Empty empty)
{
    m_parser.addOption(QCommandLineOption(names, QString(), QStringLiteral("value")));
    for (const QString& name : names) {
        m_missingValue.insert(name, missingValue);
        m_firstName.insert(name, names.first());
        m_takesValue.insert(name, true);
    }
    if (empty == Empty::Refused)
        m_mustNotBeEmpty.append(names.first());
}

QString CommandLine::WrittenAs(const QStringList& arguments, const QString& name) const
{
    // The last form of the option in the call: -o, --output, --output=.
    QString written = Written(name);
    for (const QString& argument : arguments.mid(1)) {
        if (argument == QLatin1String("--"))
            break;
        const QString form = argument.section(QLatin1Char('='), 0, 0);
        const QString bare = form.startsWith(QLatin1String("--")) ? form.mid(2) : form.mid(1);
        if (form.startsWith(QLatin1Char('-')) && m_takesValue.value(bare) &&
            m_firstName.value(bare) == name)
            written = form;
    }
    return written;
}

QString CommandLine::MissingValueText(const QString& written) const
{
    QString name = written;
    while (name.startsWith(QLatin1Char('-')))
        name.remove(0, 1);
    const QString text = m_missingValue.value(name);
    if (text.isEmpty())
        return QStringLiteral("Nach %1 fehlt ein Wert.").arg(Quoted(written));
    return text.arg(Quoted(written));
}

std::optional<QString> CommandLine::OwnWrongCall(const QStringList& arguments) const
{
    // Read as the parser reads them: "--name", "--name=value", "-abc" as
    // -a -b -c, where a short option with a value takes the rest ("-ofile",
    // "-o=file") or the next argument; "--" ends the options, "-" is none.
    std::optional<QString> unknown;
    std::optional<QString> wrongValue;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--"))
            break;
        if (argument.size() < 2 || !argument.startsWith(QLatin1Char('-')))
            continue;
        const bool isLast = i + 1 == arguments.size();
        if (argument.startsWith(QLatin1String("--"))) {
            const QString form = argument.section(QLatin1Char('='), 0, 0);
            const QString name = form.mid(2);
            const bool hasValue = argument.contains(QLatin1Char('='));
            if (!m_takesValue.contains(name)) {
                unknown = unknown.value_or(Written(name));
            } else if (!m_takesValue.value(name) && hasValue) {
                wrongValue =
                    wrongValue.value_or(QStringLiteral("%1 nimmt keinen Wert.").arg(Quoted(form)));
            } else if (m_takesValue.value(name) && !hasValue) {
                if (isLast)
                    wrongValue = wrongValue.value_or(MissingValueText(argument));
                ++i; // the next argument is the value
            }
            continue;
        }
        for (qsizetype pos = 1; pos < argument.size(); ++pos) {
            const QString name = argument.mid(pos, 1);
            if (!m_takesValue.contains(name)) {
                unknown = unknown.value_or(Written(name));
                continue;
            }
            const bool rest = pos + 1 < argument.size();
            if (m_takesValue.value(name)) {
                if (!rest) {
                    if (isLast)
                        wrongValue = wrongValue.value_or(MissingValueText(argument));
                    ++i;
                }
                break;
            }
            if (rest && argument.at(pos + 1) == QLatin1Char('=')) {
                wrongValue =
                    wrongValue.value_or(QStringLiteral("%1 nimmt keinen Wert.")
                                            .arg(Quoted(argument.section(QLatin1Char('='), 0, 0))));
                break;
            }
        }
    }
    if (unknown)
        return QStringLiteral("Unbekannte Option %1.").arg(Quoted(*unknown));
    return wrongValue;
}

std::optional<int> CommandLine::Read(const QStringList& arguments)
{
    if (const std::optional<QString> wrong = OwnWrongCall(arguments))
        return WrongCallText(*wrong);
    if (!m_parser.parse(arguments))
        return WrongCallText(QStringLiteral("Falscher Aufruf: %1").arg(m_parser.errorText()));
    if (IsSet(QStringLiteral("help"))) {
        Write(stdout, m_help);
        return Exit::Done;
    }
    if (IsSet(QStringLiteral("version"))) {
        Say(m_version);
        return Exit::Done;
    }
    for (const QString& name : m_mustNotBeEmpty) {
        if (IsSet(name) && Values(name).contains(QString()))
            return WrongCallText(MissingValueText(WrittenAs(arguments, name)));
    }
    return std::nullopt;
}

bool CommandLine::IsSet(const QString& name) const
{
    return m_parser.isSet(name);
}

QString CommandLine::Value(const QString& name) const
{
    return m_parser.value(name);
}

QStringList CommandLine::Values(const QString& name) const
{
    return m_parser.values(name);
}

QStringList CommandLine::Positional() const
{
    return m_parser.positionalArguments();
}

int CommandLine::WrongCallText(const QString& text) const
{
    SayError(text);
    SayError(QStringLiteral("Hilfe: %1 --help").arg(m_program));
    return Exit::WrongCall;
}

std::optional<int> CommandLine::ReadSourceDateEpoch(std::optional<qint64>& seconds) const
{
    seconds.reset();
    const QByteArray epoch = qgetenv("SOURCE_DATE_EPOCH");
    if (epoch.isEmpty())
        return std::nullopt;
    bool ok = false;
    const qint64 value = epoch.toLongLong(&ok);
    // Beyond 31 Dec 9999 a date has no four-digit year.
    if (!ok || value < 0 || value > 253402300799LL || epoch.startsWith('+'))
        return WrongCallText(QStringLiteral("SOURCE_DATE_EPOCH ist keine Zahl von "
                                            "Sekunden seit 1970: %1.")
                                 .arg(Quoted(QString::fromLocal8Bit(epoch))));
    seconds = value;
    return std::nullopt;
}

} // namespace velkaro::companion
