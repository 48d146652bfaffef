#pragma once

#include "IsoImage.h"

#include <QtGlobal>
#include <sys/types.h>

namespace velkaro::image {

// Writes all `size` bytes at `offset`; false with the system's error number
// in `*savedErrno` when that fails (a write that takes nothing is a full disk).
bool WriteAll(int fd, const unsigned char* data, qsizetype size, off_t offset, int* savedErrno);

// Copies each file's bytes into its place in the laid-out image in `fd`
// (`total` bytes long): where each file lies is read from the written image
// itself. The kernel copies where it can, plain reads and writes elsewhere.
WriteOutcome FillContents(const ImageSettings& settings, int fd, const QString& target,
                          qint64 total, const ProgressFunction& progress,
                          const volatile std::sig_atomic_t* stop);

} // namespace velkaro::image
