#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace velkaro {

enum class MessageIcon
{
    Information,
    Error
};
enum class MessageButtons
{
    Ok,
    OkCancel,
    YesNo
};
enum class MessageAnswer
{
    Ok,
    Cancel,
    Yes,
    No
};

// One message as it was asked for, kept while answers are scripted.
struct ShownMessage
{
    QString text;
    MessageIcon icon;
    MessageButtons buttons;
    MessageAnswer defaultAnswer;
};

// Every message box of the program goes through here: title "Velkaro", the
// icon and button set asked for, and CR (or CR LF) shown as a line break.
//
// Tests switch to scripted answers: no box appears, each message is recorded,
// and the answer is the next one queued, or the default button when none is.
class MessageBox
{
public:
    static MessageAnswer show(const QString& text, MessageIcon icon, MessageButtons buttons,
                              std::optional<MessageAnswer> defaultAnswer = std::nullopt);

    // Shorthands for the two kinds the program uses most.
    static void information(const QString& text);
    static void error(const QString& text);

    // The text as a box shows it: every CR LF and every lone CR become one
    // line break.
    static QString displayText(const QString& text);

    static void setScripted(bool scripted);
    static bool isScripted();
    static void setNextAnswer(MessageAnswer answer);
    static QList<ShownMessage> takeShownMessages();
    static const QList<ShownMessage>& shownMessages();
};

} // namespace velkaro
