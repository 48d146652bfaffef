#pragma once

#include <QHash>
#include <QImage>
#include <array>
#include <cstdint>
#include <vector>

namespace velkaro::iconlib {

// The standard Windows 16-colour palette in the order that 4-bit icons use.
extern const std::array<QRgb, 16> WindowsPalette;

enum class Reduction
{
    Nearest,        // each pixel to the palette colour nearest in CIELAB
    Ordered,        // a 4 x 4 Bayer offset added before the nearest colour
    FloydSteinberg, // error diffusion, serpentine
    Pattern,        // the nearest mix of two palette colours, laid out by the Bayer matrix
};

inline constexpr Reduction AllReductions[] = {Reduction::Nearest, Reduction::Ordered,
                                              Reduction::FloydSteinberg, Reduction::Pattern};

const char* ReductionName(Reduction method);

// A picture in the 16 colours, with the pixels that the AND mask makes
// transparent.
struct IndexedImage
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> index; // row by row from the top
    std::vector<bool> transparent;

    std::uint8_t at(int x, int y) const { return index[static_cast<size_t>(y * width + x)]; }
    bool isTransparent(int x, int y) const
    {
        return transparent[static_cast<size_t>(y * width + x)];
    }
};

// Turns pictures into the 16 colours. Pixels at least half opaque stay, in
// their own (not premultiplied) colour; the rest become transparent. Error
// and patterns stay within the pixels that stay.
class Reducer
{
public:
    // For Pattern: mixPenalty is what a mix of two far-apart colours costs
    // beside its gain in accuracy (higher: flatter pictures), mixStep the
    // step of the mixes in sixteenths (4: only quarter, half and three
    // quarter patterns, which look calmer than sparse dots).
    explicit Reducer(Reduction method, double mixPenalty = 0.1, int mixStep = 4);

    IndexedImage reduce(const QImage& picture);

private:
    struct Mix
    {
        std::uint8_t first, second;
        int share; // how many of 16 pixels take the second colour
    };
    struct Candidate
    {
        Mix mix;
        std::array<double, 3> lab;
        double cost;
    };

    Mix bestMix(QRgb colour);

    Reduction m_method;
    std::vector<Candidate> m_candidates;
    QHash<QRgb, Mix> m_mixes; // the search is slow, and icons repeat their colours
};

// The indexed picture as ARGB, for contact sheets and comparisons.
QImage ToArgb(const IndexedImage& indexed);

} // namespace velkaro::iconlib
