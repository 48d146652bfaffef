// Shows one window of Velkaro by itself, so that a screenshot can be taken:
//   velkaro_show_window progress   the System-Check, then exits
//   velkaro_show_window info       the info dialog, until it is closed
// See tools/take-screenshots.sh.

#include "InfoFormCommercial.h"
#include "Messages.h"
#include "Presenter.h"
#include "ProgressbarModule.h"
#include "SystemCheck.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstring>

using namespace velkaro;

namespace {

// The System-Check's closing message would wait for a click: it is answered
// unseen, as the picture shows the progress window only.
class UnseenMessages final : public MessagePresenter
{
public:
    MessageAnswer present(const ShownMessage& message) override { return message.defaultAnswer; }
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc == 2 && std::strcmp(argv[1], "progress") == 0) {
        UnseenMessages messages;
        TimedWait wait;
        RunSystemCheck(wait);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "info") == 0) {
        QtPresenter presenter;
        ShowInfoDialog(presenter);
        return app.exec();
    }
    std::fprintf(stderr, "Aufruf: velkaro_show_window progress | info\n");
    return 2;
}
