#include "AppIcon.h"

namespace velkaro {

QIcon ApplicationIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/appicon/%1x%1/apps/velkaro.png").arg(size),
                     QSize(size, size));
    }
    return icon;
}

} // namespace velkaro
