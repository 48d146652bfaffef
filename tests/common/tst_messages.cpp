#include "ScriptedMessages.h"

#include <QTest>

using namespace velkaro;

class MessagesTest : public QObject
{
    Q_OBJECT

private slots:
    void scriptedAnswersAndRecord();
    void presentersNest();
};

void MessagesTest::scriptedAnswersAndRecord()
{
    test::ScriptedMessages messages;
    messages.setNextAnswer(MessageAnswer::No);
    QCOMPARE(ShowMessage("Frage?", MessageIcon::Information, MessageButtons::YesNo),
             MessageAnswer::No);
    // Nothing queued: the default button answers.
    QCOMPARE(ShowMessage("Noch?", MessageIcon::Information, MessageButtons::YesNo),
             MessageAnswer::Yes);
    QCOMPARE(ShowMessage("Hilfe?", MessageIcon::Information, MessageButtons::OkCancel,
                         MessageAnswer::Cancel),
             MessageAnswer::Cancel);
    ShowError("Fehler");

    const QList<ShownMessage> shown = messages.takeShown();
    QCOMPARE(shown.size(), 4);
    QCOMPARE(shown.at(0).text, QStringLiteral("Frage?"));
    QCOMPARE(shown.at(3).icon, MessageIcon::Error);
    QCOMPARE(shown.at(3).buttons, MessageButtons::Ok);
    QVERIFY(messages.shown().isEmpty());
}

// The presenter made last takes the messages; when it goes, the one before
// takes them again.
void MessagesTest::presentersNest()
{
    test::ScriptedMessages outer;
    {
        test::ScriptedMessages inner;
        ShowInformation("innen");
        QCOMPARE(inner.shown().size(), 1);
    }
    ShowInformation("außen");
    QCOMPARE(outer.shown().size(), 1);
    QCOMPARE(outer.shown().first().text, QStringLiteral("außen"));
}

QTEST_GUILESS_MAIN(MessagesTest)
#include "tst_messages.moc"
