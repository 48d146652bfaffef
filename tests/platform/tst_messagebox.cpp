#include "MessageBox.h"
#include "QtTranslations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <optional>

using namespace velkaro;

class MessageBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_box.emplace(); }
    void cleanup() { m_box.reset(); }
    void realBoxShowsCarriageReturnsAsLineBreaks();
    void realBoxYesNoDefaultsAndAnswers();
    void buttonsSpeakGerman();

private:
    std::optional<MessageBox> m_box;
};

void MessageBoxTest::realBoxShowsCarriageReturnsAsLineBreaks()
{
    QString seenTitle, seenText;
    Qt::TextFormat seenFormat = Qt::AutoText;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        seenTitle = box->windowTitle();
        seenText = box->text();
        seenFormat = box->textFormat();
        seenIcon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
    const MessageAnswer answer = ShowMessage(QStringLiteral("a\rb\r\nc\r\r<b>d</b>"),
                                             MessageIcon::Error, MessageButtons::Ok);
    QCOMPARE(answer, MessageAnswer::Ok);
    QCOMPARE(seenTitle, QStringLiteral("Velkaro"));
    QCOMPARE(seenText, QStringLiteral("a\nb\nc\n\n<b>d</b>"));
    QCOMPARE(seenFormat, Qt::PlainText);
    QCOMPARE(seenIcon, QMessageBox::Critical);
}

void MessageBoxTest::realBoxYesNoDefaultsAndAnswers()
{
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        defaultButton = box->standardButton(box->defaultButton());
        box->button(QMessageBox::No)->click();
    });
    QCOMPARE(ShowMessage("Beenden?", MessageIcon::Information, MessageButtons::YesNo),
             MessageAnswer::No);
    QCOMPARE(defaultButton, QMessageBox::Yes);
}

void MessageBoxTest::buttonsSpeakGerman()
{
    QVERIFY2(InstallGermanQtTranslations(*QCoreApplication::instance()),
             "Qt's German translations (qt6-translations-l10n) are missing");
    QString yes, no;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        yes = box->button(QMessageBox::Yes)->text();
        no = box->button(QMessageBox::No)->text();
        box->button(QMessageBox::Yes)->click();
    });
    ShowMessage("Beenden?", MessageIcon::Information, MessageButtons::YesNo);
    QCOMPARE(yes, QStringLiteral("&Ja"));
    QCOMPARE(no, QStringLiteral("&Nein"));
}

QTEST_MAIN(MessageBoxTest)
#include "tst_messagebox.moc"
