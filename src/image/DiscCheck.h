#pragma once

#include "AutorunFile.h"
#include "DiscView.h"

#include <QList>
#include <QString>

namespace velkaro::image {

// One file or folder that the disc must hold for an entry of AutoRun.Inf.
struct CheckLine
{
    QString entry;   // the key of AutoRun.Inf; empty for the launcher that no entry names
    QString path;    // as the entry writes it
    QString problem; // a sentence; empty when Windows will find it
};

struct CheckResult
{
    QString general; // a fault of the disc as a whole (no AutoRun.Inf, no [autorun])
    QList<CheckLine> lines;
    bool ok() const;
};

// Checks every entry of the disc's AutoRun.Inf against its Joliet tree:
// each file or folder must be there under exactly the name the entry uses
// (without regard to case, as Windows looks it up), and Pirolo.Exe too.
CheckResult CheckDisc(const DiscView& disc);

// The message for a line that failed: names the entry and the path.
QString RefusalText(const CheckLine& line);

// One line of the listing of --check.
QString ListingLine(const CheckLine& line);

} // namespace velkaro::image
