#include "JolietNames.h"

#include <QList>

namespace velkaro::image {

namespace {

bool Allowed(char32_t c)
{
    if (c < 0x20)
        return false;
    switch (c) {
    case '*':
    case '/':
    case ':':
    case ';':
    case '?':
    case '\\':
        return false;
    default:
        return c <= 0xFFFF;
    }
}

// One UCS-2 unit per character, as the writer converts the name.
QList<char32_t> Units(const QString& name)
{
    QList<char32_t> units;
    for (const char32_t c : name.toUcs4())
        units.append(c);
    return units;
}

QString Joined(const QList<char32_t>& units, qsizetype from, qsizetype count)
{
    QString text;
    for (qsizetype i = from; i < from + count; ++i) {
        const char32_t c = units.at(i);
        if (Allowed(c))
            text.append(QChar(static_cast<char16_t>(c)));
        else
            text.append(QLatin1Char('_'));
    }
    return text;
}

} // namespace

int JolietLength(const QString& name)
{
    return static_cast<int>(Units(name).size());
}

std::optional<char32_t> ForbiddenJolietCharacter(const QString& name)
{
    for (const char32_t c : name.toUcs4()) {
        if (!Allowed(c))
            return c;
    }
    return std::nullopt;
}

QString JolietName(const QString& name, bool folder)
{
    const QList<char32_t> units = Units(name);
    const qsizetype length = units.size();
    const qsizetype limit = JolietNameLimit;
    if (folder)
        return Joined(units, 0, qMin(length, limit));

    const qsizetype dot = units.lastIndexOf(char32_t('.'));
    if (dot < 0 || dot == length - 1)
        return Joined(units, 0, qMin(length, limit));

    // The limit counts name and extension; the dot between them is free.
    const qsizetype nameLength = dot;
    const qsizetype extLength = length - dot - 1;
    qsizetype keptExt = extLength;
    qsizetype keptName = nameLength;
    if (length > limit + 1) {
        if (extLength > 3)
            keptExt = nameLength < limit - 3 ? limit - nameLength : 3;
        keptName = limit - keptExt;
    }
    return Joined(units, 0, keptName) + QLatin1Char('.') + Joined(units, dot + 1, keptExt);
}

QString WindowsTrimmed(const QString& name)
{
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return name;
    qsizetype end = name.size();
    while (end > 0 &&
           (name.at(end - 1) == QLatin1Char('.') || name.at(end - 1) == QLatin1Char(' ')))
        --end;
    return name.left(end);
}

} // namespace velkaro::image
