#pragma once

#include <QByteArray>
#include <QImage>

namespace velkaro {

// The disc's icon as the project holds it: the picture that the preview
// shows and, for a library or file icon, the icon's own file bytes, which
// the OK command writes unchanged as AutoRun.Ico.
struct IconPicture
{
    QImage image;
    QByteArray fileBytes;

    bool operator==(const IconPicture&) const = default;
};

} // namespace velkaro
