// The System-Check reads two policy values from the user's and the
// machine's store. On Windows that is the registry, which other programs and
// administrators write; here the same reader runs over settings files.
//
// Input: the user's settings file and the machine's, cut at byte 0x01.

#include "FuzzSupport.h"
#include "SystemCheck.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

using namespace velkaro;
using namespace velkaro::fuzzing;

namespace {

QString WriteStore(const QString& name, const QByteArray& bytes)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(name + QStringLiteral(".ini"));
    FUZZ_CHECK(WriteSettingsFile(path, bytes));
    return path;
}

void CheckValue(const QString& name, const PolicyValue& value, const QList<AutoRunBlock>& blocks)
{
    for (const AutoRunBlock& block : blocks) {
        if (block.valueName != name)
            continue;
        // The machine's value wins whenever it is set.
        FUZZ_CHECK(value.machine || value.user);
        FUZZ_CHECK(block.value == (value.machine ? *value.machine : *value.user));
        FUZZ_CHECK(block.keyPath.startsWith(value.machine ? QStringLiteral("HKEY_LOCAL_MACHINE")
                                                          : QStringLiteral("HKEY_CURRENT_USER")));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    EnsureApplication();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype cut = bytes.indexOf('\x01');
    const QString userPath = WriteStore(QStringLiteral("user"), bytes.left(cut));
    const QString machinePath =
        WriteStore(QStringLiteral("machine"), cut < 0 ? QByteArray() : bytes.mid(cut + 1));

    AutoRunPolicy policy;
    {
        const QSettings user(userPath, QSettings::IniFormat);
        const QSettings machine(machinePath, QSettings::IniFormat);
        policy = ReadAutoRunPolicy(user, machine);
    }

    const QList<AutoRunBlock> blocks = CdAutoRunBlocks(policy);
    FUZZ_CHECK(blocks.size() <= 2);
    CheckValue(QStringLiteral("NoAutorun"), policy.noAutorun, blocks);
    CheckValue(QStringLiteral("NoDriveTypeAutoRun"), policy.noDriveTypeAutoRun, blocks);

    const SystemCheckResult result = SystemCheckMessage(policy);
    FUZZ_CHECK(result.problem == !blocks.isEmpty());
    if (!result.problem)
        FUZZ_CHECK(result.text == QStringLiteral("Alle Einstellungen sind korrekt ..."));
    for (const AutoRunBlock& block : blocks)
        FUZZ_CHECK(result.text.contains(block.valueName));
    return 0;
}
