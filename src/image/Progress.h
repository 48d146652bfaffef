#pragma once

#include <QString>
#include <QtGlobal>

namespace velkaro::image {

// The progress line on a terminal:
//   "[##########              ]  42 % |   12,3 MB/s | noch 0:07"
// The speed and the time left need a second of writing to mean anything.
QString ProgressLine(qint64 written, qint64 total, double seconds);

// 1.234.567 bytes as "1,2 MB" (MB of 1,000,000 bytes, German decimal comma).
QString Megabytes(qint64 bytes);

} // namespace velkaro::image
