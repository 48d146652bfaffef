#include "MainIconList.h"

#include "IconReader.h"

#include <QFile>

namespace velkaro {

namespace {

QImage LoadPicture(const QString& resource)
{
    QFile file(resource);
    return file.open(QIODevice::ReadOnly) ? ReadIconPicture(file.readAll()) : QImage();
}

} // namespace

IconPicture MainIconListPicture(int number)
{
    // Each decoded once, when first asked for: the start needs only the mark
    // for "no icon".
    if (number == 2) {
        static const IconPicture disc{LoadPicture(QStringLiteral(":/mainiconlist/disc.ico")), {}};
        return disc;
    }
    static const IconPicture none{LoadPicture(QStringLiteral(":/mainiconlist/noicon.png")), {}};
    return none;
}

} // namespace velkaro
