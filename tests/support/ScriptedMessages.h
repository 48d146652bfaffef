#pragma once

#include "Messages.h"

#include <QList>
#include <QQueue>

namespace velkaro::test {

// Answers from a queue and records each message: the answer is the next one
// queued, or the default answer when none is.
class ScriptedMessages final : public MessagePresenter
{
public:
    MessageAnswer present(const ShownMessage& message) override;

    void setNextAnswer(MessageAnswer answer);
    const QList<ShownMessage>& shown() const { return m_shown; }
    QList<ShownMessage> takeShown();

private:
    QQueue<MessageAnswer> m_answers;
    QList<ShownMessage> m_shown;
};

} // namespace velkaro::test
