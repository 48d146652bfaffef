#pragma once

#include "DiscVocabulary.h"

#include <QString>
#include <QStringView>
#include <optional>

namespace velkaro {

// The first character of a path's part below the CD root that the finished
// disc cannot carry: one that Windows forbids in file names (" < > | ? * :
// and the backslash where it is not the separator), a control character, or
// one that AutoRun.Inf cannot hold because Windows-1252 has no byte for it.
// Separators of this system are allowed; they become "\" on the disc.
std::optional<char32_t> FindUnusableCharacter(QStringView relativePart);

} // namespace velkaro
