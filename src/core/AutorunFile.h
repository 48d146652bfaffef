#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace velkaro {

// What AutoRun.Inf asks of the disc, read as the Windows shell reads it:
// Windows-1252 bytes, the first section [autorun] (its name and the keys
// without regard to case), blanks around "=" dropped, one pair of enclosing
// quotation marks of a value dropped, the first of several equal keys.

// One file or folder that an entry needs on the disc.
struct DiscReference
{
    enum class Role
    {
        Program,  // the program a command line starts
        Argument, // the path a command line hands the launcher
        Icon      // the icon the drive shows
    };
    QString entry; // the key, as the file writes it: "open", "shell\0\command"
    Role role = Role::Argument;
    QString path; // relative to the disc root, as the entry writes it
};

struct AutorunContent
{
    bool hasSection = false; // a section [autorun] was found
    bool hasStart = false;   // "open" or "shellexecute" in it
    QList<DiscReference> references;
};

AutorunContent ReadAutorun(const QByteArray& bytes);

// The program of a command line: quoted up to the closing mark, otherwise
// up to the first blank or tab.
QString CommandProgram(const QString& commandLine);

// The file of an icon value: an index ",n" after the path dropped, then one
// pair of enclosing quotation marks.
QString IconFile(const QString& value);

} // namespace velkaro
