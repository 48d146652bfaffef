#include "ScriptedMessages.h"

#include <utility>

namespace velkaro::test {

MessageAnswer ScriptedMessages::present(const ShownMessage& message)
{
    m_shown.append(message);
    return m_answers.isEmpty() ? message.defaultAnswer : m_answers.dequeue();
}

void ScriptedMessages::setNextAnswer(MessageAnswer answer)
{
    m_answers.enqueue(answer);
}

QList<ShownMessage> ScriptedMessages::takeShown()
{
    return std::exchange(m_shown, {});
}

} // namespace velkaro::test
