#include "Progress.h"

#include <QLocale>

namespace velkaro::image {

namespace {

QString Minutes(qint64 seconds)
{
    if (seconds >= 3600)
        return QStringLiteral("%1:%2:%3")
            .arg(seconds / 3600)
            .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
            .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

QString Megabytes(qint64 bytes)
{
    static const QLocale german(QLocale::German, QLocale::Germany);
    return german.toString(double(bytes) / 1e6, 'f', 1) + QStringLiteral(" MB");
}

QString ProgressLine(qint64 written, qint64 total, double seconds)
{
    static const QLocale german(QLocale::German, QLocale::Germany);
    const int percent = total > 0 ? int(written * 100 / total) : 100;
    constexpr int BarWidth = 24;
    const int filled = percent * BarWidth / 100;
    QString line = QLatin1Char('[') + QString(filled, QLatin1Char('#')) +
                   QString(BarWidth - filled, QLatin1Char(' ')) + QStringLiteral("] ") +
                   QStringLiteral("%1 %").arg(percent, 3);
    if (seconds < 1.0 || written <= 0)
        return line + QStringLiteral(" |     … MB/s | noch …");
    const double rate = double(written) / seconds;
    const qint64 left = qint64((double(total - written) / rate) + 0.5);
    return line + QStringLiteral(" | %1 MB/s | noch %2")
                      .arg(german.toString(rate / 1e6, 'f', 1), 6)
                      .arg(Minutes(left));
}

} // namespace velkaro::image
