#include "Palette16.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velkaro::iconlib {

const std::array<QRgb, 16> WindowsPalette = {
    qRgb(0x00, 0x00, 0x00), qRgb(0x80, 0x00, 0x00), qRgb(0x00, 0x80, 0x00), qRgb(0x80, 0x80, 0x00),
    qRgb(0x00, 0x00, 0x80), qRgb(0x80, 0x00, 0x80), qRgb(0x00, 0x80, 0x80), qRgb(0xC0, 0xC0, 0xC0),
    qRgb(0x80, 0x80, 0x80), qRgb(0xFF, 0x00, 0x00), qRgb(0x00, 0xFF, 0x00), qRgb(0xFF, 0xFF, 0x00),
    qRgb(0x00, 0x00, 0xFF), qRgb(0xFF, 0x00, 0xFF), qRgb(0x00, 0xFF, 0xFF), qRgb(0xFF, 0xFF, 0xFF),
};

const char* ReductionName(Reduction method)
{
    switch (method) {
    case Reduction::Nearest:
        return "nearest";
    case Reduction::Ordered:
        return "ordered";
    case Reduction::FloydSteinberg:
        return "floyd-steinberg";
    case Reduction::Pattern:
        return "pattern";
    }
    return "?";
}

namespace {

using Lab = std::array<double, 3>;

struct Colour
{
    double r, g, b;
};

double Linear(double c)
{
    c = std::clamp(c, 0.0, 255.0) / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double LabF(double t)
{
    return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116.0;
}

// CIELAB (D65): distances there follow what the eye sees.
Lab ToLab(const Colour& c)
{
    const double lr = Linear(c.r), lg = Linear(c.g), lb = Linear(c.b);
    const double x = (0.4124 * lr + 0.3576 * lg + 0.1805 * lb) / 0.95047;
    const double y = 0.2126 * lr + 0.7152 * lg + 0.0722 * lb;
    const double z = (0.0193 * lr + 0.1192 * lg + 0.9505 * lb) / 1.08883;
    const double fx = LabF(x), fy = LabF(y), fz = LabF(z);
    return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

Colour PaletteColour(size_t i)
{
    return {double(qRed(WindowsPalette[i])), double(qGreen(WindowsPalette[i])),
            double(qBlue(WindowsPalette[i]))};
}

double DeltaE(const Lab& a, const Lab& b)
{
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) +
                     (a[2] - b[2]) * (a[2] - b[2]));
}

std::uint8_t NearestIndex(const Colour& c)
{
    static const std::array<Lab, 16> palette = [] {
        std::array<Lab, 16> lab{};
        for (size_t i = 0; i < lab.size(); ++i)
            lab[i] = ToLab(PaletteColour(i));
        return lab;
    }();
    const Lab target = ToLab(c);
    std::uint8_t best = 0;
    double bestDistance = std::numeric_limits<double>::max();
    for (size_t i = 0; i < palette.size(); ++i) {
        const double d = DeltaE(target, palette[i]);
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<std::uint8_t>(i);
        }
    }
    return best;
}

constexpr int Bayer4[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
// The palette's channel levels lie up to 128 apart; a smaller spread keeps
// the pattern out of flat areas that are already near a palette colour.
constexpr double OrderedSpread = 96.0;

struct Tap
{
    int dx, dy;
    double weight;
};

} // namespace

Reducer::Reducer(Reduction method, double mixPenalty, int mixStep) : m_method(method)
{
    if (method != Reduction::Pattern)
        return;
    // Every mix of two palette colours, averaged in sRGB. Averaging in linear
    // light is the physics, but at 100 % on screen it chose too many dark
    // dots: skin came out olive and yellow faces red-checked.
    for (size_t i = 0; i < WindowsPalette.size(); ++i)
        for (size_t j = i; j < WindowsPalette.size(); ++j) {
            const Colour a = PaletteColour(i), b = PaletteColour(j);
            const double spread = DeltaE(ToLab(a), ToLab(b));
            for (int share = 0; share <= (i == j ? 0 : 16); share += std::max(1, mixStep)) {
                const double t = share / 16.0;
                const Lab lab =
                    ToLab({a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t});
                // A pattern of far-apart colours costs extra, most when it is
                // sparse, so that flat areas stay flat unless a mix is much nearer.
                const double cost = i == j ? 0.0 : spread * mixPenalty * (std::abs(t - 0.5) + 0.5);
                m_candidates.push_back(
                    {{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(j), share},
                     lab,
                     cost});
            }
        }
}

Reducer::Mix Reducer::bestMix(QRgb colour)
{
    const auto found = m_mixes.constFind(colour);
    if (found != m_mixes.constEnd())
        return *found;
    const Lab target = ToLab({double(qRed(colour)), double(qGreen(colour)), double(qBlue(colour))});
    Mix best{0, 0, 0};
    double bestCost = std::numeric_limits<double>::max();
    for (const Candidate& c : m_candidates) {
        const double cost = DeltaE(target, c.lab) + c.cost;
        if (cost < bestCost) {
            bestCost = cost;
            best = c.mix;
        }
    }
    m_mixes.insert(colour, best);
    return best;
}

IndexedImage Reducer::reduce(const QImage& picture)
{
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    IndexedImage out;
    out.width = argb.width();
    out.height = argb.height();
    const size_t count = static_cast<size_t>(out.width) * static_cast<size_t>(out.height);
    out.index.assign(count, 0);
    out.transparent.assign(count, true);

    // Working colours as floats, so that diffused error is not rounded away.
    std::vector<Colour> work(count);
    for (int y = 0; y < out.height; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < out.width; ++x) {
            const size_t i = static_cast<size_t>(y * out.width + x);
            out.transparent[i] = qAlpha(line[x]) < 128;
            work[i] = {double(qRed(line[x])), double(qGreen(line[x])), double(qBlue(line[x]))};
        }
    }

    static const Tap floyd[] = {
        {1, 0, 7.0 / 16}, {-1, 1, 3.0 / 16}, {0, 1, 5.0 / 16}, {1, 1, 1.0 / 16}};

    for (int y = 0; y < out.height; ++y) {
        // Serpentine order: diffusion in one direction only leaves diagonal drift.
        const bool leftward = m_method == Reduction::FloydSteinberg && (y % 2 == 1);
        for (int step = 0; step < out.width; ++step) {
            const int x = leftward ? out.width - 1 - step : step;
            const size_t i = static_cast<size_t>(y * out.width + x);
            if (out.transparent[i])
                continue;
            const Colour c = work[i];
            switch (m_method) {
            case Reduction::Nearest:
                out.index[i] = NearestIndex(c);
                break;
            case Reduction::Ordered: {
                const double offset = ((Bayer4[y % 4][x % 4] + 0.5) / 16.0 - 0.5) * OrderedSpread;
                out.index[i] = NearestIndex({c.r + offset, c.g + offset, c.b + offset});
                break;
            }
            case Reduction::Pattern: {
                const Mix mix = bestMix(qRgb(int(c.r), int(c.g), int(c.b)));
                out.index[i] = Bayer4[y % 4][x % 4] < mix.share ? mix.second : mix.first;
                break;
            }
            case Reduction::FloydSteinberg: {
                const std::uint8_t chosen = NearestIndex(c);
                out.index[i] = chosen;
                const Colour p = PaletteColour(chosen);
                for (const Tap& tap : floyd) {
                    const int nx = x + (leftward ? -tap.dx : tap.dx);
                    const int ny = y + tap.dy;
                    if (nx < 0 || nx >= out.width || ny >= out.height)
                        continue;
                    const size_t n = static_cast<size_t>(ny * out.width + nx);
                    if (out.transparent[n])
                        continue;
                    work[n].r += (c.r - p.r) * tap.weight;
                    work[n].g += (c.g - p.g) * tap.weight;
                    work[n].b += (c.b - p.b) * tap.weight;
                }
                break;
            }
            }
        }
    }
    return out;
}

QImage ToArgb(const IndexedImage& indexed)
{
    QImage image(indexed.width, indexed.height, QImage::Format_ARGB32);
    for (int y = 0; y < indexed.height; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < indexed.width; ++x)
            line[x] =
                indexed.isTransparent(x, y) ? qRgba(0, 0, 0, 0) : WindowsPalette[indexed.at(x, y)];
    }
    return image;
}

} // namespace velkaro::iconlib
