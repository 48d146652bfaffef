#pragma once

#include <QString>
#include <optional>

namespace velkaro {

class Project;

// The texts the window's fields show where the project holds no path, no
// menu text or an icon without a file, and the way back from what the user
// types. The project itself holds only meaning.

// The text of PathTB(n) for slot n.
QString PathFieldText(const Project& project, int n);

// The text of KMLabelTB for a menu text of the project.
QString MenuFieldText(const std::optional<QString>& menuText);

// The menu text that a typed field means: "(kein)", also between blanks,
// is none; anything else stands as typed.
std::optional<QString> MenuTextOfField(const QString& typed);

} // namespace velkaro
