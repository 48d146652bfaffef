#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace velkaro::autostart {

// One context row as the command line names it: "TEXT=PFAD".
struct MenuChoice
{
    QString text;
    QString path;
};

// What a call of velkaro-autostart chooses; paths as typed, relative to the
// CD root or absolute.
struct Choices
{
    QString cdRoot;
    QString open;
    bool folder = false;
    std::array<std::optional<MenuChoice>, 3> menus;
    QString icon = QStringLiteral("none"); // none, default, library:NAME or a path
    bool print = false;
    std::optional<QDateTime> moment; // SOURCE_DATE_EPOCH; else the clock
};

// Makes the project as the window's choosers would and runs the OK command
// without its question, or with print only shows what it would write. Every
// refusal and failure goes to the error output through the program's
// messages, before anything is written for a refusal. Gives the exit code.
int RunAutostart(const Choices& choices);

// One line per library icon: its number with three digits and its name.
QStringList LibraryIconLines();

} // namespace velkaro::autostart
