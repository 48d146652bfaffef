#include "AppIcon.h"
#include "Form1.h"
#include "MessageBox.h"
#include "Presenter.h"
#include "QtTranslations.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    velkaro::InstallGermanQtTranslations(app);
    // Every message of the program appears in a message box from here on.
    velkaro::MessageBox messageBox;
    QApplication::setWindowIcon(velkaro::ApplicationIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral(VELKARO_APP_ID));
    velkaro::QtPresenter presenter;
    velkaro::Form1 window(presenter);
    window.show();
    return app.exec();
}
