#include "InfoFormCommercial.h"
#include "MakerInfo.h"
#include "ShellOpen.h"
#include "TestEnvironment.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QDate>
#include <QFrame>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <optional>

using namespace velkaro;

namespace {

int InfoDialogCount()
{
    int count = 0;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (qobject_cast<InfoFormCommercial*>(w))
            ++count;
    }
    return count;
}

// Closing deletes the dialog later; let that happen now.
void ProcessDeletions()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestInfoDialog : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_test.emplace(); }

    void cleanup()
    {
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget* w : windows) {
            if (qobject_cast<InfoFormCommercial*>(w))
                w->close();
        }
        ProcessDeletions();
        m_test.reset();
    }

    void infoText()
    {
        const QString cr(QChar(13));
        const QString text = InfoText(2031);
        QCOMPARE(text,
                 QStringLiteral("Velkaro 2005 (V1.7a) \u2013 macht Autostart-CDs 100% startklar") +
                     cr + cr + QStringLiteral("\u00A9 2005-2031 ") + MakerName() + cr + cr +
                     QStringLiteral("Velkaro 2005 gehört zu einer ganzen Serie von nützlichen, "
                                    "kleinen Helfern im PC-Alltag. Interesse? Weitere Infos gibt "
                                    "es im Internet unter ") +
                     MakerSiteName() +
                     QStringLiteral(". Mit einem Klick auf den Taster links unten können Sie sich "
                                    "direkt verbinden lassen ..."));
        // In the first year the range would be one year twice.
        QVERIFY(InfoText(2005).contains(QStringLiteral("\u00A9 2005 ") + MakerName()));
    }

    void dialogShowsCaptionTextAndCurrentYear()
    {
        InfoFormCommercial* dialog = ShowInfoDialog(m_test->presenter());
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isModal());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Velkaro 2005 - Info"));
        QCOMPARE(dialog->size(), QSize(626, 325));

        const QStringList lines = dialog->Label0->text().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines.at(0),
                 QStringLiteral("Velkaro 2005 (V1.7a) \u2013 macht Autostart-CDs 100% startklar"));
        QVERIFY(lines.at(1).isEmpty());
        const QString year = QString::number(QDate::currentDate().year());
        QVERIFY2(lines.at(2).endsWith(QStringLiteral("-") + year + QLatin1Char(' ') + MakerName()),
                 qPrintable(lines.at(2)));
        QVERIFY(lines.at(3).isEmpty());
        QVERIFY(lines.at(4).startsWith(QStringLiteral("Velkaro 2005 gehört")));

        QCOMPARE(dialog->Btn1->text(), QStringLiteral("Quenbrook im Web besuchen"));
        QCOMPARE(dialog->Btn3->text(), QStringLiteral("&Schliessen"));
        QCOMPARE(dialog->Btn1->toolTip(),
                 QStringLiteral("... startet Ihren Internet-Browser mit dem Ziel ") +
                     MakerSiteName());
        QVERIFY(!dialog->Image1->pixmap().isNull());
        QCOMPARE(dialog->Image1->geometry(), QRect(4, 8, 65, 309));
    }

    // Info shows the open dialog again, and builds a new one once it is
    // closed, also while the closed one still waits for its deletion.
    void infoShowsTheOpenDialogOrANewOne()
    {
        QPointer<InfoFormCommercial> first = ShowInfoDialog(m_test->presenter());
        QPointer<InfoFormCommercial> second = ShowInfoDialog(m_test->presenter());
        QVERIFY(first);
        QCOMPARE(second.data(), first.data());
        QCOMPARE(InfoDialogCount(), 1);

        first->Btn3->click();
        ProcessDeletions();
        QVERIFY(first.isNull());
        QCOMPARE(InfoDialogCount(), 0);
        QPointer<InfoFormCommercial> third = ShowInfoDialog(m_test->presenter());
        QVERIFY(third);
        QVERIFY(third->isVisible());
        QCOMPARE(InfoDialogCount(), 1);

        third->close(); // deletion still pending
        QPointer<InfoFormCommercial> fourth = ShowInfoDialog(m_test->presenter());
        ProcessDeletions();
        QVERIFY(third.isNull());
        QVERIFY(fourth);
        QVERIFY(fourth->isVisible());
    }

    void positionByScreenSize_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QPoint>("position");
        QTest::newRow("640 x 480: top left") << QSize(640, 480) << QPoint(0, 0);
        // Centred by the outer size, 630 x 329 with the offscreen frame.
        QTest::newRow("800 x 600: centred") << QSize(800, 600) << QPoint(85, 135);
        QTest::newRow("1024 x 480: top left") << QSize(1024, 480) << QPoint(0, 0);
        QTest::newRow("641 x 481: centred") << QSize(641, 481) << QPoint(5, 76);
    }

    void positionByScreenSize()
    {
        QFETCH(QSize, screen);
        QFETCH(QPoint, position);
        InfoFormCommercial* dialog = ShowInfoDialog(m_test->presenter());
        PlaceInfoDialog(dialog, screen);
        QCOMPARE(dialog->pos(), position);
    }

    void webButtonAndLogoOpenTheMakerSite()
    {
        InfoFormCommercial* dialog = ShowInfoDialog(m_test->presenter());
        dialog->Btn1->click();
        QTest::mouseClick(dialog->Image1, Qt::LeftButton);
        const QList<ShellOpenRequest> opened = m_test->presenter().takeOpened();
        QCOMPARE(opened.size(), 2);
        for (const ShellOpenRequest& request : opened) {
            QCOMPARE(request.path, MakerWebAddress());
            QCOMPARE(request.windowState, ShellWindowMaximised);
        }
        QVERIFY(dialog->isVisible());
    }

    void escapeAndEnterDoNotCloseIt()
    {
        QPointer<InfoFormCommercial> dialog = ShowInfoDialog(m_test->presenter());
        dialog->Btn1->setFocus();
        QTest::keyClick(dialog->Btn1, Qt::Key_Escape);
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTest::keyClick(dialog, Qt::Key_Return);
        ProcessDeletions();
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->Btn1->isDefault() && !dialog->Btn3->isDefault());
        QVERIFY(m_test->presenter().takeOpened().isEmpty());
    }

    void closeBoxClosesIt()
    {
        QPointer<InfoFormCommercial> dialog = ShowInfoDialog(m_test->presenter());
        QVERIFY(dialog->close());
        ProcessDeletions();
        QVERIFY(dialog.isNull());
    }

private:
    std::optional<test::TestEnvironment> m_test;
};

QTEST_MAIN(TestInfoDialog)
#include "tst_infodialog.moc"
