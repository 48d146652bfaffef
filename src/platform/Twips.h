#pragma once

#include <QRect>

namespace velkaro {

// Window positions and sizes are kept in twips, as the windows were designed
// and as the stored positions have always been; the screen counts 15 twips
// to a pixel.
inline constexpr int TwipsPerPixel = 15;

// A control's place in twips.
struct TwipsRect
{
    int left;
    int top;
    int width;
    int height;
};

// Twips as whole pixels, any rest dropped; every window converts this way.
constexpr int Pixels(int twips)
{
    return twips / TwipsPerPixel;
}

constexpr QRect Pixels(const TwipsRect& place)
{
    return QRect(Pixels(place.left), Pixels(place.top), Pixels(place.width), Pixels(place.height));
}

} // namespace velkaro
