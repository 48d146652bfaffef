#pragma once

#include <QString>

namespace velkaro::image {

// The volume label of a disc, legal in both trees: the ISO 9660 volume
// identifier allows only A-Z, 0-9 and "_" (32 of them), Joliet's, which
// Windows shows, 16 characters. So the label is at most 16 of A-Z, 0-9, "_":
// letters are upper-cased, umlauts spelt out (Ä -> AE, ß -> SS), accents
// dropped, every other character becomes "_". Never empty: "CD" then.
inline constexpr int VolumeLabelLimit = 16;
QString MakeVolumeLabel(const QString& wanted);

} // namespace velkaro::image
