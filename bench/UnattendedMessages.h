#pragma once

#include "Messages.h"

#include <QStringList>

// The benchmarks run with nobody to click: every message is kept for a
// report, a Yes/No question is answered No (after the OK command: stay) and
// any other message with its default.
class UnattendedMessages final : public velkaro::MessagePresenter
{
public:
    velkaro::MessageAnswer present(const velkaro::ShownMessage& message) override
    {
        shown.append(message.text);
        return message.buttons == velkaro::MessageButtons::YesNo ? velkaro::MessageAnswer::No
                                                                 : message.defaultAnswer;
    }

    QStringList shown;
};
