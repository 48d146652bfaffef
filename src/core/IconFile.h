#pragma once

#include "IconPicture.h"

#include <QString>
#include <optional>

namespace velkaro {

class Project;

// Reads a picture file, its picture as ReadIconPicture takes it. The file's
// own bytes stay with the picture. Gives nothing when the file cannot be read
// or holds no picture.
std::optional<IconPicture> LoadIconFile(const QString& path);

// Loads the icon file that the icon slot names into the icon picture. A file that
// does not load gives the message and empties the slot; an icon that is no
// own file is left alone.
void VerifyIconFile(Project& project);

// The message for an icon file that does not load.
QString InvalidIconText();

// The icon commands "Kein" and "Standard" of section (4).
void ChooseNoIcon(Project& project);
void ChooseDefaultIcon(Project& project);

} // namespace velkaro
