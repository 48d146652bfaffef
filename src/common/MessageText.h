#pragma once

#include "Failure.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

namespace velkaro {

// Turns the escape codes of a stored text into characters: \t tab, \n CR,
// \l LF, \h double quotation mark (letters in either case); a backslash before
// any other character gives that character, a final backslash gives nothing.
QString ExpandEscapes(const QString& text);

// Fills the positional placeholders %1 to %10 with the given texts, in the
// order 1 to 10; a missing argument counts as the empty text.
QString FillPlaceholders(const QString& text, const QStringList& arguments = {});

// FillPlaceholders first, ExpandEscapes afterwards.
QString FormatText(const QString& text, const QStringList& arguments = {});

// The failure as messages insert it: "description (Code n)".
QString ErrorText(const Failure& failure);

// The system's error number as the messages word it for the path.
QString SystemErrorText(int savedErrno, const QString& path);

// "„path“ ließ sich nicht schreiben: reason." for a write that failed with
// the system's error number.
QString NotWrittenText(const QString& path, int savedErrno);

// Replaces every exact occurrence of a named placeholder such as "%f%" by
// four blanks and the value, so that the value stands indented on its line.
QString InsertIndented(QString text, const QString& placeholder, const QString& value);

// The same for several placeholders in one pass, so that a value that
// happens to hold another placeholder (a path named "%g%") stays as it is.
QString InsertIndented(const QString& text,
                       const QList<std::pair<QString, QString>>& placeholdersAndValues);

// Removes leading and trailing blanks (character 32 only, as the stored
// texts and the fields define "trimmed").
QString TrimBlanks(const QString& text);

} // namespace velkaro
