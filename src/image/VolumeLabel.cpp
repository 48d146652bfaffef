#include "VolumeLabel.h"

namespace velkaro::image {

QString MakeVolumeLabel(const QString& wanted)
{
    QString label;
    for (const QChar c : wanted) {
        switch (c.unicode()) {
        case u'Ä':
        case u'ä':
            label += QStringLiteral("AE");
            continue;
        case u'Ö':
        case u'ö':
            label += QStringLiteral("OE");
            continue;
        case u'Ü':
        case u'ü':
            label += QStringLiteral("UE");
            continue;
        case u'ß':
            label += QStringLiteral("SS");
            continue;
        default:
            break;
        }
        // "é" -> "e": the letter without its accent, where Unicode has one.
        QChar base = c;
        const QString decomposed = QString(c).normalized(QString::NormalizationForm_D);
        if (!decomposed.isEmpty())
            base = decomposed.at(0);
        const char16_t u = base.toUpper().unicode();
        if ((u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'_')
            label += QChar(u);
        else if (!c.isLowSurrogate())
            label += QLatin1Char('_');
    }
    label.truncate(VolumeLabelLimit);
    return label.isEmpty() ? QStringLiteral("CD") : label;
}

} // namespace velkaro::image
