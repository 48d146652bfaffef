#pragma once

namespace velkaro {

class Project;

// Makes library icon n the disc's icon: the icon comes from the library and
// the project holds the picture together with the icon's own file bytes,
// which the OK command writes unchanged as AutoRun.Ico. n = 0 means that no
// icon was picked, and like any number outside the library it changes nothing.
void ApplyLibraryIcon(Project& project, int n);

} // namespace velkaro
