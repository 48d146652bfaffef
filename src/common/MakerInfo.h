#pragma once

#include <QString>

namespace velkaro {

// The maker's web site and contact, all from the build settings, so that the
// AutoRun.Inf header, the help links and the info dialog agree.

// Scheme and host in lower case, no trailing slash.
QString MakerWebAddress();
// The host as users see it.
QString MakerSiteName();
QString MakerName();
QString MakerSupportEmail();
// The page of this product on the maker's site (the online manual's address).
QString ProductPageAddress();

} // namespace velkaro
