#pragma once

#include <QIcon>

namespace velkaro {

// The program's own icon (the disc), carried inside the program so that the
// window shows it even where no desktop integration is installed.
QIcon ApplicationIcon();

} // namespace velkaro
