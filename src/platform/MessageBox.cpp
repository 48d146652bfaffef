#include "MessageBox.h"

#include "Titles.h"

#include <QMessageBox>

namespace velkaro {

namespace {

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

MessageAnswer MessageBox::present(const ShownMessage& message)
{
    QMessageBox box;
    box.setWindowTitle(AppTitle());
    // Paths and menu texts may hold "<": never let the box guess rich text.
    box.setTextFormat(Qt::PlainText);
    box.setText(MessageDisplayText(message.text));
    box.setIcon(message.icon == MessageIcon::Error ? QMessageBox::Critical
                                                   : QMessageBox::Information);
    switch (message.buttons) {
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
    box.setDefaultButton(ToStandard(message.defaultAnswer));
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
        return message.buttons == MessageButtons::YesNo      ? MessageAnswer::No
               : message.buttons == MessageButtons::OkCancel ? MessageAnswer::Cancel
                                                             : MessageAnswer::Ok;
    }
}

} // namespace velkaro
