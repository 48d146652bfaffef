#pragma once

#include <QString>

namespace velkaro {

// The full path of the first help page that exists beside the program, or
// the empty text. Looked for in the program folder (in the system's form),
// then in its subfolder "hilfe"; named "index", then "hilfe"; ending ".htm",
// then ".html".
QString FindLocalHelpFile(const QString& programFolder);

} // namespace velkaro
