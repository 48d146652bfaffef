// The library dialog as the user meets it: caption, numbered grid, and the
// ways out, driven through the real widgets.

#include "IconLibrary.h"
#include "MainIconList.h"
#include "Project.h"
#include "SelIconDialog.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <functional>
#include <memory>
#include <optional>

using namespace velkaro;

class SelIconDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void dialogIsLaidOutAsDesigned();
    void listHoldsTheLibraryInOrder();
    void confirmingTakesTheSelectedIcon_data();
    void confirmingTakesTheSelectedIcon();
    void okWithoutSelectionChangesNothing();
    void leavingWithoutOkChangesNothing_data();
    void leavingWithoutOkChangesNothing();
    void everyOpeningStartsAfresh();
    void fillLetsThePendingWorkRunEvery32Items();

private:
    std::optional<test::TestEnvironment> m_test;
};

namespace {

QListWidgetItem* Item(SelIconDialog& dialog, int number)
{
    return dialog.IconListView->item(number - 1);
}

void Select(SelIconDialog& dialog, int number)
{
    dialog.IconListView->setCurrentItem(Item(dialog, number));
}

// Runs action on the library dialog once exec() has shown it.
void WhenDialogOpens(const std::function<void(SelIconDialog&)>& action)
{
    // The poller refers to itself weakly; the pending timers keep it alive,
    // so it goes away with the last of them.
    auto poll = std::make_shared<std::function<void(int)>>();
    *poll = [action, self = std::weak_ptr(poll)](int triesLeft) {
        if (auto* dialog = qobject_cast<SelIconDialog*>(QApplication::activeModalWidget());
            dialog && dialog->isVisible()) {
            action(*dialog);
            return;
        }
        if (triesLeft > 0)
            QTimer::singleShot(10, [poll = self.lock(), triesLeft] { (*poll)(triesLeft - 1); });
    };
    QTimer::singleShot(0, [poll] { (*poll)(500); });
}

void PutSlotInState(Project& project, const QString& state)
{
    if (state == "file") {
        project.setSlot(Project::IconSlot, QStringLiteral("/cd/bilder/eigenes.ico"));
        project.setIcon(IconPicture{QImage(16, 16, QImage::Format_ARGB32), "file bytes"});
    } else if (state == "default") {
        project.setIconSlot(IconSource::Launcher);
        project.setIcon(MainIconListPicture(2));
    }
}

} // namespace

void SelIconDialogTest::init()
{
    m_test.emplace();
}

void SelIconDialogTest::cleanup()
{
    m_test.reset();
}

void SelIconDialogTest::dialogIsLaidOutAsDesigned()
{
    Project project;
    SelIconDialog dialog(project);
    dialog.Form_Load();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Velkaro 2005 - Icon-Auswahl (511 Stück)"));
    QCOMPARE(dialog.size(), QSize(547, 389));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QVERIFY(
        !(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

    auto* frame = dialog.findChild<QGroupBox*>("Frame1");
    auto* list = dialog.findChild<QListWidget*>("IconListView");
    auto* ok = dialog.findChild<QPushButton*>("Btn_0");
    auto* cancel = dialog.findChild<QPushButton*>("Btn_1");
    QVERIFY(frame && list && ok && cancel);
    QCOMPARE(frame->title(), QStringLiteral("Bitte wählen Sie das gewünschte Icon aus ... "));
    QCOMPARE(frame->geometry(), QRect(6, 6, 535, 347));
    QCOMPARE(list->geometry(), QRect(8, 16, 517, 321));
    QCOMPARE(list->viewMode(), QListView::IconMode);
    QCOMPARE(list->iconSize(), QSize(32, 32));
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(ok->geometry(), QRect(460, 358, 81, 25));
    QCOMPARE(cancel->text(), QStringLiteral("Abbrechen"));
    QCOMPARE(cancel->geometry(), QRect(374, 358, 81, 25));
}

void SelIconDialogTest::listHoldsTheLibraryInOrder()
{
    Project project;
    SelIconDialog dialog(project);
    dialog.Form_Load();
    QCOMPARE(dialog.IconListView->count(), 511);
    const IconLibrary& library = IconLibrary::instance();
    for (int n = 1; n <= 511; ++n)
        QCOMPARE(Item(dialog, n)->text(), QString::number(n));
    for (int n : {1, 200, 511}) {
        const QImage shown = Item(dialog, n)->icon().pixmap(32, 32).toImage().convertToFormat(
            QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(shown, library.picture(n).convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
    // The name that velkaro-autostart takes, shown over the icon.
    QCOMPARE(Item(dialog, 198)->toolTip(), QStringLiteral("198: media-optical"));
}

void SelIconDialogTest::confirmingTakesTheSelectedIcon_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<int>("number");
    QTest::newRow("a click, then OK") << false << 200;
    QTest::newRow("a double-click") << true << 7;
}

void SelIconDialogTest::confirmingTakesTheSelectedIcon()
{
    QFETCH(bool, doubleClick);
    QFETCH(int, number);
    Project project;
    SelIconDialog dialog(project);
    dialog.Form_Load();
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(!dialog.Btn[0]->isEnabled());
    dialog.IconListView->scrollToItem(Item(dialog, number));
    const QRect cell = dialog.IconListView->visualItemRect(Item(dialog, number));
    QTest::mouseClick(dialog.IconListView->viewport(), Qt::LeftButton, {}, cell.center());
    QVERIFY(dialog.Btn[0]->isEnabled());
    if (doubleClick) {
        // A real double-click: the click above, then the second press that
        // the system reports as a double-click.
        QTest::mouseDClick(dialog.IconListView->viewport(), Qt::LeftButton, {}, cell.center());
    } else {
        QTest::mouseClick(dialog.Btn[0], Qt::LeftButton);
    }

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(project.iconSource(), IconSource::Library);
    QCOMPARE(project.icon().image, IconLibrary::instance().picture(number));
    QCOMPARE(project.icon().fileBytes, IconLibrary::instance().fileBytes(number));
}

void SelIconDialogTest::okWithoutSelectionChangesNothing()
{
    Project project;
    PutSlotInState(project, "default");
    const ProjectData was = project.data();
    SelIconDialog dialog(project);
    dialog.Form_Load();
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.IconListView->selectedItems().isEmpty());
    QTest::mouseClick(dialog.Btn[0], Qt::LeftButton); // disabled: no effect
    QVERIFY(dialog.isVisible());
    dialog.Btn_Click(0); // reached some other way all the same
    QVERIFY(project.data() == was);
}

void SelIconDialogTest::leavingWithoutOkChangesNothing_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("way");
    for (const char* state : {"file", "default", "none"})
        for (const char* way : {"Abbrechen", "Escape", "close box"})
            QTest::addRow("%s, %s", state, way) << state << way;
}

void SelIconDialogTest::leavingWithoutOkChangesNothing()
{
    QFETCH(QString, before);
    QFETCH(QString, way);
    Project project;
    PutSlotInState(project, before);
    const ProjectData was = project.data();
    SelIconDialog dialog(project);
    dialog.Form_Load();
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    Select(dialog, 200); // picked, but not confirmed

    if (way == "Abbrechen")
        QTest::mouseClick(dialog.Btn[1], Qt::LeftButton);
    else if (way == "Escape")
        QTest::keyClick(dialog.IconListView, Qt::Key_Escape);
    else
        dialog.close();

    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(project.data() == was);
}

void SelIconDialogTest::everyOpeningStartsAfresh()
{
    Project project;
    int secondCount = -1;
    bool secondHadSelection = true;
    QPoint secondPosition;

    WhenDialogOpens([](SelIconDialog& dialog) {
        Select(dialog, 200);
        dialog.Btn[0]->click();
    });
    QCOMPARE(ShowIconLibrary(project), 200);
    QCOMPARE(project.icon().fileBytes, IconLibrary::instance().fileBytes(200));

    WhenDialogOpens([&](SelIconDialog& dialog) {
        secondCount = dialog.IconListView->count();
        secondHadSelection = !dialog.IconListView->selectedItems().isEmpty();
        secondPosition = dialog.pos();
        dialog.Btn[1]->click();
    });
    QCOMPARE(ShowIconLibrary(project), 0);
    QCOMPARE(secondCount, 511);
    QVERIFY2(!secondHadSelection, "the earlier selection came back");
    // Centred on the pretended 1024 x 768 screen by its outer size (the
    // offscreen platform draws a frame of 2 pixels).
    QCOMPARE(secondPosition, QPoint((1024 - 551) / 2, (768 - 393) / 2));
    QCOMPARE(project.iconSource(), IconSource::Library);
    QCOMPARE(project.icon().fileBytes, IconLibrary::instance().fileBytes(200));
}

namespace {

// Counts how often the event loop runs: it posts itself one event, and posts
// the next only when that one is delivered.
class LoopCounter : public QObject
{
public:
    int turns = 0;
    void start() { QCoreApplication::postEvent(this, new QEvent(QEvent::User)); }
    bool event(QEvent* e) override
    {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        ++turns;
        start();
        return true;
    }
};

} // namespace

void SelIconDialogTest::fillLetsThePendingWorkRunEvery32Items()
{
    Project project;
    SelIconDialog dialog(project);
    IconLibrary::instance();
    LoopCounter counter;
    counter.start();
    dialog.Form_Load();
    // After items 1, 33, 65, ..., 481: 16 times.
    QCOMPARE(counter.turns, 16);
    QCoreApplication::removePostedEvents(&counter);
}

QTEST_MAIN(SelIconDialogTest)
#include "tst_selicondialog.moc"
