#pragma once

#include "IsoLibrary.h"

#include <sys/types.h>

namespace velkaro::image {

// libisofs moves a file's bytes 2 KiB at a time: a read of the file, a copy
// into its buffer, a wake-up of the reading thread, a copy out. For 1 GiB
// that took three times as long as copying the files. So it only lays the
// image out: each file stands in it as a placeholder of its size that gives
// zeros, which are not written (the image file keeps a hole there), and the
// files' bytes are copied into their places afterwards (ContentCopy.h), by
// the kernel, in large pieces.

// A stream of `size` zeros. Placeholders with the same serial are one file
// (reached twice, through a link); different serials are different files.
// nullptr when memory runs out.
IsoStream* NewPlaceholder(off_t size, ino_t serial);

} // namespace velkaro::image
