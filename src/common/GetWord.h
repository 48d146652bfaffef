#pragma once

#include <QString>

namespace velkaro {

// The n-th word of text (n counts from 1), words being separated by the
// delimiter; an empty delimiter means one blank. Two delimiters in a row give
// an empty word. Fewer than n words, or n below 1, give the empty text.
QString GetWord(const QString& text, int n, const QString& delimiter = QString());

} // namespace velkaro
