#include "Form1.h"

#include "Accessibility.h"
#include "Autostart.h"
#include "FieldTexts.h"
#include "Form1Buttons.h"
#include "Help.h"
#include "IconFile.h"
#include "InfoFormCommercial.h"
#include "MainIconList.h"
#include "PathChoosers.h"
#include "SelIconDialog.h"
#include "SystemCheck.h"
#include "Titles.h"
#include "Twips.h"
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

constexpr int ClientWidth = 8775;
constexpr int ClientHeight = 6360;

enum class ControlKind
{
    Frame,
    PathField,
    MenuTextField,
    Button,
    Label,
    Option,
    LongNamesCheck,
    IconPreview,
    Logo
};

// The command section, Frame1(5): the view switch moves it, the status bar
// stands below it.
constexpr TwipsRect CommandSection{120, 4800, 8535, 1155};
constexpr int StatusBarTop = CommandSection.top + CommandSection.height;

// Controls that stand on the window itself rather than in a frame.
constexpr int OnWindow = -1;

using K = ControlKind;

} // namespace

// One control of the window: what it is, its index in its control array, the
// frame it stands in, its caption and its place in twips, relative to its
// frame.
struct Form1Control
{
    ControlKind kind;
    int index;
    int frame;
    const char* caption;
    TwipsRect place;
};

namespace {

// The window in its extended view, as designed, in the order of creation.
// clang-format off
// Sections (1) to (3), up to the headings of the context rows:
constexpr Form1Control UpperSections[] = {
    {K::Frame, 0, OnWindow, "(1) Position des CD-Hauptverzeichnisses auf der Festplatte ",
                                                        {120, 120, 8535, 795}},
    {K::PathField, Project::CdRootSlot, 0, "",          {180, 300, 5415, 315}},
    {K::Button, CdRootButton, 0, "&Auswahl ...",        {5640, 300, 1035, 315}},
    {K::LongNamesCheck, 0, 0, "&UNSICHTBAR Verwende lange Dateinamen",
                                                        {6900, 180, 1575, 555}},

    {K::Frame, 1, OnWindow, "(2) Dateipfad zum dem Objekt, welches automatisch von CD starten soll",
                                                        {120, 1020, 8535, 795}},
    {K::PathField, Project::TargetSlot, 1, "",          {180, 300, 5415, 315}},
    {K::Option, 0, 1, "&Datei",                         {5700, 360, 855, 255}},
    // Six pixels wider than drawn, so that "Ordner" is not clipped in fonts
    // wider than the one the layout was made for; the button keeps its place.
    {K::Option, 1, 1, "&Ordner",                        {6480, 360, 885, 255}},
    {K::Button, TargetButton, 1, "&Auswahl ...",        {7380, 300, 1035, 315}},

    {K::Frame, 2, OnWindow, "(3) Zusatzeinträge für das Kontextmenü der Autostart-CD (optional)",
                                                        {120, 1920, 8535, 1875}},
    {K::Label, 0, 2, "Text im Kontextmenü",             {120, 300, 1875, 315}},
    {K::Label, 1, 2, "Dateipfad zum zu startenden Objekt",
                                                        {2040, 300, 4635, 315}},
};

// Context row 0; row i stands RowPitch lower, and its indices are i higher.
constexpr Form1Control ContextRow[] = {
    {K::MenuTextField, 0, 2, "",                        {120, 660, 1875, 315}},
    {K::PathField, Project::FirstRowSlot, 2, "",        {2040, 660, 4635, 315}},
    {K::Button, FirstClearRowButton, 2, "Kein",         {6720, 660, 615, 315}},
    {K::Button, FirstChooseRowButton, 2, "&Auswahl ...",
                                                        {7380, 660, 1035, 315}},
};
constexpr int RowPitch = 360;

// Section (4) and the command section:
constexpr Form1Control LowerSections[] = {
    {K::Frame, 3, OnWindow, "(4) Position der Datei mit dem Icon für dieses CD (optional)",
                                                        {120, 3900, 8535, 795}},
    {K::PathField, Project::IconSlot, 3, "",            {180, 300, 4095, 315}},
    {K::IconPreview, 0, 3, "",                          {4320, 300, 315, 315}},
    {K::Button, IconLibraryButton, 3, "Bibliothek",     {4680, 300, 975, 315}},
    {K::Button, DefaultIconButton, 3, "Standard",       {5700, 300, 975, 315}},
    {K::Button, NoIconButton, 3, "Kein",                {6720, 300, 615, 315}},
    {K::Button, IconFileButton, 3, "&Auswahl ...",      {7380, 300, 1035, 315}},

    {K::Frame, 5, OnWindow, "Steuerung",                CommandSection},
    {K::Logo, 1, 5, "",                                 {150, 240, 2925, 795}},
    {K::Logo, 2, 5, "",                                 {2010, 120, 780, 255}},
    {K::Button, SystemCheckButton, 5, "&Prüfe Autostart-Optionen von Windows",
                                                        {3180, 240, 3855, 375}},
    {K::Button, QuitButton, 5, "&Beenden",              {7260, 240, 1155, 375}},
    {K::Button, ViewSwitchButton, 5, "&Kompakte Ansicht <<",
                                                        {3180, 660, 2055, 375}},
    {K::Button, InfoButton, 5, "&Info",                 {5340, 660, 795, 375}},
    {K::Button, HelpButton, 5, "H&ilfe",                {6240, 660, 795, 375}},
    {K::Button, OkButton, 5, "&OK",                     {7260, 660, 1155, 375}},
};
// clang-format on

} // namespace

Form1::Form1(const Form1Environment& environment, QWidget* parent)
    : QWidget(parent), m_environment(environment), m_presenter(environment.presenter)
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setObjectName(QStringLiteral("Form1"));
    ReportAsWindow(this);
    setFixedSize(Pixels(ClientWidth), Pixels(ClientHeight));
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

void Form1::AddControl(const Form1Control& spec)
{
    QWidget* parent = spec.frame == OnWindow ? static_cast<QWidget*>(this) : m_frame.at(spec.frame);
    const QString caption = QString::fromUtf8(spec.caption);
    const int index = spec.index;
    QWidget* control = nullptr;
    switch (spec.kind) {
    case ControlKind::Frame:
        control = m_frame[index] = new QGroupBox(caption, parent);
        control->setObjectName(QStringLiteral("Frame1_%1").arg(index));
        break;
    case ControlKind::PathField:
        control = m_pathTB[index] = new QLineEdit(parent);
        control->setObjectName(QStringLiteral("PathTB_%1").arg(index));
        break;
    case ControlKind::MenuTextField:
        control = m_kmLabelTB[index] = new QLineEdit(parent);
        control->setObjectName(QStringLiteral("KMLabelTB_%1").arg(index));
        connect(m_kmLabelTB[index], &QLineEdit::textEdited, this,
                [this, index](const QString& typed) {
                    // The field keeps what was typed, also where it means no text.
                    m_typedRow = index;
                    m_project.setMenuText(index, MenuTextOfField(typed));
                    m_typedRow = -1;
                });
        break;
    case ControlKind::Button: {
        auto* button = new QPushButton(caption, parent);
        button->setObjectName(QStringLiteral("Btn_%1").arg(index));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, index] { Btn_Click(index); });
        control = m_btn[index] = button;
        break;
    }
    case ControlKind::Label:
        control = m_label1[index] = new QLabel(caption, parent);
        control->setObjectName(QStringLiteral("Label1_%1").arg(index));
        break;
    case ControlKind::Option:
        control = m_destTypeOpt[index] = new QRadioButton(caption, parent);
        control->setObjectName(QStringLiteral("DestTypeOpt_%1").arg(index));
        break;
    case ControlKind::LongNamesCheck:
        control = m_useLFNChk = new QCheckBox(caption, parent);
        control->setObjectName(QStringLiteral("UseLFNChk"));
        break;
    case ControlKind::IconPreview:
        control = m_iconPreviewImg = new QLabel(parent);
        control->setObjectName(QStringLiteral("IconPreviewImg"));
        break;
    case ControlKind::Logo:
        control = (index == 1 ? m_image1 : m_image2) = new QLabel(parent);
        control->setObjectName(QStringLiteral("Image%1").arg(index));
        break;
    }
    control->setGeometry(Pixels(spec.place));
    NameForScreenReaders(spec, control);
}

// A screen reader names a field by its section, or in section (3) by the
// heading of its column and its row; an option is described by its section.
void Form1::NameForScreenReaders(const Form1Control& spec, QWidget* control)
{
    const QString section =
        spec.frame == OnWindow ? QString() : m_frame.at(spec.frame)->title().trimmed();
    switch (spec.kind) {
    case ControlKind::MenuTextField:
        control->setAccessibleName(m_label1[0]->text() +
                                   QStringLiteral(", Zeile %1").arg(spec.index + 1));
        break;
    case ControlKind::PathField:
        if (Project::IsRowSlot(spec.index))
            control->setAccessibleName(
                m_label1[1]->text() +
                QStringLiteral(", Zeile %1").arg(Project::RowOfSlot(spec.index) + 1));
        else
            control->setAccessibleName(section);
        break;
    case ControlKind::Option:
        control->setAccessibleDescription(section);
        break;
    default:
        break;
    }
}

void Form1::BuildControls()
{
    for (const Form1Control& spec : UpperSections)
        AddControl(spec);
    for (int row = 0; row < Project::RowCount; ++row) {
        for (Form1Control spec : ContextRow) {
            spec.index += row;
            spec.place.top += RowPitch * row;
            AddControl(spec);
        }
    }
    for (const Form1Control& spec : LowerSections)
        AddControl(spec);

    m_useLFNChk->setChecked(true);
    m_useLFNChk->setVisible(false);
    connect(m_useLFNChk, &QCheckBox::toggled, this,
            [this](bool checked) { m_project.setUseLongNames(checked); });
    m_destTypeOpt[0]->setChecked(true);
    connect(m_destTypeOpt[1], &QRadioButton::toggled, this,
            [this](bool folder) { m_project.setTargetIsFolder(folder); });
    m_iconPreviewImg->setToolTip(QStringLiteral("Dies ist das zurzeit festgelegte Icon. Die "
                                                "Anzeige kann von der tatsächlichen Größe "
                                                "abweichen."));

    // Image1 is hidden from the start: its picture is decoded only if it is
    // ever shown (see eventFilter), not on every start.
    m_image1->setScaledContents(true);
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
    QFont bold = m_btn[OkButton]->font();
    bold.setBold(true);
    m_btn[OkButton]->setFont(bold);
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
    m_status->setGeometry(0, Pixels(StatusBarTop), Pixels(ClientWidth),
                          Pixels(ClientHeight - StatusBarTop));

    m_clock = new QTimer(this);
    m_clock->setSingleShot(true);
    connect(m_clock, &QTimer::timeout, this, &Form1::UpdateClock);
    UpdateClock();
}

void Form1::UpdateClock()
{
    const QDateTime now = m_environment.autostart.clock();
    const QLocale locale;
    m_timePanel->setText(locale.toString(now.time(), QLocale::ShortFormat));
    m_datePanel->setText(locale.toString(now.date(), QLocale::ShortFormat));
    // Wake up when the shown minute changes, not more often.
    const int msToNextMinute = 60000 - (now.time().second() * 1000 + now.time().msec());
    m_clock->start(msToNextMinute + 50);
}

void Form1::SetTabOrder()
{
    QList<QWidget*> order{m_pathTB[Project::CdRootSlot],
                          m_btn[CdRootButton],
                          m_pathTB[Project::TargetSlot],
                          m_destTypeOpt[0],
                          m_destTypeOpt[1],
                          m_btn[TargetButton]};
    for (int row = 0; row < Project::RowCount; ++row)
        order << m_kmLabelTB[row] << m_pathTB[Project::RowSlot(row)] << m_btn[ClearRowButton(row)]
              << m_btn[ChooseRowButton(row)];
    order << m_pathTB[Project::IconSlot] << m_btn[IconLibraryButton] << m_btn[DefaultIconButton]
          << m_btn[NoIconButton] << m_btn[IconFileButton];
    order << m_btn[SystemCheckButton] << m_btn[ViewSwitchButton] << m_btn[InfoButton]
          << m_btn[HelpButton] << m_btn[QuitButton] << m_btn[OkButton];
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

void Form1::ConnectProject()
{
    const auto showSlot = [this](int n) {
        m_pathTB[n]->setText(PathFieldText(m_project, n));
        m_pathTB[n]->setCursorPosition(0);
    };
    const auto showMenuText = [this](int row) {
        const QString text = MenuFieldText(m_project.menuText(row));
        if (row != m_typedRow && m_kmLabelTB[row]->text() != text)
            m_kmLabelTB[row]->setText(text);
    };
    connect(&m_project, &Project::slotChanged, this, showSlot);
    connect(&m_project, &Project::menuTextChanged, this, showMenuText);
    connect(&m_project, &Project::targetKindChanged, this,
            [this](bool folder) { m_destTypeOpt[folder ? 1 : 0]->setChecked(true); });
    connect(&m_project, &Project::iconChanged, this, &Form1::ShowIconPicture);
    connect(&m_project, &Project::rootDependentEnabledChanged, this, [this](bool enabled) {
        for (int row = 0; row < Project::RowCount; ++row)
            m_btn[ChooseRowButton(row)]->setEnabled(enabled);
        m_btn[TargetButton]->setEnabled(enabled);
        m_btn[IconFileButton]->setEnabled(enabled);
        m_destTypeOpt[0]->setEnabled(enabled);
        m_destTypeOpt[1]->setEnabled(enabled);
    });
    connect(&m_project, &Project::okEnabledChanged, this,
            [this](bool enabled) { m_btn[OkButton]->setEnabled(enabled); });
    connect(&m_project, &Project::pathFieldsLockedChanged, this, [this] {
        for (QLineEdit* field : m_pathTB)
            field->setReadOnly(m_project.pathFieldsLocked());
    });

    // Show what the project holds already; from here on the signals keep it.
    for (int n = 0; n < Project::SlotCount; ++n)
        showSlot(n);
    for (int row = 0; row < Project::RowCount; ++row)
        showMenuText(row);
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
    m_controlFrameTop = CommandSection.top;
    m_extendedHeight = ClientHeight;
    m_project.LockPathFields();
    ToggleViewMode();
    RestoreFormPosition(this, m_environment.settings);
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
        commandTop = Pixels(m_frame[2]->y() * TwipsPerPixel);
        height = Pixels(m_extendedHeight - m_controlFrameTop + m_frame[2]->y() * TwipsPerPixel);
    } else {
        caption = QStringLiteral("Kompakte Ansicht <<");
        commandTop = Pixels(m_controlFrameTop);
        height = Pixels(m_extendedHeight);
    }
    m_btn[ViewSwitchButton]->setText(caption);
    m_frame[5]->move(m_frame[5]->x(), commandTop);
    // The window keeps its top-left corner and grows or shrinks at the bottom;
    // the status bar stays at the bottom edge.
    setFixedSize(width(), height);
    m_status->move(0, height - m_status->height());
}

void Form1::Btn_Click(int index)
{
    for (int row = 0; row < Project::RowCount; ++row) {
        if (index == ClearRowButton(row)) {
            m_project.ClearSlot(Project::RowSlot(row));
            return;
        }
        if (index == ChooseRowButton(row)) {
            ChooseSlotPath(m_project, Project::RowSlot(row), m_presenter, this);
            return;
        }
    }
    switch (index) {
    case SystemCheckButton:
        RunSystemCheck(m_environment.wait);
        break;
    case OkButton:
        if (WriteAutostart(m_project, m_environment.autostart) == AutostartOutcome::Quit)
            close();
        break;
    case IconLibraryButton:
        ShowIconLibrary(m_project);
        break;
    case ViewSwitchButton:
        ToggleViewMode();
        break;
    case CdRootButton:
        ChooseCdRoot(m_project, m_presenter, this);
        break;
    case TargetButton:
        ChooseSlotPath(m_project, Project::TargetSlot, m_presenter, this);
        m_project.UpdateOkButton();
        break;
    case IconFileButton:
        ChooseIconFile(m_project, m_presenter, this);
        break;
    case NoIconButton:
        ChooseNoIcon(m_project);
        break;
    case DefaultIconButton:
        ChooseDefaultIcon(m_project);
        break;
    case InfoButton:
        ShowInfoDialog(m_presenter, this);
        break;
    case HelpButton:
        ShowHelp(m_presenter, LauncherFolder(m_environment.autostart));
        break;
    case QuitButton:
        close();
        break;
    default:
        break;
    }
}

void Form1::Image1_Click()
{
    OpenMakerSite(m_presenter, QString());
}

void Form1::Image2_Click()
{
    OpenMakerSite(m_presenter, QString());
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
    SaveFormPosition(this, m_environment.settings);
}

void Form1::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

} // namespace velkaro
