#include "AppSettings.h"
#include "Dialogs.h"
#include "FieldTextsShown.h"
#include "FileHelpers.h"
#include "Form1.h"
#include "Form1Buttons.h"
#include "IcoFiles.h"
#include "MainIconList.h"
#include "MakerInfo.h"
#include "Messages.h"
#include "TestEnvironment.h"
#include "WindowPlacement.h"

#include <QDate>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using namespace velkaro;
using namespace velkaro::testing;

namespace {

// The preview goes through a pixmap, which may round premultiplied colours.
bool NearlySame(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return false;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int row = 0; row < x.height(); ++row) {
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row);
            const QRgb q = y.pixel(col, row);
            if (qAbs(qRed(p) - qRed(q)) > 2 || qAbs(qGreen(p) - qGreen(q)) > 2 ||
                qAbs(qBlue(p) - qBlue(q)) > 2 || qAbs(qAlpha(p) - qAlpha(q)) > 2)
                return false;
        }
    }
    return true;
}

} // namespace

// The choosers as the user reaches them: through the buttons of the real
// main window, with every dialog and question scripted.
class Form1ChoosersTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void rootChooserStartsANewProject_data();
    void rootChooserStartsANewProject();
    void targetChooserFollowsTheTargetKind();
    void outsideAnswers();
    void contextRowsAndMenuTexts();
    void iconFileShownInThePreview_data();
    void iconFileShownInThePreview();
    void deletedIconFileEmptiesTheSlot();
    void unusableNameRefused();
    void wholeRunWritesTheDisc();

private:
    std::optional<test::TestEnvironment> m_test;
    template <typename T> T* find(const QString& name)
    {
        T* child = m_form->findChild<T*>(name);
        if (!child)
            qFatal("control %s is missing", qPrintable(name));
        return child;
    }
    void click(int index)
    {
        QTest::mouseClick(find<QPushButton>(QStringLiteral("Btn_%1").arg(index)), Qt::LeftButton);
    }
    bool enabled(int index)
    {
        return find<QPushButton>(QStringLiteral("Btn_%1").arg(index))->isEnabled();
    }
    QString pathField(int n) { return find<QLineEdit>(QStringLiteral("PathTB_%1").arg(n))->text(); }
    QLineEdit* menuField(int row)
    {
        return find<QLineEdit>(QStringLiteral("KMLabelTB_%1").arg(row));
    }
    QImage preview() { return find<QLabel>(QStringLiteral("IconPreviewImg"))->pixmap().toImage(); }
    QString cd(const QString& relative = QString()) const
    {
        return QDir::toNativeSeparators(m_tmp->filePath(QStringLiteral("CD/") + relative));
    }
    void chooseRoot();

    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<Form1> m_form;
};

void Form1ChoosersTest::init()
{
    m_tmp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tmp->isValid());
    QVERIFY(QDir(m_tmp->path()).mkpath(QStringLiteral("CD/docs")));
    QVERIFY(QDir(m_tmp->path()).mkpath(QStringLiteral("CD2")));
    m_test.emplace();
    m_form = std::make_unique<Form1>(m_test->form1Environment());
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    click(3); // the extended view shows sections (3) and (4)
}

void Form1ChoosersTest::cleanup()
{
    m_form.reset();
    m_test.reset();
    m_tmp.reset();
}

void Form1ChoosersTest::chooseRoot()
{
    m_test->presenter().setNextFolderResult(m_tmp->filePath(QStringLiteral("CD")));
    click(4);
    QCOMPARE(pathField(0), cd());
    m_test->presenter().takeRequests();
}

void Form1ChoosersTest::rootChooserStartsANewProject_data()
{
    QTest::addColumn<QString>("secondRoot");
    QTest::newRow("another root") << QStringLiteral("CD2");
    QTest::newRow("the same root") << QStringLiteral("CD");
}

void Form1ChoosersTest::rootChooserStartsANewProject()
{
    QFETCH(QString, secondRoot);
    chooseRoot();
    QVERIFY(enabled(5) && enabled(7) && enabled(40));
    m_test->presenter().setNextFileResult(cd(QStringLiteral("index.htm")));
    click(5);
    menuField(0)->clear();
    QTest::keyClicks(menuField(0), QStringLiteral("Preisliste"));
    m_test->presenter().setNextFileResult(cd(QStringLiteral("docs/Preise.pdf")));
    click(40);
    click(13);
    QVERIFY(enabled(1));

    // Cancel changes nothing.
    click(4);
    QCOMPARE(pathField(1), cd(QStringLiteral("index.htm")));
    QCOMPARE(menuField(0)->text(), QStringLiteral("Preisliste"));
    QCOMPARE(pathField(Project::IconSlot), test::LauncherIcon);

    const QString root = QDir::toNativeSeparators(m_tmp->filePath(secondRoot));
    m_test->presenter().setNextFolderResult(root);
    click(4);
    QCOMPARE(pathField(0), root + QDir::separator());
    for (int n = 1; n < Project::SlotCount; ++n)
        QCOMPARE(pathField(n), test::PleaseChoose);
    for (int row = 0; row < Project::RowCount; ++row)
        QCOMPARE(menuField(row)->text(), test::NoMenu);
    QCOMPARE(m_form->project().icon(), MainIconListPicture(5));
    const QImage cross = MainIconListPicture(5).image.scaled(21, 21, Qt::IgnoreAspectRatio,
                                                             Qt::SmoothTransformation);
    QVERIFY(NearlySame(preview(), cross));
    QVERIFY(!enabled(1));
    QVERIFY(enabled(5) && enabled(7));
    for (int row = 0; row < Project::RowCount; ++row)
        QVERIFY(enabled(ChooseRowButton(row)));
}

void Form1ChoosersTest::targetChooserFollowsTheTargetKind()
{
    chooseRoot();
    QTest::mouseClick(find<QRadioButton>(QStringLiteral("DestTypeOpt_1")), Qt::LeftButton);
    m_test->presenter().setNextFolderResult(m_tmp->filePath(QStringLiteral("CD")));
    click(5);
    QCOMPARE(pathField(1), cd()); // the root itself, with its closing separator
    QVERIFY(enabled(1));

    QTest::mouseClick(find<QRadioButton>(QStringLiteral("DestTypeOpt_0")), Qt::LeftButton);
    QCOMPARE(pathField(1), cd()); // switching the kind leaves the slot alone
    m_test->presenter().setNextFileResult(cd(QStringLiteral("docs/start.htm")));
    click(5);
    QCOMPARE(pathField(1), cd(QStringLiteral("docs/start.htm")));

    const QList<DialogRequest> requests = m_test->presenter().takeRequests();
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests.at(0).kind, DialogKind::Folder);
    QCOMPARE(requests.at(1).kind, DialogKind::OpenFile);
    QCOMPARE(requests.at(1).startPath, cd()); // the slot's text, opened on
}

void Form1ChoosersTest::outsideAnswers()
{
    chooseRoot();
    const QString earlier = cd(QStringLiteral("docs/Alt.pdf"));
    m_test->presenter().setNextFileResult(earlier);
    click(41);
    const QString neighbour =
        QDir::toNativeSeparators(m_tmp->filePath(QStringLiteral("CD2/x.pdf")));

    m_test->presenter().setNextFileResult(neighbour);
    m_test->messages().setNextAnswer(MessageAnswer::No);
    click(41);
    QCOMPARE(pathField(3), earlier);
    QCOMPARE(menuField(1)->text(), QStringLiteral("Alt"));

    m_test->presenter().setNextFileResult(neighbour);
    m_test->presenter().setNextFileResult(cd(QStringLiteral("Neu.pdf")));
    m_test->messages().setNextAnswer(MessageAnswer::Yes);
    click(41);
    QCOMPARE(pathField(3), cd(QStringLiteral("Neu.pdf")));
    QCOMPARE(menuField(1)->text(), QStringLiteral("Alt")); // filled before: kept
    QCOMPARE(m_test->messages().takeShown().size(), 2);
    QCOMPARE(m_test->presenter().takeRequests().size(), 4);
}

void Form1ChoosersTest::contextRowsAndMenuTexts()
{
    chooseRoot();
    // Only "(kein)" itself, also between blanks, is no text.
    menuField(0)->clear();
    QTest::keyClicks(menuField(0), QStringLiteral("(Kein)"));
    menuField(1)->clear();
    QTest::keyClicks(menuField(1), QStringLiteral("  (kein) "));

    m_test->presenter().setNextFileResult(cd(QStringLiteral("docs/Preise.pdf")));
    click(40);
    m_test->presenter().setNextFileResult(cd(QStringLiteral("docs/Liesmich")));
    click(41);
    m_test->presenter().setNextFileResult(cd(QStringLiteral("docs/Handbuch.final.pdf")));
    click(42);

    QCOMPARE(pathField(2), cd(QStringLiteral("docs/Preise.pdf")));
    QCOMPARE(menuField(0)->text(), QStringLiteral("(Kein)"));
    QCOMPARE(menuField(1)->text(), QStringLiteral("Liesmich"));
    QCOMPARE(menuField(2)->text(), QStringLiteral("Handbuch"));
    QVERIFY(!enabled(1)); // context rows do not make a target
}

void Form1ChoosersTest::iconFileShownInThePreview_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("16 x 16") << 16;
    QTest::newRow("48 x 48") << 48;
}

void Form1ChoosersTest::iconFileShownInThePreview()
{
    QFETCH(int, size);
    chooseRoot();
    const QString file = cd(QStringLiteral("Disc.ico"));
    QVERIFY(WriteBytes(file, IcoBytes({SolidImage(size, qRgb(200, 0, 0))})));
    m_test->presenter().setNextFileResult(file);
    click(7);
    QCOMPARE(pathField(Project::IconSlot), file);
    QCOMPARE(m_form->project().icon().image.size(), QSize(size, size));
    QCOMPARE(preview().size(), QSize(21, 21));
    QCOMPARE(preview().pixel(10, 10), qRgb(200, 0, 0));

    // A file that is no picture: the message, and no icon whatever was there.
    const QString broken = cd(QStringLiteral("Kaputt.ico"));
    QVERIFY(WriteBytes(broken, "kein Bild"));
    m_test->presenter().setNextFileResult(broken);
    click(7);
    QCOMPARE(m_test->messages().takeShown().size(), 1);
    QCOMPARE(pathField(Project::IconSlot), test::PleaseChoose);
    QCOMPARE(m_form->project().icon(), MainIconListPicture(5));
}

void Form1ChoosersTest::deletedIconFileEmptiesTheSlot()
{
    chooseRoot();
    const QString file = cd(QStringLiteral("Disc.ico"));
    QVERIFY(WriteBytes(file, IcoBytes({SolidImage(32, qRgb(0, 0, 200))})));
    m_test->presenter().setNextFileResult(file);
    click(7);
    QCOMPARE(pathField(Project::IconSlot), file);
    QVERIFY(QFile::remove(file));

    click(7); // Cancel: the slot's file is loaded again, and is gone
    const QList<ShownMessage> shown = m_test->messages().takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).icon, MessageIcon::Error);
    QCOMPARE(pathField(Project::IconSlot), test::PleaseChoose);
}

void Form1ChoosersTest::unusableNameRefused()
{
    chooseRoot();
    m_test->presenter().setNextFileResult(cd(QStringLiteral("Was?.htm")));
    click(5);
    QCOMPARE(pathField(1), test::PleaseChoose);
    QVERIFY(!enabled(1));
    const QList<ShownMessage> shown = m_test->messages().takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown.at(0).text.contains(QStringLiteral("    ") + cd(QStringLiteral("Was?.htm"))));
}

void Form1ChoosersTest::wholeRunWritesTheDisc()
{
    QVERIFY(WriteBytes(m_test->autostart().programFolder + "/Pirolo.Exe", "MZ launcher"));
    chooseRoot();
    QVERIFY(QDir(cd()).mkpath(QStringLiteral("Bilder")));
    const QByteArray ico = IcoBytes({SolidImage(32, qRgb(1, 2, 3))});
    QVERIFY(WriteBytes(cd(QStringLiteral("Bilder/Disc.ico")), ico));

    m_test->presenter().setNextFileResult(cd(QStringLiteral("docs/start.htm")));
    click(5);
    m_test->presenter().setNextFileResult(cd(QStringLiteral("docs/Übersicht.pdf")));
    click(40);
    menuField(2)->clear();
    QTest::keyClicks(menuField(2), QStringLiteral("Preise 2005"));
    m_test->presenter().setNextFileResult(cd(QStringLiteral("Preise.neu.txt")));
    click(42);
    m_test->presenter().setNextFileResult(cd(QStringLiteral("Bilder/Disc.ico")));
    click(7);
    QVERIFY(m_test->messages().takeShown().isEmpty());

    m_test->messages().setNextAnswer(MessageAnswer::No);
    click(1);
    QVERIFY(m_form->isVisible());

    QFile written(cd(QStringLiteral("AutoRun.Inf")));
    QVERIFY(written.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = written.readAll().split('\n');
    QVERIFY(lines.at(1).startsWith(";* AUTORUN.INF (Erstellt: "));
    lines[1] = "(timestamp)\r";
    const QByteArray rule = ";" + QByteArray(70, '*') + "\r\n";
    const QByteArray expected =
        rule + "(timestamp)\r\n" + rule +
        ";* Diese Datei steuert den Autostart von CDs anhand der Quenbrook-Software\r\n"
        ";* Velkaro 2005/Pirolo. Details hierzu finden Sie in\r\n"
        ";* der Online-Hilfe von Velkaro 2005 bzw. im Internet unter\r\n"
        ";* " +
        ProductPageAddress().toLatin1() + "\r\n" + rule +
        ";* Alle Rechte vorbehalten. Copyright (c) 2005-" +
        QByteArray::number(QDate::currentDate().year()) + "\r\n;* " + MakerName().toLatin1() +
        "\r\n;* " + MakerSupportEmail().toLatin1() + "\r\n" + rule +
        "\r\n"
        "[autorun]\r\n"
        "open = Pirolo.Exe \"docs\\start.htm\"\r\n"
        "icon = \"Bilder\\Disc.ico\"\r\n"
        "shell\\0 = &\xDC"
        "bersicht\r\n"
        "shell\\0\\command = Pirolo.Exe \"docs\\\xDC"
        "bersicht.pdf\"\r\n"
        "shell\\2 = &Preise 2005\r\n"
        "shell\\2\\command = Pirolo.Exe \"Preise.neu.txt\"\r\n"
        "shell\\qb = &\xDC"
        "ber Pirolo ...\r\n"
        "shell\\qb\\command = Pirolo.Exe\r\n";
    QCOMPARE(lines.join('\n'), expected);
    QFile launcher(cd(QStringLiteral("Pirolo.Exe")));
    QVERIFY(launcher.open(QIODevice::ReadOnly));
    QCOMPARE(launcher.readAll(), QByteArray("MZ launcher"));
    QVERIFY(!QFile::exists(cd(QStringLiteral("AutoRun.Ico")))); // a file icon is named, not copied
}

QTEST_MAIN(Form1ChoosersTest)
#include "tst_form1_choosers.moc"
