#pragma once

#include "Palette16.h"

#include <QByteArray>
#include <QImage>
#include <variant>
#include <vector>

namespace velkaro::iconlib {

// One image of an icon file: a 16-colour picture, or a 32-bit one with alpha.
using IcoImage = std::variant<IndexedImage, QImage>;

// A Windows icon file holding the images in the given order. Every image is
// stored as a bottom-up DIB with its AND mask, which old Windows versions
// need also beside a 32-bit image.
QByteArray WriteIco(const std::vector<IcoImage>& images);

} // namespace velkaro::iconlib
