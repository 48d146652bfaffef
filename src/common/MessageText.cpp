#include "MessageText.h"

#include "DiscVocabulary.h"

namespace velkaro {

QString ExpandEscapes(const QString& text)
{
    QString result;
    result.reserve(text.size());
    bool afterBackslash = false;
    for (QChar c : text) {
        if (afterBackslash) {
            switch (c.toUpper().unicode()) {
            case 'T':
                c = QChar(9);
                break;
            case 'N':
                c = QChar(13);
                break;
            case 'L':
                c = QChar(10);
                break;
            case 'H':
                c = QChar(34);
                break;
            default:
                break;
            }
            result.append(c);
            afterBackslash = false;
        } else if (c == QLatin1Char('\\')) {
            afterBackslash = true;
        } else {
            result.append(c);
        }
    }
    return result;
}

QString FillPlaceholders(const QString& text, const QStringList& arguments)
{
    // "%1" is filled before "%10"; so that the tenth marker is not read as
    // "%1" followed by "0", an occurrence of "%10" is left for the tenth step.
    QString result = text;
    for (int k = 1; k <= 10; ++k) {
        const QString marker = QLatin1Char('%') + QString::number(k);
        const QString value = k <= arguments.size() ? arguments.at(k - 1) : QString();
        QString filled;
        filled.reserve(result.size());
        qsizetype from = 0;
        for (;;) {
            const qsizetype at = result.indexOf(marker, from);
            if (at < 0)
                break;
            const qsizetype after = at + marker.size();
            if (k == 1 && after < result.size() && result.at(after) == QLatin1Char('0')) {
                filled.append(QStringView(result).mid(from, after - from));
                from = after;
                continue;
            }
            filled.append(QStringView(result).mid(from, at - from));
            filled.append(value);
            from = after;
        }
        filled.append(QStringView(result).mid(from));
        result = filled;
    }
    return result;
}

QString FormatText(const QString& text, const QStringList& arguments)
{
    return ExpandEscapes(FillPlaceholders(text, arguments));
}

QString ErrorText(const Failure& failure)
{
    return failure.description + QStringLiteral(" (Code ") + QString::number(failure.code) +
           QLatin1Char(')');
}

QString SystemErrorText(int savedErrno, const QString& path)
{
    return ErrorText(FailureFromSystemError(savedErrno, path));
}

QString NotWrittenText(const QString& path, int savedErrno)
{
    return QStringLiteral("%1 ließ sich nicht schreiben: %2.")
        .arg(Quoted(path), SystemErrorText(savedErrno, path));
}

QString InsertIndented(QString text, const QString& placeholder, const QString& value)
{
    return text.replace(placeholder, QStringLiteral("    ") + value, Qt::CaseSensitive);
}

QString InsertIndented(const QString& text,
                       const QList<std::pair<QString, QString>>& placeholdersAndValues)
{
    QString result;
    qsizetype i = 0;
    while (i < text.size()) {
        bool replaced = false;
        for (const auto& [placeholder, value] : placeholdersAndValues) {
            if (!placeholder.isEmpty() && QStringView(text).mid(i).startsWith(placeholder)) {
                result += QStringLiteral("    ") + value;
                i += placeholder.size();
                replaced = true;
                break;
            }
        }
        if (!replaced)
            result += text.at(i++);
    }
    return result;
}

QString TrimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace velkaro
