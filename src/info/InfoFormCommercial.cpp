#include "InfoFormCommercial.h"

#include "Clock.h"
#include "Help.h"
#include "MakerInfo.h"
#include "Messages.h"
#include "Titles.h"
#include "Twips.h"
#include "Version.h"
#include "WindowPlacement.h"

#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>

namespace velkaro {

namespace {

// The first year of the maker's line.
constexpr int MakerFirstYear = 2005;

QPointer<InfoFormCommercial>& OpenDialog()
{
    static QPointer<InfoFormCommercial> dialog;
    return dialog;
}

} // namespace

void ClickableImage::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

QString InfoText(int currentYear)
{
    const QString cr(QChar(13));
    const QString years =
        currentYear > MakerFirstYear
            ? QString::number(MakerFirstYear) + QLatin1Char('-') + QString::number(currentYear)
            : QString::number(currentYear);
    return ProductTitle() + GetVersionText(256) + QStringLiteral(" \u2013") + QLatin1Char(' ') +
           QStringLiteral("macht Autostart-CDs 100% startklar") + cr + cr +
           QStringLiteral("\u00A9 ") + years + QLatin1Char(' ') + MakerName() + cr + cr +
           ProductTitle() + QLatin1Char(' ') +
           QStringLiteral("gehört zu einer ganzen Serie von nützlichen, kleinen Helfern im "
                          "PC-Alltag. Interesse? Weitere Infos gibt es im Internet unter ") +
           MakerSiteName() +
           QStringLiteral(". Mit einem Klick auf den Taster links unten können Sie sich direkt "
                          "verbinden lassen ...");
}

InfoFormCommercial::InfoFormCommercial(Presenter& presenter, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_presenter(presenter)
{
    setObjectName(QStringLiteral("InfoFormCommercial"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(Pixels(9390), Pixels(4875));

    Image1 = new ClickableImage(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(Pixels({60, 120, 975, 4635}));
    Image1->setPixmap(QPixmap(QStringLiteral(":/info/quenbrook-strip.png")));
    Image1->setScaledContents(true);
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->setToolTip(QStringLiteral("Klicken Sie hier, um noch mehr interessante "
                                      "Quenbrook-Programme kennenzulernen ..."));
    connect(Image1, &ClickableImage::clicked, this, &InfoFormCommercial::Image1_Click);

    Label0 = new QLabel(this);
    Label0->setObjectName(QStringLiteral("Label0"));
    Label0->setGeometry(Pixels({1140, 120, 8115, 3975}));
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9.75);
    Label0->setFont(font);
    Label0->setTextFormat(Qt::PlainText);
    Label0->setWordWrap(true);
    Label0->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    Line1->setGeometry(Pixels(1140), Pixels(4200) - 1, Pixels(9300 - 1140), 2);

    Btn1 = new QPushButton(this);
    Btn1->setObjectName(QStringLiteral("Btn1"));
    Btn1->setGeometry(Pixels({1140, 4320, 3315, 435}));
    Btn1->setToolTip(QStringLiteral("... startet Ihren Internet-Browser mit dem Ziel ") +
                     MakerSiteName());
    Btn3 = new QPushButton(this);
    Btn3->setObjectName(QStringLiteral("Btn3"));
    Btn3->setGeometry(Pixels({6780, 4320, 2565, 435}));
    Btn3->setToolTip(QStringLiteral("... bringt Sie zurück zum Programm"));
    // Neither button answers Enter: a dialog's buttons would by default.
    for (QPushButton* button : {Btn1, Btn3}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    setTabOrder(Btn1, Btn3);
    connect(Btn1, &QPushButton::clicked, this, [this] { Btn_Click(1); });
    connect(Btn3, &QPushButton::clicked, this, [this] { Btn_Click(3); });

    Form_Load();
}

void InfoFormCommercial::Form_Load()
{
    setWindowTitle(ProductTitle() + QStringLiteral(" - Info"));
    Btn1->setText(QStringLiteral("Quenbrook im Web besuchen"));
    Btn3->setText(QStringLiteral("&Schliessen"));

    PlaceInfoDialog(this, ScreenSizePixels());

    Label0->setText(MessageDisplayText(InfoText(CurrentDateTime().date().year())));
}

void InfoFormCommercial::Btn_Click(int index)
{
    switch (index) {
    case 1:
        OpenMakerSite(m_presenter, QString());
        break;
    case 3:
        close();
        break;
    default:
        break;
    }
}

void InfoFormCommercial::Image1_Click()
{
    OpenMakerSite(m_presenter, QString());
}

void InfoFormCommercial::keyPressEvent(QKeyEvent* event)
{
    // Escape would reject the dialog; it stays open until "Schliessen" or
    // the close box.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void PlaceInfoDialog(QWidget* dialog, QSize screen)
{
    if (screen.width() <= 640 || screen.height() <= 480)
        dialog->move(0, 0);
    else
        CenterFormOnScreen(dialog, screen);
}

InfoFormCommercial* ShowInfoDialog(Presenter& presenter, QWidget* owner)
{
    QPointer<InfoFormCommercial>& dialog = OpenDialog();
    // A closed dialog is only hidden until its deletion comes round: build anew.
    if (!dialog || !dialog->isVisible()) {
        dialog = new InfoFormCommercial(presenter, owner);
        dialog->show();
    } else {
        dialog->show();
        dialog->raise();
        dialog->activateWindow();
    }
    return dialog;
}

} // namespace velkaro
