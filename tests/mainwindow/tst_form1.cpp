#include "AppSettings.h"
#include "AutostartProjects.h"
#include "Dialogs.h"
#include "FieldTextsShown.h"
#include "FileHelpers.h"
#include "Form1.h"
#include "Form1Buttons.h"
#include "Help.h"
#include "IcoParser.h"
#include "IconLibrary.h"
#include "InfoFormCommercial.h"
#include "MainIconList.h"
#include "MakerInfo.h"
#include "Messages.h"
#include "ProgressBarForm.h"
#include "SelIconDialog.h"
#include "ShellOpen.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <QTimer>
#include <optional>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace velkaro;
using velkaro::test::ReadAll;
using velkaro::test::WriteRaw;

class Form1Test : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startState();
    void layoutAndLogo();
    void tabOrder();
    void viewSwitchKeepsTwoHeights();
    void entriesSurviveViewSwitches();
    void menuTextsAndPathFields();
    void rowAndIconButtons();
    void placementRestoredOrCentred_data();
    void placementRestoredOrCentred();
    void windowsCentredByTheirOuterSize_data();
    void windowsCentredByTheirOuterSize();
    void pathFieldsDrawTheirText();
    void positionStoredOnEveryWayOfClosing_data();
    void positionStoredOnEveryWayOfClosing();
    void wholeOkRunFromTheWindow();
    void statusBarShowsTimeAndDate();
    void statusBarFollowsTheClock();
    void commandsOfTheControlSection();
    void libraryIconEndsOnTheDisc();
    void sameBytesAsTheCommandLine_data();
    void sameBytesAsTheCommandLine();

private:
    std::optional<test::TestEnvironment> m_test;
    QTemporaryDir m_tmp;

    template <typename T> static T* Find(QWidget& form, const QString& name)
    {
        T* child = form.findChild<T*>(name);
        if (!child)
            qFatal("control %s is missing", qPrintable(name));
        return child;
    }
    static QPushButton* Btn(QWidget& form, int index)
    {
        return Find<QPushButton>(form, QStringLiteral("Btn_%1").arg(index));
    }
    QPoint StoredPosition() const;
};

void Form1Test::init()
{
    m_test.emplace();
}

void Form1Test::cleanup()
{
    m_test.reset();
}

QPoint Form1Test::StoredPosition() const
{
    QSettings raw(m_test->settingsFile(), QSettings::IniFormat);
    return QPoint(raw.value("Velkaro 2005/_Left", -1).toInt(),
                  raw.value("Velkaro 2005/_Top", -1).toInt());
}

void Form1Test::startState()
{
    Form1 form(m_test->form1Environment());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.windowTitle(), QStringLiteral("Velkaro 2005"));

    QList<int> enabled{0, 2, 3, 4, 8, 13, 20, 21, 22};
    QList<int> disabled{1, 5, 7};
    for (int row = 0; row < Project::RowCount; ++row) {
        enabled << ClearRowButton(row);
        disabled << ChooseRowButton(row);
    }
    for (int index : enabled)
        QVERIFY2(Btn(form, index)->isEnabled(), qPrintable(QString::number(index)));
    for (int index : disabled)
        QVERIFY2(!Btn(form, index)->isEnabled(), qPrintable(QString::number(index)));
    QVERIFY(!Find<QRadioButton>(form, "DestTypeOpt_0")->isEnabled());
    QVERIFY(!Find<QRadioButton>(form, "DestTypeOpt_1")->isEnabled());
    QVERIFY(Find<QRadioButton>(form, "DestTypeOpt_0")->isChecked());

    for (int n = 0; n < Project::SlotCount; ++n)
        QCOMPARE(Find<QLineEdit>(form, QStringLiteral("PathTB_%1").arg(n))->text(),
                 test::PleaseChoose);
    for (int row = 0; row < Project::RowCount; ++row)
        QCOMPARE(Find<QLineEdit>(form, QStringLiteral("KMLabelTB_%1").arg(row))->text(),
                 test::NoMenu);
    QVERIFY(!Find<QLabel>(form, "IconPreviewImg")->pixmap().isNull());

    auto* lfn = Find<QCheckBox>(form, "UseLFNChk");
    QVERIFY(lfn->isChecked());
    QVERIFY(lfn->isHidden());
    QCOMPARE(lfn->text(), QStringLiteral("&UNSICHTBAR Verwende lange Dateinamen"));

    // Every run starts compact.
    QVERIFY(form.isCompactView());
    QCOMPARE(Btn(form, 3)->text(), QStringLiteral("Erweiterte Ansicht >>"));
    QVERIFY(Find<QGroupBox>(form, "Frame1_2")->isHidden());
    QVERIFY(Find<QGroupBox>(form, "Frame1_3")->isHidden());
    QCOMPARE(QApplication::focusWidget(), Find<QLineEdit>(form, "PathTB_0"));
    QVERIFY(Btn(form, 1)->font().bold());
}

void Form1Test::layoutAndLogo()
{
    Form1 form(m_test->form1Environment());
    QCOMPARE(Find<QGroupBox>(form, "Frame1_0")->geometry(), QRect(8, 8, 569, 53));
    QCOMPARE(Find<QLineEdit>(form, "PathTB_3")->geometry(), QRect(136, 68, 309, 21));
    QCOMPARE(Btn(form, 42)->geometry(), QRect(492, 92, 69, 21));
    QCOMPARE(Find<QLabel>(form, "IconPreviewImg")->geometry(), QRect(288, 20, 21, 21));
    QCOMPARE(Btn(form, 1)->geometry(), QRect(484, 44, 77, 25));

    // The second logo takes the first one's place and height, keeping its proportions.
    auto* image1 = Find<QLabel>(form, "Image1");
    auto* image2 = Find<QLabel>(form, "Image2");
    QVERIFY(image1->isHidden());
    QVERIFY(!image2->isHidden());
    QCOMPARE(image2->pos(), QPoint(10, 16));
    QCOMPARE(image2->height(), 53);
    QCOMPARE(image2->width(), qRound(53 * 668.0 / 261.0));
    QVERIFY(image2->toolTip().startsWith("... created by Quenbrook. Klicken Sie hier"));
    QCOMPARE(image2->cursor().shape(), Qt::PointingHandCursor);
}

void Form1Test::tabOrder()
{
    Form1 form(m_test->form1Environment());
    QStringList expected{"PathTB_0",      "Btn_4",         "PathTB_1",
                         "DestTypeOpt_0", "DestTypeOpt_1", "Btn_5"};
    for (int row = 0; row < Project::RowCount; ++row)
        expected << QStringLiteral("KMLabelTB_%1").arg(row)
                 << QStringLiteral("PathTB_%1").arg(Project::RowSlot(row))
                 << QStringLiteral("Btn_%1").arg(ClearRowButton(row))
                 << QStringLiteral("Btn_%1").arg(ChooseRowButton(row));
    expected << QStringLiteral("PathTB_%1").arg(Project::IconSlot) << "Btn_2"
             << "Btn_13"
             << "Btn_8"
             << "Btn_7"
             << "Btn_0"
             << "Btn_3"
             << "Btn_20"
             << "Btn_21"
             << "Btn_22"
             << "Btn_1";
    QWidget* w = Find<QLineEdit>(form, "PathTB_0");
    QStringList seen{w->objectName()};
    for (int i = 1; i < expected.size(); ++i) {
        w = w->nextInFocusChain();
        while (w->objectName().isEmpty() || w->objectName() == "UseLFNChk" ||
               w->objectName().startsWith("Frame1") || w->objectName().startsWith("Label1") ||
               w->objectName() == "IconPreviewImg" || w->objectName().startsWith("Image"))
            w = w->nextInFocusChain();
        seen << w->objectName();
    }
    QCOMPARE(seen, expected);
}

void Form1Test::viewSwitchKeepsTwoHeights()
{
    Form1 form(m_test->form1Environment());
    form.show();
    const int compact = form.height();
    auto* commands = Find<QGroupBox>(form, "Frame1_5");
    QCOMPARE(compact, 6360 / 15 - 2880 / 15);
    QCOMPARE(commands->y(), 1920 / 15);
    const QPoint corner = form.pos();
    for (int round = 0; round < 5; ++round) {
        QTest::mouseClick(Btn(form, 3), Qt::LeftButton);
        QCOMPARE(form.height(), 6360 / 15);
        QCOMPARE(commands->y(), 4800 / 15);
        QCOMPARE(Btn(form, 3)->text(), QStringLiteral("Kompakte Ansicht <<"));
        QVERIFY(Find<QGroupBox>(form, "Frame1_2")->isVisible());
        QVERIFY(Find<QGroupBox>(form, "Frame1_3")->isVisible());
        QTest::mouseClick(Btn(form, 3), Qt::LeftButton);
        QCOMPARE(form.height(), compact);
        QCOMPARE(commands->y(), 1920 / 15);
        QCOMPARE(Btn(form, 3)->text(), QStringLiteral("Erweiterte Ansicht >>"));
    }
    // The window grows and shrinks at its bottom edge, and the status bar follows it.
    QCOMPARE(form.pos(), corner);
    auto* status = Find<QStatusBar>(form, "Status");
    QCOMPARE(status->geometry().bottom(), form.height() - 1);
}

void Form1Test::entriesSurviveViewSwitches()
{
    Form1 form(m_test->form1Environment());
    form.show();
    QTest::mouseClick(Btn(form, 3), Qt::LeftButton);
    auto* text = Find<QLineEdit>(form, "KMLabelTB_1");
    text->selectAll();
    QTest::keyClicks(text, "Handbuch");
    QTest::mouseClick(Btn(form, 13), Qt::LeftButton);
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(Btn(form, 3), Qt::LeftButton);
    QCOMPARE(form.project().menuText(1), QStringLiteral("Handbuch"));
    QCOMPARE(text->text(), QStringLiteral("Handbuch"));
    QCOMPARE(Find<QLineEdit>(form, QStringLiteral("PathTB_%1").arg(Project::IconSlot))->text(),
             test::LauncherIcon);
}

void Form1Test::menuTextsAndPathFields()
{
    Form1 form(m_test->form1Environment());
    form.show();
    for (int n = 0; n < Project::SlotCount; ++n)
        QVERIFY(Find<QLineEdit>(form, QStringLiteral("PathTB_%1").arg(n))->isReadOnly());
    auto* path = Find<QLineEdit>(form, "PathTB_0");
    QTest::keyClicks(path, "x");
    QCOMPARE(path->text(), test::PleaseChoose);
    path->selectAll();
    QCOMPARE(path->selectedText(), test::PleaseChoose);

    // What the project says appears in the fields.
    form.project().setMenuText(2, QStringLiteral("Preisliste"));
    QCOMPARE(Find<QLineEdit>(form, "KMLabelTB_2")->text(), QStringLiteral("Preisliste"));
}

void Form1Test::rowAndIconButtons()
{
    Form1 form(m_test->form1Environment());
    form.show();
    QTest::mouseClick(Btn(form, 3), Qt::LeftButton);
    Project& project = form.project();
    auto* iconField = Find<QLineEdit>(form, QStringLiteral("PathTB_%1").arg(Project::IconSlot));
    auto* menuField = Find<QLineEdit>(form, "KMLabelTB_1");

    // "Standard" works before any root; choosing a root empties it again.
    QTest::mouseClick(Btn(form, 13), Qt::LeftButton);
    QCOMPARE(iconField->text(), test::LauncherIcon);
    QCOMPARE(project.icon(), MainIconListPicture(2));
    project.TakeCdRoot(m_tmp.path());
    QCOMPARE(iconField->text(), test::PleaseChoose);

    // A typed "(kein)" stays as typed until "Kein" clears the row.
    project.AcceptSlotPath(3, m_tmp.path() + "/a.pdf");
    QCOMPARE(menuField->text(), QStringLiteral("a"));
    menuField->clear();
    QTest::keyClicks(menuField, " (kein) ");
    QCOMPARE(menuField->text(), QStringLiteral(" (kein) "));
    QTest::mouseClick(Btn(form, 31), Qt::LeftButton);
    QCOMPARE(Find<QLineEdit>(form, "PathTB_3")->text(), test::PleaseChoose);
    QCOMPARE(menuField->text(), test::NoMenu);

    QTest::mouseClick(Btn(form, 13), Qt::LeftButton);
    QTest::mouseClick(Btn(form, 8), Qt::LeftButton);
    QCOMPARE(iconField->text(), test::PleaseChoose);
    QCOMPARE(project.icon(), MainIconListPicture(5));

    // With a root, the choosers and the target kind are enabled.
    for (int index : {5, 7})
        QVERIFY(Btn(form, index)->isEnabled());
    for (int row = 0; row < Project::RowCount; ++row)
        QVERIFY(Btn(form, ChooseRowButton(row))->isEnabled());
    QVERIFY(Find<QRadioButton>(form, "DestTypeOpt_1")->isEnabled());
    QTest::mouseClick(Find<QRadioButton>(form, "DestTypeOpt_1"), Qt::LeftButton);
    QVERIFY(project.targetIsFolder());
}

void Form1Test::placementRestoredOrCentred_data()
{
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("left");
    QTest::addColumn<bool>("centred");
    QTest::newRow("nothing stored") << QString() << QString() << true;
    QTest::newRow("stored place") << "1500"
                                  << "3000" << false;
    QTest::newRow("top at screen height") << QString::number(768 * 15) << "0" << true;
    QTest::newRow("top one less") << QString::number(768 * 15 - 1) << "0" << false;
    QTest::newRow("negative top") << "-15"
                                  << "0" << true;
    QTest::newRow("left beyond the width") << "0" << QString::number(1024 * 15) << true;
}

void Form1Test::placementRestoredOrCentred()
{
    QFETCH(QString, top);
    QFETCH(QString, left);
    QFETCH(bool, centred);
    if (!top.isNull()) {
        SaveAppSetting(m_test->settings(), "_Top", top);
        SaveAppSetting(m_test->settings(), "_Left", left);
    }
    Form1 form(m_test->form1Environment());
    if (centred) {
        // Centred with its compact height.
        QCOMPARE(form.pos(), QPoint((1024 - 585) / 2, (768 - 232) / 2));
    } else {
        QCOMPARE(form.pos(), QPoint(left.toInt() / 15, top.toInt() / 15));
    }
}

// The window's outer rectangle, frame and title bar included, as the system
// reports it: on Windows the way every Windows program reads it.
static QRect OuterRect(QWidget* window)
{
    if (!QTest::qWaitForWindowExposed(window))
        return QRect();
#ifdef Q_OS_WIN
    if (QGuiApplication::platformName() == QLatin1String("windows")) {
        RECT rect;
        if (!GetWindowRect(reinterpret_cast<HWND>(window->winId()), &rect))
            return QRect();
        return QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1));
    }
#endif
    return window->frameGeometry();
}

void Form1Test::windowsCentredByTheirOuterSize_data()
{
    QTest::addColumn<int>("button"); // that opens the window; -1: the main window itself
    QTest::newRow("main window") << -1;
    QTest::newRow("System-Check") << 0;
    QTest::newRow("icon library") << 2;
    QTest::newRow("info dialog") << 20;
}

// Each window that opens centred is centred by its outer size. The Windows
// build also runs this on the real windows platform under Wine (Wine then
// draws Windows' frames); elsewhere the offscreen platform's frame counts.
void Form1Test::windowsCentredByTheirOuterSize()
{
    QFETCH(int, button);
    Form1 form(m_test->form1Environment());
    form.show();
    QRect outer;
    QSize inner;
    auto measure = [&](QWidget* window) {
        outer = OuterRect(window);
        inner = window->size();
    };
    QTimer poll;
    switch (button) {
    case -1:
        measure(&form);
        break;
    case 0:
        m_test->steps().onStep = [&](ProgressBarForm& window) {
            if (outer.isNull())
                measure(&window);
        };
        QTest::mouseClick(Btn(form, 0), Qt::LeftButton);
        m_test->messages().takeShown();
        break;
    case 2:
        connect(&poll, &QTimer::timeout, this, [&] {
            if (auto* dialog = qobject_cast<SelIconDialog*>(QApplication::activeModalWidget())) {
                poll.stop();
                measure(dialog);
                dialog->reject();
            }
        });
        poll.start(20);
        QTest::mouseClick(Btn(form, 2), Qt::LeftButton);
        break;
    default:
        QTest::mouseClick(Btn(form, button), Qt::LeftButton);
        measure(form.findChild<InfoFormCommercial*>());
        break;
    }
    QVERIFY(outer.isValid());
    QVERIFY2(outer.height() > inner.height(), "the window has no frame here: nothing to prove");
    const QSize screen = ScreenSizePixels();
    QCOMPARE(outer.topLeft(),
             QPoint((screen.width() - outer.width()) / 2, (screen.height() - outer.height()) / 2));
    if (button == -1) {
        // The stored corner is the outer one, and the window reopens there.
        QVERIFY(form.close());
        QCOMPARE(StoredPosition(), outer.topLeft() * 15);
        Form1 again(m_test->form1Environment());
        again.show();
        QCOMPARE(OuterRect(&again).topLeft(), outer.topLeft());
    }
}

// A font that the system lacks can leave a field blank while labels and
// buttons still draw (Qt under a bare Wine did): the field with its text
// must look different from the same field empty. Also run on the real
// windows platform under Wine.
void Form1Test::pathFieldsDrawTheirText()
{
    Form1 form(m_test->form1Environment());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* field = Find<QLineEdit>(form, QStringLiteral("PathTB_%1").arg(Project::FirstRowSlot));
    QCOMPARE(field->text(), test::PleaseChoose);
    const QImage withText = field->grab().toImage();
    field->setText(QString());
    QVERIFY(withText != field->grab().toImage());
}

void Form1Test::positionStoredOnEveryWayOfClosing_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("Beenden") << "quit";
    QTest::newRow("close box") << "close";
    QTest::newRow("Yes after OK") << "ok";
}

void Form1Test::positionStoredOnEveryWayOfClosing()
{
    QFETCH(QString, way);
    WriteRaw(m_test->autostart().programFolder + "/Pirolo.Exe", "MZ");

    Form1 form(m_test->form1Environment());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.move(40, 30);
    const QPoint expected(form.x() * 15, form.y() * 15);
    if (way == "quit") {
        QTest::mouseClick(Btn(form, 22), Qt::LeftButton);
    } else if (way == "close") {
        QVERIFY(form.close());
    } else {
        form.project().TakeCdRoot(m_tmp.path());
        form.project().AcceptSlotPath(1, m_tmp.path() + "/");
        form.project().UpdateOkButton();
        m_test->messages().setNextAnswer(MessageAnswer::Yes);
        QTest::mouseClick(Btn(form, 1), Qt::LeftButton);
    }
    QVERIFY(!form.isVisible());
    QCOMPARE(StoredPosition(), expected);
    // No question is asked on the way out, but after OK its success question.
    QCOMPARE(m_test->messages().takeShown().size(), way == "ok" ? 1 : 0);
}

void Form1Test::wholeOkRunFromTheWindow()
{
    WriteRaw(m_test->autostart().programFolder + "/Pirolo.Exe", "MZ launcher");

    Form1 form(m_test->form1Environment());
    form.show();
    Project& project = form.project();
    const QString root = m_tmp.filePath("cd") + "/";
    QVERIFY(QDir().mkpath(root + "start"));
    project.TakeCdRoot(m_tmp.filePath("cd"));
    project.AcceptSlotPath(1, root + "start/index.htm");
    QTest::mouseClick(Btn(form, 5), Qt::LeftButton); // the target chooser ends with UpdateOkButton
    QVERIFY(Btn(form, 1)->isEnabled());

    // Entries of the hidden sections are written in the compact view too.
    auto* text = Find<QLineEdit>(form, "KMLabelTB_0");
    text->setText(QString());
    QTest::mouseClick(Btn(form, 3), Qt::LeftButton);
    QTest::keyClicks(text, "  Handbuch ");
    QTest::mouseClick(Btn(form, 3), Qt::LeftButton);
    project.AcceptSlotPath(2, root + "doku/handbuch.pdf");
    QTest::mouseClick(Btn(form, 13), Qt::LeftButton);

    m_test->messages().setNextAnswer(MessageAnswer::No);
    QTest::mouseClick(Btn(form, 1), Qt::LeftButton);
    QVERIFY(form.isVisible());
    const QByteArray written = ReadAll(root + "AutoRun.Inf");
    QVERIFY(written.endsWith("[autorun]\r\n"
                             "open = Pirolo.Exe \"start\\index.htm\"\r\n"
                             "icon = Pirolo.Exe\r\n"
                             "shell\\0 = &Handbuch\r\n"
                             "shell\\0\\command = Pirolo.Exe \"doku\\handbuch.pdf\"\r\n"
                             "shell\\qb = &\xDC"
                             "ber Pirolo ...\r\n"
                             "shell\\qb\\command = Pirolo.Exe\r\n"));
    QCOMPARE(ReadAll(root + "Pirolo.Exe"), QByteArray("MZ launcher"));
    // No leaves the window with its project; OK works again at once.
    QCOMPARE(project.menuText(0), QStringLiteral("  Handbuch "));
    QVERIFY(Btn(form, 1)->isEnabled());
}

void Form1Test::statusBarShowsTimeAndDate()
{
    Form1 form(m_test->form1Environment());
    const QLocale locale;
    QCOMPARE(Find<QLabel>(form, "Status_Date")->text(),
             locale.toString(QDate::currentDate(), QLocale::ShortFormat));
    QVERIFY(!Find<QLabel>(form, "Status_Time")->text().isEmpty());
    QVERIFY(Find<QLabel>(form, "Status_Panel1")->text().isEmpty());
    QVERIFY(Find<QLabel>(form, "Status_Panel2")->text().isEmpty());
}

void Form1Test::statusBarFollowsTheClock()
{
    const QDateTime moment(QDate(2026, 12, 8), QTime(14, 5, 9));
    m_test->setClock(moment);
    Form1 form(m_test->form1Environment());
    const QLocale locale;
    QCOMPARE(Find<QLabel>(form, "Status_Time")->text(),
             locale.toString(moment.time(), QLocale::ShortFormat));
    QCOMPARE(Find<QLabel>(form, "Status_Date")->text(),
             locale.toString(moment.date(), QLocale::ShortFormat));
}

void Form1Test::commandsOfTheControlSection()
{
    Form1 form(m_test->form1Environment()); // no help pages in its program folder
    form.show();

    // System-Check: the steps play, then the fixed message; the project is untouched.
    const ProjectData before = form.project().data();
    QTest::mouseClick(Btn(form, 0), Qt::LeftButton);
    QList<int> values;
    for (const test::StepRecorder::Seen& seen : m_test->steps().seen)
        values << int(seen.step.value);
    QCOMPARE(values, (QList<int>{0, 13, 33, 68, 77, 90, 100}));
    QList<ShownMessage> shown = m_test->messages().takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().text, QStringLiteral("Alle Einstellungen sind korrekt ..."));
    QCOMPARE(form.project().data(), before);

    // Info: one dialog for two clicks.
    QTest::mouseClick(Btn(form, 20), Qt::LeftButton);
    QTest::mouseClick(Btn(form, 20), Qt::LeftButton);
    const QList<InfoFormCommercial*> dialogs = form.findChildren<InfoFormCommercial*>();
    QCOMPARE(dialogs.size(), 1);
    QVERIFY(dialogs.first()->isVisible());
    QCOMPARE(dialogs.first()->windowTitle(), QStringLiteral("Velkaro 2005 - Info"));

    // Help without local pages asks; Cancel opens nothing, OK the online manual.
    m_test->messages().setNextAnswer(MessageAnswer::Cancel);
    QTest::mouseClick(Btn(form, 21), Qt::LeftButton);
    QVERIFY(m_test->presenter().takeOpened().isEmpty());
    m_test->messages().setNextAnswer(MessageAnswer::Ok);
    QTest::mouseClick(Btn(form, 21), Qt::LeftButton);
    QList<ShellOpenRequest> opened = m_test->presenter().takeOpened();
    QCOMPARE(opened.size(), 1);
    QVERIFY(opened.first().path.endsWith("/?go=velkaro"));
    QCOMPARE(opened.first().windowState, ShellWindowMaximised);
    m_test->messages().takeShown();

    // The visible logo opens the maker's home page.
    QTest::mouseClick(Find<QLabel>(form, "Image2"), Qt::LeftButton);
    opened = m_test->presenter().takeOpened();
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.first().path, MakerWebAddress());
}

void Form1Test::libraryIconEndsOnTheDisc()
{
    WriteRaw(m_test->autostart().programFolder + "/Pirolo.Exe", "MZ");
    const QString root = m_tmp.filePath("disc") + "/";
    QVERIFY(QDir().mkpath(root));

    Form1 form(m_test->form1Environment());
    form.show();
    form.project().TakeCdRoot(root);
    form.project().AcceptSlotPath(1, root);
    form.project().UpdateOkButton();

    // "Bibliothek": pick icon 200 in the real dialog and confirm, once it is
    // open and modal.
    bool picked = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto* dialog = qobject_cast<SelIconDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll.stop();
        dialog->IconListView->setCurrentRow(199);
        picked = dialog->IconListView->currentItem()->text() == QStringLiteral("200");
        QTest::mouseClick(dialog->Btn[0], Qt::LeftButton);
    });
    poll.start(20);
    QTest::mouseClick(Btn(form, 2), Qt::LeftButton);
    QVERIFY(picked);
    QCOMPARE(Find<QLineEdit>(form, QStringLiteral("PathTB_%1").arg(Project::IconSlot))->text(),
             test::LibraryIcon);

    m_test->messages().setNextAnswer(MessageAnswer::No);
    QTest::mouseClick(Btn(form, 1), Qt::LeftButton);
    const QByteArray written = ReadAll(root + "AutoRun.Ico");
    QCOMPARE(written, IconLibrary::instance().fileBytes(200));
    QVERIFY(ReadAll(root + "AutoRun.Inf").contains("\r\nicon = AutoRun.Ico\r\n"));
    // It loads back as an icon with its 32 x 32 image in 16 colours.
    const test::IcoFile icon = test::ParseIco(written);
    QVERIFY(icon.error.isEmpty());
    QVERIFY(test::FindImage(icon, 32, 4));
    QCOMPARE(QImage(root + "AutoRun.Ico").size(), QSize(32, 32));
}

void Form1Test::sameBytesAsTheCommandLine_data()
{
    QTest::addColumn<int>("index");
    const QList<test::AutostartProject> projects = test::AutostartProjects();
    for (int i = 0; i < projects.size(); ++i)
        QTest::newRow(projects.at(i).name) << i;
}

// Each project of the table made through the window, with the same clock
// and launcher as velkaro-autostart gets for the same choices.
void Form1Test::sameBytesAsTheCommandLine()
{
    QFETCH(int, index);
    const test::AutostartProject project = test::AutostartProjects().at(index);
    const QString program = QStringLiteral(VELKARO_AUTOSTART_PROGRAM);
    m_test->setProgramFolder(QFileInfo(program).absolutePath());
    const qint64 epoch = 1765432109;
    m_test->setClock(QDateTime::fromSecsSinceEpoch(epoch, QTimeZone::utc()));
    QTemporaryDir dir;
    const QString window = dir.filePath("Fenster/CD");
    const QString command = dir.filePath("Befehl/CD");
    test::MakeAutostartTree(window);
    test::MakeAutostartTree(command);
    const auto at = [&](const QString& relative) {
        return QDir::toNativeSeparators(relative == "." ? window : window + '/' + relative);
    };

    Form1 form(m_test->form1Environment());
    form.show();
    test::ScriptedPresenter& dialogs = m_test->presenter();
    dialogs.setNextFolderResult(window);
    QTest::mouseClick(Btn(form, 4), Qt::LeftButton);
    if (project.folder) {
        QTest::mouseClick(Find<QRadioButton>(form, "DestTypeOpt_1"), Qt::LeftButton);
        dialogs.setNextFolderResult(at(project.open));
    } else {
        dialogs.setNextFileResult(at(project.open));
    }
    QTest::mouseClick(Btn(form, 5), Qt::LeftButton);
    for (int row = 0; row < Project::RowCount; ++row) {
        const auto& [text, path] = project.menus.at(size_t(row));
        if (path.isEmpty())
            continue;
        if (!text.isEmpty()) {
            auto* field = Find<QLineEdit>(form, QStringLiteral("KMLabelTB_%1").arg(row));
            field->clear();
            QTest::keyClicks(field, text);
        }
        dialogs.setNextFileResult(at(path));
        QTest::mouseClick(Btn(form, ChooseRowButton(row)), Qt::LeftButton);
    }
    if (project.icon == "default") {
        QTest::mouseClick(Btn(form, 13), Qt::LeftButton);
    } else if (project.icon.startsWith("library:")) {
        const int n = project.icon.mid(8).toInt();
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            if (auto* dialog = qobject_cast<SelIconDialog*>(QApplication::activeModalWidget())) {
                poll.stop();
                dialog->IconListView->setCurrentRow(n - 1);
                QTest::mouseClick(dialog->Btn[0], Qt::LeftButton);
            }
        });
        poll.start(20);
        QTest::mouseClick(Btn(form, 2), Qt::LeftButton);
    } else if (project.icon != "none") {
        dialogs.setNextFileResult(at(project.icon));
        QTest::mouseClick(Btn(form, 7), Qt::LeftButton);
    }
    QVERIFY(m_test->messages().takeShown().isEmpty());
    m_test->messages().setNextAnswer(MessageAnswer::No);
    QTest::mouseClick(Btn(form, 1), Qt::LeftButton);

    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("SOURCE_DATE_EPOCH", QString::number(epoch));
    run.setProcessEnvironment(env);
    run.start(program, test::AutostartArguments(command, project));
    QVERIFY(run.waitForFinished(30000));
    QVERIFY2(run.exitCode() == 0, run.readAllStandardError().constData());
    QVERIFY(ReadAll(window + "/AutoRun.Inf").startsWith(";***"));
    for (const char* name : {"AutoRun.Inf", "Pirolo.Exe", "AutoRun.Ico"})
        QCOMPARE(ReadAll(command + '/' + name), ReadAll(window + '/' + name));
}

QTEST_MAIN(Form1Test)
#include "tst_form1.moc"
