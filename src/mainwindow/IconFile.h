#pragma once

#include "IconPicture.h"

#include <QString>
#include <optional>

class QWidget;

namespace velkaro {

class Project;

// Reads a picture file, its picture as ReadIconPicture takes it. The file's
// own bytes stay with the picture. Gives nothing when the file cannot be read
// or holds no picture.
std::optional<IconPicture> LoadIconFile(const QString& path);

// Loads the icon file that the icon slot names into the icon picture. A file that
// does not load gives the message and empties the slot; a sentinel is left
// alone.
void VerifyIconFile(Project& project);

// The icon commands of section (4): "Kein", "Standard" and "&Auswahl ...".
void ChooseNoIcon(Project& project);
void ChooseDefaultIcon(Project& project);
void ChooseIconFile(Project& project, QWidget* owner);

} // namespace velkaro
