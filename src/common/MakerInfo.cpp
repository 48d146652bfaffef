#include "MakerInfo.h"

#include "BuildSettings.h"
#include "GetWord.h"
#include "Titles.h"

namespace velkaro {

QString MakerWebAddress()
{
    return (QStringLiteral("https://") + QString::fromUtf8(build::MakerHost)).toLower();
}

QString MakerSiteName()
{
    return QString::fromUtf8(build::MakerHost).toLower();
}

QString MakerName()
{
    return QString::fromUtf8(build::MakerName);
}

QString MakerSupportEmail()
{
    return QString::fromUtf8(build::MakerEmail);
}

QString ProductPageAddress()
{
    const QString firstWord = GetWord(ProductTitle(), 1);
    return (MakerWebAddress() + QStringLiteral("/?go=") + firstWord).toLower();
}

} // namespace velkaro
