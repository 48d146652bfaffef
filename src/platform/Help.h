#pragma once

#include <QString>

namespace velkaro {

class Presenter;

// The Help command: the first local help page in the program folder, or else
// the question whether to open the online manual.
void ShowHelp(Presenter& presenter, const QString& programFolder);

// The maker's web address followed by the suffix, in a maximised window.
void OpenMakerSite(Presenter& presenter, const QString& suffix);

// This product's page on the maker's site, in a maximised window.
void OpenOnlineManual(Presenter& presenter);

} // namespace velkaro
