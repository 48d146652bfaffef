// Stored texts and the values put into them (paths, failure descriptions,
// menu texts the user typed) pass through these routines on their way into
// a message or into AutoRun.Inf.
//
// Input: pieces cut at byte 0x01: the text, then up to ten arguments; the
// first two arguments also serve as a named placeholder and its value.

#include "FuzzSupport.h"
#include "MessageText.h"

#include <QSet>

using namespace velkaro;
using namespace velkaro::fuzzing;

namespace {

// FillPlaceholders written the slow, obvious way: walk the text once per
// marker and copy it, putting the value wherever the marker starts. "%1" is
// not taken where it starts "%10".
QString FillPlaceholdersSlowly(const QString& text, const QStringList& arguments)
{
    QString current = text;
    for (int k = 1; k <= 10; ++k) {
        const QString marker = QStringLiteral("%") + QString::number(k);
        const QString value = k <= arguments.size() ? arguments.at(k - 1) : QString();
        QString next;
        qsizetype i = 0;
        while (i < current.size()) {
            const bool atMarker = QStringView(current).sliced(i).startsWith(marker);
            const bool isTenth =
                k == 1 && i + 2 < current.size() && current.at(i + 2) == QLatin1Char('0');
            if (atMarker && !isTenth) {
                next += value;
                i += marker.size();
            } else {
                next += current.at(i++);
            }
        }
        current = next;
    }
    return current;
}

bool HasMarkerBeforeDigit(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('%') && text.at(i + 1).unicode() >= '0' &&
            text.at(i + 1).unicode() <= '9')
            return true;
    }
    return false;
}

void CheckExpandEscapes(const QString& text)
{
    const QString expanded = ExpandEscapes(text);
    FUZZ_CHECK_MSG(expanded.size() <= text.size(), Shown(text));
    if (!text.contains(QLatin1Char('\\')))
        FUZZ_CHECK_MSG(expanded == text, Shown(text));

    // It invents no characters: each one is from the text or is one of the
    // four that the codes stand for.
    QSet<char16_t> known{9, 10, 13, 34};
    for (const QChar c : text)
        known.insert(c.unicode());
    for (const QChar c : expanded)
        FUZZ_CHECK_MSG(known.contains(c.unicode()), Shown(text) + " -> " + Shown(expanded));

    // Doubling every backslash is how a literal text is stored; expanding
    // gives it back unchanged.
    QString stored = text;
    stored.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
    FUZZ_CHECK_MSG(ExpandEscapes(stored) == text, Shown(text));
}

void CheckFillPlaceholders(const QString& text, const QStringList& arguments)
{
    const QString filled = FillPlaceholders(text, arguments);
    FUZZ_CHECK_MSG(filled == FillPlaceholdersSlowly(text, arguments),
                   Shown(text) + " -> " + Shown(filled));
    if (!HasMarkerBeforeDigit(text))
        FUZZ_CHECK_MSG(filled == text, Shown(text));

    // Without arguments a placeholder can only vanish.
    const QString emptied = FillPlaceholders(text);
    FUZZ_CHECK_MSG(emptied.size() <= text.size(), Shown(text));

    // Run for crashes only; it is the two routines above one after the other.
    (void)FormatText(text, arguments);
}

void CheckInsertIndented(const QString& text, const QString& placeholder, const QString& value)
{
    if (placeholder.isEmpty())
        return;
    // One placeholder: the one-pass form and the simple one agree.
    const QString single = InsertIndented(text, placeholder, value);
    const QString onePass = InsertIndented(text, {{placeholder, value}});
    FUZZ_CHECK_MSG(single == onePass, Shown(text) + " | " + Shown(placeholder));

    if (!text.contains(placeholder))
        FUZZ_CHECK_MSG(single == text, Shown(text));

    // A value that holds another placeholder is not filled again: "%f%"
    // with the value "%g%" keeps "%g%" when "%g%" is the second pair.
    const QString other = placeholder + QStringLiteral("#");
    const QString both = InsertIndented(placeholder, {{placeholder, other}, {other, value}});
    FUZZ_CHECK_MSG(both == QStringLiteral("    ") + other,
                   Shown(placeholder) + " -> " + Shown(both));
}

void CheckTrimBlanks(const QString& text)
{
    const QString trimmed = TrimBlanks(text);
    FUZZ_CHECK(text.contains(trimmed));
    FUZZ_CHECK(!trimmed.startsWith(QLatin1Char(' ')) && !trimmed.endsWith(QLatin1Char(' ')));
    FUZZ_CHECK(TrimBlanks(trimmed) == trimmed);
    // Only blanks go: a tab at either end stays.
    if (text.startsWith(QLatin1Char('\t')))
        FUZZ_CHECK(trimmed.startsWith(QLatin1Char('\t')));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<QString> pieces = Pieces(data, size);
    const QString text = pieces.at(0);
    const QStringList arguments = pieces.mid(1, 10);

    CheckExpandEscapes(text);
    CheckFillPlaceholders(text, arguments);
    CheckInsertIndented(text, PieceAt(pieces, 1), PieceAt(pieces, 2));
    CheckTrimBlanks(text);

    const Failure failure{qint32(size * 2654435761u), PieceAt(pieces, 1)};
    const QString rendered = ErrorText(failure);
    FUZZ_CHECK(rendered.startsWith(failure.description));
    FUZZ_CHECK(rendered.endsWith(QStringLiteral(" (Code ") + QString::number(failure.code) + ")"));
    return 0;
}
