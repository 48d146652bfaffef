// The windows as a screen reader sees them, through Qt's accessibility
// interface: every window with its title, every field and option with a
// name, the pictures with their descriptions.
#include "Form1.h"
#include "InfoFormCommercial.h"
#include "ProgressBarForm.h"
#include "Project.h"
#include "SelIconDialog.h"
#include "TestEnvironment.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <optional>

using namespace velkaro;

namespace {

QAccessibleInterface* Accessible(QWidget* widget)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    if (!iface)
        qFatal("%s has no accessible interface", qPrintable(widget->objectName()));
    return iface;
}

QString Name(QWidget* widget)
{
    return Accessible(widget)->text(QAccessible::Name);
}

QString Description(QWidget* widget)
{
    return Accessible(widget)->text(QAccessible::Description);
}

template <typename T> T* Find(QWidget& window, const QString& name)
{
    T* child = window.findChild<T*>(name);
    if (!child)
        qFatal("control %s is missing", qPrintable(name));
    return child;
}

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_test.emplace(); }
    void cleanup() { m_test.reset(); }
    void everyWindowIsAWindowWithItsTitle();
    void fieldsAndOptionsAreNamed();
    void picturesAreDescribed();

private:
    std::optional<test::TestEnvironment> m_test;
};

void AccessibilityTest::everyWindowIsAWindowWithItsTitle()
{
    Form1 form(m_test->form1Environment());
    Project project;
    SelIconDialog library(project);
    library.Form_Load();
    ProgressBarForm progress;
    InfoFormCommercial info(m_test->presenter());
    for (QWidget* window : QList<QWidget*>{&form, &library, &progress, &info}) {
        QAccessibleInterface* iface = Accessible(window);
        const QAccessible::Role role = iface->role();
        QVERIFY2(role == QAccessible::Window || role == QAccessible::Dialog,
                 qPrintable(window->objectName() + QStringLiteral(": role %1").arg(role)));
        QCOMPARE(iface->text(QAccessible::Name), window->windowTitle());
        QVERIFY(!window->windowTitle().isEmpty());
    }
    QCOMPARE(Accessible(&form)->role(), QAccessible::Window);
    QCOMPARE(Accessible(&progress)->role(), QAccessible::Window);
}

void AccessibilityTest::fieldsAndOptionsAreNamed()
{
    Form1 form(m_test->form1Environment());
    const auto pathField = [&](int n) {
        return Find<QLineEdit>(form, QStringLiteral("PathTB_%1").arg(n));
    };
    QCOMPARE(Name(pathField(Project::CdRootSlot)),
             QStringLiteral("(1) Position des CD-Hauptverzeichnisses auf der Festplatte"));
    QCOMPARE(
        Name(pathField(Project::TargetSlot)),
        QStringLiteral("(2) Dateipfad zum dem Objekt, welches automatisch von CD starten soll"));
    QCOMPARE(Name(pathField(Project::IconSlot)),
             QStringLiteral("(4) Position der Datei mit dem Icon für dieses CD (optional)"));
    for (int row = 0; row < Project::RowCount; ++row) {
        const QString line = QStringLiteral(", Zeile %1").arg(row + 1);
        QCOMPARE(Name(Find<QLineEdit>(form, QStringLiteral("KMLabelTB_%1").arg(row))),
                 QStringLiteral("Text im Kontextmenü") + line);
        QCOMPARE(Name(pathField(Project::RowSlot(row))),
                 QStringLiteral("Dateipfad zum zu startenden Objekt") + line);
    }
    const QString section =
        QStringLiteral("(2) Dateipfad zum dem Objekt, welches automatisch von CD starten soll");
    QCOMPARE(Name(Find<QRadioButton>(form, "DestTypeOpt_0")), QStringLiteral("Datei"));
    QCOMPARE(Name(Find<QRadioButton>(form, "DestTypeOpt_1")), QStringLiteral("Ordner"));
    QCOMPARE(Description(Find<QRadioButton>(form, "DestTypeOpt_0")), section);
    QCOMPARE(Description(Find<QRadioButton>(form, "DestTypeOpt_1")), section);
}

void AccessibilityTest::picturesAreDescribed()
{
    Form1 form(m_test->form1Environment());
    for (const char* name : {"IconPreviewImg", "Image2"}) {
        auto* picture = Find<QLabel>(form, name);
        QVERIFY(!picture->toolTip().isEmpty());
        QCOMPARE(Description(picture), picture->toolTip());
    }
    InfoFormCommercial info(m_test->presenter());
    QVERIFY(!info.Image1->toolTip().isEmpty());
    QCOMPARE(Description(info.Image1), info.Image1->toolTip());
}

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
