#include "JolietNames.h"

#include <QList>

namespace velkaro::image {

namespace {

// The characters that LocalName uses for bytes that are no UTF-8.
constexpr char16_t ForeignByteBase = 0xDC00;

bool IsForeignByte(const QString& name, qsizetype i)
{
    const char16_t c = name.at(i).unicode();
    return c >= ForeignByteBase + 0x80 && c <= ForeignByteBase + 0xFF &&
           (i == 0 || !name.at(i - 1).isHighSurrogate());
}

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
        return c <= 0xFFFF && (c < 0xD800 || c > 0xDFFF);
    }
}

// One UCS-2 unit per character, as the writer converts the name; a byte
// that is no UTF-8 is one unit of its own.
QList<char32_t> Units(const QString& name)
{
    QList<char32_t> units;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            units.append(QChar::surrogateToUcs4(c, name.at(i + 1)));
            ++i;
        } else {
            units.append(c.unicode());
        }
    }
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

// The index of the dot before a file's extension, or -1.
qsizetype ExtensionDot(const QList<char32_t>& units, bool folder)
{
    const qsizetype dot = folder ? -1 : units.lastIndexOf(char32_t('.'));
    return dot == units.size() - 1 ? -1 : dot;
}

// The length of the UTF-8 sequence at `p` (`left` bytes there), or 0 when
// it is none: overlong forms and surrogates are none, as for the writer.
int Utf8SequenceLength(const unsigned char* p, qsizetype left)
{
    const unsigned char lead = p[0];
    if (lead < 0x80)
        return 1;
    int following = 0;
    char32_t c = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        following = 1, c = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        following = 2, c = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        following = 3, c = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (left <= following)
        return 0;
    for (int k = 1; k <= following; ++k) {
        if ((p[k] & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (p[k] & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return following + 1;
}

} // namespace

int JolietCount(const QString& name, bool folder)
{
    const QList<char32_t> units = Units(name);
    return static_cast<int>(units.size()) - (ExtensionDot(units, folder) >= 0 ? 1 : 0);
}

QString JolietCountText(const QString& name, bool folder)
{
    if (ExtensionDot(Units(name), folder) < 0)
        return QStringLiteral("%1 Zeichen").arg(JolietCount(name, folder));
    return QStringLiteral("%1 Zeichen ohne den Punkt vor der Endung")
        .arg(JolietCount(name, folder));
}

std::optional<char32_t> ForbiddenJolietCharacter(const QString& name)
{
    for (const char32_t c : Units(name)) {
        if (!Allowed(c))
            return c;
    }
    return std::nullopt;
}

std::optional<char32_t> ForbiddenWindowsCharacter(const QString& name)
{
    for (const QChar c : name) {
        if (c == QLatin1Char('"') || c == QLatin1Char('<') || c == QLatin1Char('>') ||
            c == QLatin1Char('|'))
            return c.unicode();
    }
    return std::nullopt;
}

QString JolietName(const QString& name, bool folder)
{
    const QList<char32_t> units = Units(name);
    const qsizetype length = units.size();
    const qsizetype limit = JolietNameLimit;
    const qsizetype dot = ExtensionDot(units, folder);
    if (dot < 0)
        return Joined(units, 0, qMin(length, limit));

    // The limit counts name and extension; the dot between them is free.
    const qsizetype nameLength = dot;
    const qsizetype extLength = length - dot - 1;
    qsizetype keptExt = extLength;
    qsizetype keptName = nameLength;
    if (nameLength + extLength > limit) {
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

QString LocalName(const QByteArray& bytes)
{
    if (QUtf8StringView(bytes).isValidUtf8())
        return QString::fromUtf8(bytes);
    QString name;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    for (qsizetype i = 0; i < bytes.size();) {
        const int length = Utf8SequenceLength(p + i, bytes.size() - i);
        if (length == 0) {
            name.append(QChar(char16_t(ForeignByteBase + p[i])));
            ++i;
        } else {
            name.append(QString::fromUtf8(bytes.constData() + i, length));
            i += length;
        }
    }
    return name;
}

QByteArray LocalBytes(const QString& name)
{
    if (!HasForeignBytes(name))
        return name.toUtf8();
    QByteArray bytes;
    qsizetype from = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (IsForeignByte(name, i)) {
            bytes += name.mid(from, i - from).toUtf8();
            bytes += char(name.at(i).unicode() - ForeignByteBase);
            from = i + 1;
        }
    }
    return bytes + name.mid(from).toUtf8();
}

QString ShownName(const QString& name)
{
    if (!HasForeignBytes(name))
        return name;
    QString shown;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (IsForeignByte(name, i))
            shown += QStringLiteral("\\x") +
                     QString::number(name.at(i).unicode() - ForeignByteBase, 16).toUpper();
        else
            shown += name.at(i);
    }
    return shown;
}

bool HasForeignBytes(const QString& name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (IsForeignByte(name, i))
            return true;
    }
    return false;
}

} // namespace velkaro::image
