#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <optional>

class QSettings;

namespace velkaro {

class ProgressWait;

// The script and title that the System-Check plays: 3.9 seconds in seven steps.
QString SystemCheckScript();
QString SystemCheckTitle();

// One policy value as the user's and the machine's policies hold it; a value
// that is not set is empty.
struct PolicyValue
{
    std::optional<quint32> user;
    std::optional<quint32> machine;
};

// The two policy values that can switch AutoRun off for CD drives.
struct AutoRunPolicy
{
    PolicyValue noDriveTypeAutoRun; // bit 0x20: CD-ROM drives
    PolicyValue noAutorun;          // 1: no AutoRun at all
};

// A policy value that switches AutoRun off for CDs, and where it stands.
struct AutoRunBlock
{
    QString valueName;
    QString keyPath;
    quint32 value = 0;

    bool operator==(const AutoRunBlock&) const = default;
};

// The policy values in force that switch AutoRun off for CD drives; empty
// when nothing does. As with every such policy, a value set for the machine
// takes precedence over the same value set for the user.
QList<AutoRunBlock> CdAutoRunBlocks(const AutoRunPolicy& policy);

// The closing message of the System-Check, and whether it reports a problem.
struct SystemCheckResult
{
    QString text;
    bool problem = false;
};
SystemCheckResult SystemCheckMessage(const AutoRunPolicy& policy);

// Reads both values from the user's and the machine's policy store (on
// Windows the registry keys below; tests pass files of their own). A value
// that does not read as a whole number counts as not set.
AutoRunPolicy ReadAutoRunPolicy(const QSettings& user, const QSettings& machine);
// The policy of the running system; empty where the system has no such store.
AutoRunPolicy ReadSystemAutoRunPolicy();

// The System-Check command: plays the script in the progress window, its
// steps passing through wait, then reports what readPolicy finds. A call
// while the check is still playing does nothing and gives false.
bool RunSystemCheck(ProgressWait& wait,
                    const std::function<AutoRunPolicy()>& readPolicy = ReadSystemAutoRunPolicy);

} // namespace velkaro
