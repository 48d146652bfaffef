#include "AppIcon.h"
#include "AppSettings.h"
#include "FileHelpers.h"
#include "Form1.h"
#include "MessageBox.h"
#include "Presenter.h"
#include "ProgressbarModule.h"
#include "QtTranslations.h"

#include <QApplication>
#include <QSettings>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    velkaro::InstallGermanQtTranslations(app);
    // Every message of the program appears in a message box from here on.
    velkaro::MessageBox messageBox;
    QApplication::setWindowIcon(velkaro::ApplicationIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral(VELKARO_APP_ID));
    velkaro::QtPresenter presenter;
    const std::unique_ptr<QSettings> settings = velkaro::OpenAppSettings();
    velkaro::TimedWait wait;
    velkaro::AutostartEnvironment autostart;
    autostart.programFolder = velkaro::ProgramFolder();
    velkaro::Form1 window({presenter, *settings, wait, autostart});
    window.show();
    return app.exec();
}
