#pragma once

#include <QString>

namespace velkaro {

// The Help command: the first local help page, or else the question whether
// to open the online manual.
void ShowHelp();

// The full path of the first help page that exists beside the program, or
// the empty text. Looked for in the program folder, then in its subfolder
// "hilfe"; named "index", then "hilfe"; ending ".htm", then ".html".
QString FindLocalHelpFile();

// The maker's web address followed by the suffix, in a maximised window.
void OpenMakerSite(const QString& suffix);

// This product's page on the maker's site, in a maximised window.
void OpenOnlineManual();

} // namespace velkaro
