#pragma once

#include "IconPicture.h"

namespace velkaro {

// The main window's pictures: number 2 is the launcher's own icon (a disc),
// number 5 the mark for "no icon". The others have no part in the program.
IconPicture MainIconListPicture(int number);

} // namespace velkaro
