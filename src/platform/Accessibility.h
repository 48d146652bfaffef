#pragma once

class QWidget;

namespace velkaro {

// Qt reports a window made from a plain widget to screen readers as a mere
// client area; this makes it a window with its title, as a dialog is.
void ReportAsWindow(QWidget* window);

} // namespace velkaro
