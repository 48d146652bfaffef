#include "MessageBox.h"
#include "QtTranslations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace velkaro;

class MessageBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void scriptedAnswersAndRecord();
    void realBoxShowsCarriageReturnsAsLineBreaks();
    void realBoxYesNoDefaultsAndAnswers();
    void buttonsSpeakGerman();
};

void MessageBoxTest::scriptedAnswersAndRecord()
{
    MessageBox::setScripted(true);
    MessageBox::setNextAnswer(MessageAnswer::No);
    QCOMPARE(MessageBox::show("Frage?", MessageIcon::Information, MessageButtons::YesNo),
             MessageAnswer::No);
    // Nothing queued: the default button answers.
    QCOMPARE(MessageBox::show("Noch?", MessageIcon::Information, MessageButtons::YesNo),
             MessageAnswer::Yes);
    QCOMPARE(MessageBox::show("Hilfe?", MessageIcon::Information, MessageButtons::OkCancel,
                              MessageAnswer::Cancel),
             MessageAnswer::Cancel);
    MessageBox::error("Fehler");

    const QList<ShownMessage> shown = MessageBox::takeShownMessages();
    QCOMPARE(shown.size(), 4);
    QCOMPARE(shown.at(0).text, QStringLiteral("Frage?"));
    QCOMPARE(shown.at(3).icon, MessageIcon::Error);
    QCOMPARE(shown.at(3).buttons, MessageButtons::Ok);
    QVERIFY(MessageBox::shownMessages().isEmpty());
    MessageBox::setScripted(false);
}

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
    const MessageAnswer answer = MessageBox::show(QStringLiteral("a\rb\r\nc\r\r<b>d</b>"),
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
    QCOMPARE(MessageBox::show("Beenden?", MessageIcon::Information, MessageButtons::YesNo),
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
    MessageBox::show("Beenden?", MessageIcon::Information, MessageButtons::YesNo);
    QCOMPARE(yes, QStringLiteral("&Ja"));
    QCOMPARE(no, QStringLiteral("&Nein"));
}

QTEST_MAIN(MessageBoxTest)
#include "tst_messagebox.moc"
