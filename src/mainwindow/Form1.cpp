#include "Form1.h"

#include "Autostart.h"
#include "Help.h"
#include "IconFile.h"
#include "InfoFormCommercial.h"
#include "MainIconList.h"
#include "PathChoosers.h"
#include "SelIconDialog.h"
#include "Sentinels.h"
#include "SystemCheck.h"
#include "Titles.h"
#include "WindowPlacement.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>

namespace velkaro {

namespace {

// The layout is kept in twips, as it was designed; the screen shows 15 to a pixel.
constexpr int Px(int twips)
{
    return twips / TwipsPerPixel;
}

void Place(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(Px(left), Px(top), Px(width), Px(height));
}

constexpr int ClientWidth = 8775;
constexpr int ClientHeight = 6360;
constexpr int StatusBarTop = 4800 + 1155; // below the command section

} // namespace

Form1::Form1(QWidget* parent) : QWidget(parent)
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setObjectName(QStringLiteral("Form1"));
    setFixedSize(Px(ClientWidth), Px(ClientHeight));
    // The layout was drawn for an 8-point dialog font, 11 pixels high.
    QFont dialogFont = font();
    dialogFont.setPixelSize(11);
    setFont(dialogFont);
    BuildControls();
    BuildStatusBar();
    SetTabOrder();
    ConnectProject();
    Form_Load();
}

QPushButton* Form1::AddButton(int index, QWidget* frame, const QString& caption, int left, int top,
                              int width, int height)
{
    auto* button = new QPushButton(caption, frame);
    button->setObjectName(QStringLiteral("Btn_%1").arg(index));
    button->setAutoDefault(false);
    Place(button, left, top, width, height);
    connect(button, &QPushButton::clicked, this, [this, index] { Btn_Click(index); });
    m_btn[index] = button;
    return button;
}

void Form1::BuildControls()
{
    auto frame = [this](int index, const QString& caption, int top, int height) {
        auto* box = new QGroupBox(caption, this);
        box->setObjectName(QStringLiteral("Frame1_%1").arg(index));
        Place(box, 120, top, 8535, height);
        m_frame[index] = box;
        return box;
    };
    auto pathField = [this](int n, QWidget* parent, int left, int top, int width) {
        auto* field = new QLineEdit(parent);
        field->setObjectName(QStringLiteral("PathTB_%1").arg(n));
        Place(field, left, top, width, 315);
        m_pathTB[n] = field;
    };

    // (1) the CD root
    QGroupBox* f0 = frame(
        0, QStringLiteral("(1) Position des CD-Hauptverzeichnisses auf der Festplatte "), 120, 795);
    pathField(0, f0, 180, 300, 5415);
    AddButton(4, f0, QStringLiteral("&Auswahl ..."), 5640, 300, 1035, 315);
    m_useLFNChk = new QCheckBox(QStringLiteral("&UNSICHTBAR Verwende lange Dateinamen"), f0);
    m_useLFNChk->setObjectName(QStringLiteral("UseLFNChk"));
    Place(m_useLFNChk, 6900, 180, 1575, 555);
    m_useLFNChk->setChecked(true);
    m_useLFNChk->setVisible(false);
    connect(m_useLFNChk, &QCheckBox::toggled, this,
            [this](bool checked) { m_project.setUseLongNames(checked); });

    // (2) the object that opens by itself
    QGroupBox* f1 = frame(
        1, QStringLiteral("(2) Dateipfad zum dem Objekt, welches automatisch von CD starten soll"),
        1020, 795);
    pathField(1, f1, 180, 300, 5415);
    m_destTypeOpt[0] = new QRadioButton(QStringLiteral("&Datei"), f1);
    m_destTypeOpt[1] = new QRadioButton(QStringLiteral("&Ordner"), f1);
    Place(m_destTypeOpt[0], 5700, 360, 855, 255);
    // Six pixels wider than drawn, so that "Ordner" is not clipped in fonts
    // wider than the one the layout was made for; the button keeps its place.
    Place(m_destTypeOpt[1], 6480, 360, 885, 255);
    for (int i = 0; i < 2; ++i)
        m_destTypeOpt[i]->setObjectName(QStringLiteral("DestTypeOpt_%1").arg(i));
    m_destTypeOpt[0]->setChecked(true);
    connect(m_destTypeOpt[1], &QRadioButton::toggled, this,
            [this](bool folder) { m_project.setTargetIsFolder(folder); });
    AddButton(5, f1, QStringLiteral("&Auswahl ..."), 7380, 300, 1035, 315);

    // (3) the context-menu entries
    QGroupBox* f2 = frame(
        2, QStringLiteral("(3) Zusatzeinträge für das Kontextmenü der Autostart-CD (optional)"),
        1920, 1875);
    m_label1[0] = new QLabel(QStringLiteral("Text im Kontextmenü"), f2);
    m_label1[1] = new QLabel(QStringLiteral("Dateipfad zum zu startenden Objekt"), f2);
    Place(m_label1[0], 120, 300, 1875, 315);
    Place(m_label1[1], 2040, 300, 4635, 315);
    for (int i = 0; i < 2; ++i)
        m_label1[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
    for (int row = 0; row < Project::RowCount; ++row) {
        const int top = 660 + 360 * row;
        auto* text = new QLineEdit(f2);
        text->setObjectName(QStringLiteral("KMLabelTB_%1").arg(row));
        Place(text, 120, top, 1875, 315);
        connect(text, &QLineEdit::textEdited, this,
                [this, row](const QString& typed) { m_project.setMenuText(row, typed); });
        m_kmLabelTB[row] = text;
        pathField(Project::RowSlot(row), f2, 2040, top, 4635);
        AddButton(Project::ClearRowButtonBase + row, f2, QStringLiteral("Kein"), 6720, top, 615,
                  315);
        AddButton(Project::ChooseRowButtonBase + row, f2, QStringLiteral("&Auswahl ..."), 7380, top,
                  1035, 315);
    }

    // (4) the icon
    QGroupBox* f3 =
        frame(3, QStringLiteral("(4) Position der Datei mit dem Icon für dieses CD (optional)"),
              3900, 795);
    pathField(Project::IconSlot, f3, 180, 300, 4095);
    m_iconPreviewImg = new QLabel(f3);
    m_iconPreviewImg->setObjectName(QStringLiteral("IconPreviewImg"));
    Place(m_iconPreviewImg, 4320, 300, 315, 315);
    m_iconPreviewImg->setToolTip(QStringLiteral("Dies ist das zurzeit festgelegte Icon. Die "
                                                "Anzeige kann von der tatsächlichen Größe "
                                                "abweichen."));
    AddButton(2, f3, QStringLiteral("Bibliothek"), 4680, 300, 975, 315);
    AddButton(13, f3, QStringLiteral("Standard"), 5700, 300, 975, 315);
    AddButton(8, f3, QStringLiteral("Kein"), 6720, 300, 615, 315);
    AddButton(7, f3, QStringLiteral("&Auswahl ..."), 7380, 300, 1035, 315);

    // the command section
    QGroupBox* f5 = frame(5, QStringLiteral("Steuerung"), 4800, 1155);
    m_image1 = new QLabel(f5);
    m_image1->setObjectName(QStringLiteral("Image1"));
    Place(m_image1, 150, 240, 2925, 795);
    // Image1 is hidden from the start: its picture is decoded only if it is
    // ever shown (see eventFilter), not on every start.
    m_image1->setScaledContents(true);
    m_image2 = new QLabel(f5);
    m_image2->setObjectName(QStringLiteral("Image2"));
    Place(m_image2, 2010, 120, 780, 255);
    // The badge in the size the window shows it (twice that, for dense
    // screens); the full picture would cost more to decode than the window.
    QPixmap badge(QStringLiteral(":/logos/logo-badge-display.png"));
    badge.setDevicePixelRatio(2.0);
    m_image2->setPixmap(badge);
    m_image2->setScaledContents(true);
    for (QLabel* logo : {m_image1, m_image2}) {
        logo->setCursor(Qt::PointingHandCursor);
        logo->installEventFilter(this);
    }
    AddButton(0, f5, QStringLiteral("&Prüfe Autostart-Optionen von Windows"), 3180, 240, 3855, 375);
    AddButton(22, f5, QStringLiteral("&Beenden"), 7260, 240, 1155, 375);
    AddButton(3, f5, QStringLiteral("&Kompakte Ansicht <<"), 3180, 660, 2055, 375);
    AddButton(20, f5, QStringLiteral("&Info"), 5340, 660, 795, 375);
    AddButton(21, f5, QStringLiteral("H&ilfe"), 6240, 660, 795, 375);
    QPushButton* ok = AddButton(1, f5, QStringLiteral("&OK"), 7260, 660, 1155, 375);
    QFont bold = ok->font();
    bold.setBold(true);
    ok->setFont(bold);
}

void Form1::BuildStatusBar()
{
    m_status = new QStatusBar(this);
    m_status->setObjectName(QStringLiteral("Status"));
    m_status->setSizeGripEnabled(false);
    for (int i = 0; i < 2; ++i) {
        auto* empty = new QLabel(m_status);
        empty->setObjectName(QStringLiteral("Status_Panel%1").arg(i + 1));
        m_status->addWidget(empty, 1);
    }
    m_timePanel = new QLabel(m_status);
    m_timePanel->setObjectName(QStringLiteral("Status_Time"));
    m_datePanel = new QLabel(m_status);
    m_datePanel->setObjectName(QStringLiteral("Status_Date"));
    m_status->addPermanentWidget(m_timePanel);
    m_status->addPermanentWidget(m_datePanel);
    m_status->setGeometry(0, Px(StatusBarTop), Px(ClientWidth), Px(ClientHeight - StatusBarTop));

    m_clock = new QTimer(this);
    m_clock->setSingleShot(true);
    connect(m_clock, &QTimer::timeout, this, &Form1::UpdateClock);
    UpdateClock();
}

void Form1::UpdateClock()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale;
    m_timePanel->setText(locale.toString(now.time(), QLocale::ShortFormat));
    m_datePanel->setText(locale.toString(now.date(), QLocale::ShortFormat));
    // Wake up when the shown minute changes, not more often.
    const int msToNextMinute = 60000 - (now.time().second() * 1000 + now.time().msec());
    m_clock->start(msToNextMinute + 50);
}

void Form1::SetTabOrder()
{
    QList<QWidget*> order{m_pathTB[0],      m_btn[4],         m_pathTB[1],
                          m_destTypeOpt[0], m_destTypeOpt[1], m_btn[5]};
    for (int row = 0; row < Project::RowCount; ++row)
        order << m_kmLabelTB[row] << m_pathTB[Project::RowSlot(row)]
              << m_btn[Project::ClearRowButtonBase + row]
              << m_btn[Project::ChooseRowButtonBase + row];
    order << m_pathTB[Project::IconSlot] << m_btn[2] << m_btn[13] << m_btn[8] << m_btn[7];
    order << m_btn[0] << m_btn[3] << m_btn[20] << m_btn[21] << m_btn[22] << m_btn[1];
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

void Form1::ConnectProject()
{
    const auto showSlot = [this](int n) {
        m_pathTB[n]->setText(m_project.slot(n));
        m_pathTB[n]->setCursorPosition(0);
    };
    connect(&m_project, &Project::slotChanged, this, showSlot);
    connect(&m_project, &Project::menuTextChanged, this, [this](int row) {
        if (m_kmLabelTB[row]->text() != m_project.menuText(row))
            m_kmLabelTB[row]->setText(m_project.menuText(row));
    });
    connect(&m_project, &Project::targetKindChanged, this,
            [this](bool folder) { m_destTypeOpt[folder ? 1 : 0]->setChecked(true); });
    connect(&m_project, &Project::iconChanged, this, &Form1::ShowIconPicture);
    connect(&m_project, &Project::rootDependentEnabledChanged, this, [this](bool enabled) {
        for (int row = 0; row < Project::RowCount; ++row)
            m_btn[Project::ChooseRowButtonBase + row]->setEnabled(enabled);
        for (int index : {5, 7})
            m_btn[index]->setEnabled(enabled);
        m_destTypeOpt[0]->setEnabled(enabled);
        m_destTypeOpt[1]->setEnabled(enabled);
    });
    connect(&m_project, &Project::okEnabledChanged, this,
            [this](bool enabled) { m_btn[1]->setEnabled(enabled); });
    connect(&m_project, &Project::pathFieldsLockedChanged, this, [this] {
        for (QLineEdit* field : m_pathTB)
            field->setReadOnly(m_project.pathFieldsLocked());
    });

    // Show what the project holds already; from here on the signals keep it.
    for (int n = 0; n < Project::SlotCount; ++n)
        showSlot(n);
    for (int row = 0; row < Project::RowCount; ++row)
        m_kmLabelTB[row]->setText(m_project.menuText(row));
    ShowIconPicture();
}

void Form1::ShowIconPicture()
{
    const QImage& image = m_project.icon().image;
    m_iconPreviewImg->setPixmap(
        image.isNull()
            ? QPixmap()
            : QPixmap::fromImage(image.scaled(m_iconPreviewImg->size(), Qt::IgnoreAspectRatio,
                                              Qt::SmoothTransformation)));
}

void Form1::Form_Load()
{
    setWindowTitle(ProductTitle());
    ShowMakerLogo();
    m_controlFrameTop = 4800;
    m_extendedHeight = ClientHeight;
    m_project.LockPathFields();
    ToggleViewMode();
    RestoreFormPosition(this);
    m_project.ResetProject();
    m_pathTB[0]->setFocus();
}

void Form1::ShowMakerLogo()
{
    m_image1->setVisible(false);
    const QRect place = m_image1->geometry();
    m_image2->move(place.left(), place.top());
    const int height = place.height();
    m_image2->resize(qRound(height * 668.0 / 261.0), height);
    m_image2->setVisible(true);
    m_image2->setToolTip(QStringLiteral("... created by Quenbrook. Klicken Sie hier, um noch mehr "
                                        "interessante Tools kennen zu lernen."));
}

void Form1::ToggleViewMode()
{
    m_compactView = !m_compactView;
    m_frame[2]->setVisible(!m_compactView);
    m_frame[3]->setVisible(!m_compactView);
    QString caption;
    int commandTop = 0;
    int height = 0;
    if (m_compactView) {
        caption = QStringLiteral("Erweiterte Ansicht >>");
        commandTop = Px(m_frame[2]->y() * TwipsPerPixel);
        height = Px(m_extendedHeight - m_controlFrameTop + m_frame[2]->y() * TwipsPerPixel);
    } else {
        caption = QStringLiteral("Kompakte Ansicht <<");
        commandTop = Px(m_controlFrameTop);
        height = Px(m_extendedHeight);
    }
    m_btn[3]->setText(caption);
    m_frame[5]->move(m_frame[5]->x(), commandTop);
    // The window keeps its top-left corner and grows or shrinks at the bottom;
    // the status bar stays at the bottom edge.
    setFixedSize(width(), height);
    m_status->move(0, height - m_status->height());
}

void Form1::Btn_Click(int index)
{
    const int clearRow = index - Project::ClearRowButtonBase;
    if (clearRow >= 0 && clearRow < Project::RowCount) {
        m_project.ClearSlot(Project::RowSlot(clearRow));
        return;
    }
    const int chooseRow = index - Project::ChooseRowButtonBase;
    if (chooseRow >= 0 && chooseRow < Project::RowCount) {
        ChooseSlotPath(m_project, Project::RowSlot(chooseRow), this);
        return;
    }
    switch (index) {
    case 0:
        RunSystemCheck();
        break;
    case 1:
        if (WriteAutostart(m_project) == AutostartOutcome::Quit)
            close();
        break;
    case 2:
        ShowIconLibrary(m_project);
        break;
    case 3:
        ToggleViewMode();
        break;
    case 4:
        ChooseCdRoot(m_project, this);
        break;
    case 5:
        ChooseSlotPath(m_project, Project::TargetSlot, this);
        m_project.UpdateOkButton();
        break;
    case 7:
        ChooseIconFile(m_project, this);
        break;
    case 8:
        ChooseNoIcon(m_project);
        break;
    case 13:
        ChooseDefaultIcon(m_project);
        break;
    case 20:
        ShowInfoDialog(this);
        break;
    case 21:
        ShowHelp();
        break;
    case 22:
        close();
        break;
    default:
        break;
    }
}

void Form1::Image1_Click()
{
    OpenMakerSite(QString());
}

void Form1::Image2_Click()
{
    OpenMakerSite(QString());
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_image1 && event->type() == QEvent::Show && m_image1->pixmap().isNull())
        m_image1->setPixmap(QPixmap(QStringLiteral(":/logos/logo-wide.png")));
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == m_image1)
            Image1_Click();
        else if (watched == m_image2)
            Image2_Click();
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::Form_Unload()
{
    SaveFormPosition(this);
}

void Form1::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

} // namespace velkaro
