#include "DiscVocabulary.h"

namespace velkaro {

QString Quoted(const QString& text)
{
    return QStringLiteral("„") + text + QStringLiteral("“");
}

QString DescribeCharacter(char32_t codePoint)
{
    const QString code =
        QStringLiteral("U+%1").arg(static_cast<uint>(codePoint), 4, 16, QLatin1Char('0')).toUpper();
    const bool control = codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
    const bool visible = !control && !QChar::isSurrogate(codePoint) && QChar::isPrint(codePoint) &&
                         codePoint != U' ';
    if (!visible)
        return code;
    return Quoted(QString::fromUcs4(&codePoint, 1)) + QStringLiteral(" (") + code +
           QStringLiteral(")");
}

} // namespace velkaro
