#include "MainIconList.h"

#include <QImageReader>

namespace velkaro {

namespace {

// The picture of the given width from a file that may hold several sizes,
// or the first picture when it has none of that width.
QImage LoadPicture(const QString& resource, int preferredWidth)
{
    QImageReader reader(resource);
    QImage chosen;
    const int count = std::max(1, reader.imageCount());
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        const QImage image = reader.read();
        if (image.isNull())
            continue;
        if (chosen.isNull() || image.width() == preferredWidth)
            chosen = image;
        if (image.width() == preferredWidth)
            break;
    }
    return chosen;
}

} // namespace

IconPicture MainIconListPicture(int number)
{
    // Each decoded once, when first asked for: the start needs only the mark
    // for "no icon", and the disc icon would load the icon-format plug-in.
    if (number == 2) {
        static const IconPicture disc{LoadPicture(QStringLiteral(":/mainiconlist/disc.ico"), 32),
                                      {}};
        return disc;
    }
    static const IconPicture none{QImage(QStringLiteral(":/mainiconlist/noicon.png")), {}};
    return none;
}

} // namespace velkaro
