// Includes a widget header, so that the check has something to find.
#include <QtWidgets/QLabel>
