#include "MessageBox.h"

#include "Titles.h"

#include <QMessageBox>
#include <QQueue>
#include <utility>

namespace velkaro {

namespace {

struct Script
{
    bool active = false;
    QQueue<MessageAnswer> answers;
    QList<ShownMessage> shown;
};

Script& script()
{
    static Script instance;
    return instance;
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

QMessageBox::StandardButton ToStandard(MessageAnswer answer)
{
    switch (answer) {
    case MessageAnswer::Ok:
        return QMessageBox::Ok;
    case MessageAnswer::Cancel:
        return QMessageBox::Cancel;
    case MessageAnswer::Yes:
        return QMessageBox::Yes;
    case MessageAnswer::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

} // namespace

QString MessageBox::displayText(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

MessageAnswer MessageBox::show(const QString& text, MessageIcon icon, MessageButtons buttons,
                               std::optional<MessageAnswer> defaultAnswer)
{
    const MessageAnswer fallback = defaultAnswer.value_or(DefaultFor(buttons));
    Script& s = script();
    if (s.active) {
        s.shown.append({text, icon, buttons, fallback});
        return s.answers.isEmpty() ? fallback : s.answers.dequeue();
    }

    QMessageBox box;
    box.setWindowTitle(AppTitle());
    // Paths and menu texts may hold "<": never let the box guess rich text.
    box.setTextFormat(Qt::PlainText);
    box.setText(displayText(text));
    box.setIcon(icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::Information);
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        break;
    }
    box.setDefaultButton(ToStandard(fallback));
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    default:
        // Closed without a button: the safe answer of each set.
        return buttons == MessageButtons::YesNo      ? MessageAnswer::No
               : buttons == MessageButtons::OkCancel ? MessageAnswer::Cancel
                                                     : MessageAnswer::Ok;
    }
}

void MessageBox::information(const QString& text)
{
    show(text, MessageIcon::Information, MessageButtons::Ok);
}

void MessageBox::error(const QString& text)
{
    show(text, MessageIcon::Error, MessageButtons::Ok);
}

void MessageBox::setScripted(bool scripted)
{
    Script& s = script();
    s.active = scripted;
    s.answers.clear();
    s.shown.clear();
}

bool MessageBox::isScripted()
{
    return script().active;
}

void MessageBox::setNextAnswer(MessageAnswer answer)
{
    script().answers.enqueue(answer);
}

QList<ShownMessage> MessageBox::takeShownMessages()
{
    return std::exchange(script().shown, {});
}

const QList<ShownMessage>& MessageBox::shownMessages()
{
    return script().shown;
}

} // namespace velkaro
