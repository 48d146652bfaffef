#include "Version.h"

#include "BuildSettings.h"

namespace velkaro {

namespace {

// revision / 100 rounded to the nearest whole number, halves to the even one.
int RoundedHundreds(int revision)
{
    int quotient = revision / 100;
    const int rest = revision % 100;
    if (rest > 50 || (rest == 50 && quotient % 2 == 1))
        ++quotient;
    return quotient;
}

} // namespace

ProgramVersion CurrentVersion()
{
    return {build::VersionMajor, build::VersionMinor, build::VersionRevision};
}

QString GetVersionText(quint16 format)
{
    return GetVersionText(format, CurrentVersion());
}

QString GetVersionText(quint16 format, const ProgramVersion& version)
{
    QString v;
    if (format & 0x100) {
        v = QString::number(version.major) + QLatin1Char('.') + QString::number(version.minor);
        if (version.revision >= 100)
            v.append(QChar(96 + RoundedHundreds(version.revision)));
    } else {
        v = QStringLiteral("%1.%2.%3")
                .arg(version.major)
                .arg(version.minor, 2, 10, QLatin1Char('0'))
                .arg(version.revision, 4, 10, QLatin1Char('0'));
    }
    if ((format & 0xFF) == 0)
        return QStringLiteral(" (V") + v + QLatin1Char(')');
    return v;
}

} // namespace velkaro
