#pragma once

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

// One message as it was asked for.
struct ShownMessage
{
    QString text;
    MessageIcon icon;
    MessageButtons buttons;
    MessageAnswer defaultAnswer;
};

// Where the program's messages go: the platform layer's message box in the
// program, a script in tests. A presenter takes over every message for as
// long as it lives; the one before it comes back when it goes, so presenters
// are made and destroyed in nested order.
class MessagePresenter
{
public:
    MessagePresenter();
    virtual ~MessagePresenter();
    MessagePresenter(const MessagePresenter&) = delete;
    MessagePresenter& operator=(const MessagePresenter&) = delete;

    // Shows the message and gives the answer chosen.
    virtual MessageAnswer present(const ShownMessage& message) = 0;

private:
    MessagePresenter* m_previous = nullptr;
};

// Every message of the program goes through here: the icon and the button
// set asked for, and the default answer (OK, or Yes for Yes/No) unless one is
// given. Without a presenter the text goes to the error output and the
// default answer is taken.
MessageAnswer ShowMessage(const QString& text, MessageIcon icon, MessageButtons buttons,
                          std::optional<MessageAnswer> defaultAnswer = std::nullopt);

// Shorthands for the two kinds the program uses most.
void ShowInformation(const QString& text);
void ShowError(const QString& text);

// The text as a message shows it: every CR LF and every lone CR become one
// line break.
QString MessageDisplayText(const QString& text);

} // namespace velkaro
