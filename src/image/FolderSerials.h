#pragma once

namespace velkaro::image {

// libisofs gives folders their Rock Ridge file serial numbers (PX) in the
// order of their places in memory, which changes from run to run and with
// every change to the program. Hands the same numbers out again in the
// order the folders were added (each folder's entries by name, depth first),
// so that the same tree gives the same bytes. Works on the laid-out image in
// `fd`; gives errno, or 0 (also when the image holds no such numbers).
int NumberFoldersInOrder(int fd);

} // namespace velkaro::image
