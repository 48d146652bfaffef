#pragma once

#include <QByteArray>
#include <QImage>

namespace velkaro {

// The picture that Velkaro shows of an icon or picture file, for the icon
// library, a chosen icon file and the built-in pictures alike. Reads any
// format that Qt can read, ICO included. Of a file with several pictures it
// takes the 32 x 32 one (the deepest, if there are several), else the
// largest (the deepest of equal size); of equal ones the first. Gives a null
// image when no picture decodes.
QImage ReadIconPicture(const QByteArray& fileBytes);

} // namespace velkaro
