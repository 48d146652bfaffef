#include "GetWord.h"

namespace velkaro {

QString GetWord(const QString& text, int n, const QString& delimiter)
{
    if (n < 1)
        return QString();
    const QString separator = delimiter.isEmpty() ? QStringLiteral(" ") : delimiter;
    qsizetype start = 0;
    for (int word = 1; word < n; ++word) {
        const qsizetype at = text.indexOf(separator, start, Qt::CaseSensitive);
        if (at < 0)
            return QString();
        start = at + separator.size();
    }
    const qsizetype end = text.indexOf(separator, start, Qt::CaseSensitive);
    return end < 0 ? text.mid(start) : text.mid(start, end - start);
}

} // namespace velkaro
