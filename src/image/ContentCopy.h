#pragma once

#include "IsoImage.h"

#include <QtGlobal>

namespace velkaro::image {

// Copies each file's bytes into its place in the laid-out image in `fd`
// (`total` bytes long): where each file lies is read from the written image
// itself. The kernel copies where it can, plain reads and writes elsewhere.
WriteOutcome FillContents(const ImageSettings& settings, int fd, const QString& target,
                          qint64 total, const ProgressFunction& progress,
                          const volatile std::sig_atomic_t* stop);

} // namespace velkaro::image
