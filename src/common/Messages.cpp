#include "Messages.h"

#include <cstdio>
#include <utility>

namespace velkaro {

namespace {

MessagePresenter*& CurrentPresenter()
{
    static MessagePresenter* presenter = nullptr;
    return presenter;
}

MessageAnswer DefaultFor(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
    case MessageButtons::OkCancel:
        return MessageAnswer::Ok;
    case MessageButtons::YesNo:
        return MessageAnswer::Yes;
    }
    return MessageAnswer::Ok;
}

} // namespace

MessagePresenter::MessagePresenter() : m_previous(std::exchange(CurrentPresenter(), this)) {}

MessagePresenter::~MessagePresenter()
{
    if (CurrentPresenter() == this)
        CurrentPresenter() = m_previous;
}

MessageAnswer ShowMessage(const QString& text, MessageIcon icon, MessageButtons buttons,
                          std::optional<MessageAnswer> defaultAnswer)
{
    const ShownMessage message{text, icon, buttons, defaultAnswer.value_or(DefaultFor(buttons))};
    if (MessagePresenter* presenter = CurrentPresenter())
        return presenter->present(message);
    std::fprintf(stderr, "%s\n", qPrintable(MessageDisplayText(text)));
    return message.defaultAnswer;
}

void ShowInformation(const QString& text)
{
    ShowMessage(text, MessageIcon::Information, MessageButtons::Ok);
}

void ShowError(const QString& text)
{
    ShowMessage(text, MessageIcon::Error, MessageButtons::Ok);
}

QString MessageDisplayText(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

} // namespace velkaro
