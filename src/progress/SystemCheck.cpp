#include "SystemCheck.h"

#include "Messages.h"
#include "ProgressbarModule.h"

#include <QSettings>
#include <QVariant>

#ifdef Q_OS_WIN
#include <windows.h>
// The program's own MessageBox class, not the Win32 macro.
#undef MessageBox
#endif

namespace velkaro {

namespace {

constexpr quint32 CdRomDriveBit = 0x20;

const QString PolicySubkey =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer");
const QString UserKey = QStringLiteral("HKEY_CURRENT_USER\\") + PolicySubkey;
const QString MachineKey = QStringLiteral("HKEY_LOCAL_MACHINE\\") + PolicySubkey;

bool& CheckRunning()
{
    static bool running = false;
    return running;
}

// The value in force and the key it comes from.
std::optional<AutoRunBlock> Effective(const QString& name, const PolicyValue& value)
{
    if (value.machine)
        return AutoRunBlock{name, MachineKey, *value.machine};
    if (value.user)
        return AutoRunBlock{name, UserKey, *value.user};
    return std::nullopt;
}

// Registry values come as numbers (DWORD), as four little-endian bytes
// (REG_BINARY, used by old set-ups) or, in files, as text.
std::optional<quint32> PolicyNumber(const QVariant& value)
{
    if (!value.isValid())
        return std::nullopt;
    if (value.typeId() == QMetaType::QByteArray) {
        const QByteArray bytes = value.toByteArray();
        if (bytes.isEmpty() || bytes.size() > 4)
            return std::nullopt;
        quint32 number = 0;
        for (qsizetype i = bytes.size() - 1; i >= 0; --i)
            number = (number << 8) | quint8(bytes.at(i));
        return number;
    }
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        bool ok = false;
        const quint32 number = text.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)
                                   ? text.mid(2).toUInt(&ok, 16)
                                   : text.toUInt(&ok, 10);
        return ok ? std::optional<quint32>(number) : std::nullopt;
    }
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    // A DWORD read as a signed int keeps its bits.
    return quint32(number & 0xFFFFFFFF);
}

PolicyValue ReadValue(const QSettings& user, const QSettings& machine, const QString& name)
{
    return {PolicyNumber(user.value(name)), PolicyNumber(machine.value(name))};
}

#ifdef Q_OS_WIN
// QSettings reads REG_BINARY as UTF-16 text, which loses the bytes: the
// registry is asked directly, and the value goes through PolicyNumber as a
// policy file's would.
std::optional<quint32> RegistryPolicyNumber(HKEY root, const wchar_t* name)
{
    DWORD type = 0;
    BYTE data[512];
    DWORD size = sizeof(data) - sizeof(wchar_t);
    if (RegGetValueW(root, reinterpret_cast<LPCWSTR>(PolicySubkey.utf16()), name,
                     RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    switch (type) {
    case REG_DWORD: // four little-endian bytes, as REG_BINARY's
    case REG_BINARY:
        return PolicyNumber(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    case REG_SZ:
    case REG_EXPAND_SZ:
        return PolicyNumber(QString::fromWCharArray(reinterpret_cast<const wchar_t*>(data),
                                                    qsizetype(size / sizeof(wchar_t)))
                                .section(QChar(0), 0, 0));
    default:
        return std::nullopt;
    }
}

PolicyValue ReadRegistryValue(const wchar_t* name)
{
    return {RegistryPolicyNumber(HKEY_CURRENT_USER, name),
            RegistryPolicyNumber(HKEY_LOCAL_MACHINE, name)};
}
#endif

} // namespace

QString SystemCheckScript()
{
    return QStringLiteral("0,300,13,100,33,400,68,2000,77,500,90,100,100,500");
}

QString SystemCheckTitle()
{
    return QStringLiteral("System-Check");
}

QList<AutoRunBlock> CdAutoRunBlocks(const AutoRunPolicy& policy)
{
    QList<AutoRunBlock> blocks;
    if (const auto v = Effective(QStringLiteral("NoAutorun"), policy.noAutorun); v && v->value == 1)
        blocks.append(*v);
    if (const auto v = Effective(QStringLiteral("NoDriveTypeAutoRun"), policy.noDriveTypeAutoRun);
        v && (v->value & CdRomDriveBit))
        blocks.append(*v);
    return blocks;
}

SystemCheckResult SystemCheckMessage(const AutoRunPolicy& policy)
{
    const QList<AutoRunBlock> blocks = CdAutoRunBlocks(policy);
    if (blocks.isEmpty())
        return {QStringLiteral("Alle Einstellungen sind korrekt ..."), false};

    const QChar cr(13);
    QString text = QStringLiteral("Der Autostart von CDs ist auf diesem Computer abgeschaltet:");
    text += cr;
    for (const AutoRunBlock& block : blocks) {
        text += cr;
        text += QStringLiteral("    ") + block.valueName + QStringLiteral(" = 0x") +
                QStringLiteral("%1").arg(block.value, 8, 16, QLatin1Char('0')).toUpper();
        text += block.valueName == QStringLiteral("NoAutorun")
                    ? QStringLiteral(" (kein Autostart für alle Laufwerke)")
                    : QStringLiteral(" (kein Autostart für CD-Laufwerke)");
        text += cr + QStringLiteral("    unter ") + block.keyPath;
        text += cr;
    }
    text += cr;
    text += QStringLiteral(
        "Mit Velkaro erstellte CDs starten auf diesem Computer deshalb nicht von selbst. "
        "Auf anderen Computern können sie trotzdem starten.");
    return {text, true};
}

AutoRunPolicy ReadAutoRunPolicy(const QSettings& user, const QSettings& machine)
{
    return {ReadValue(user, machine, QStringLiteral("NoDriveTypeAutoRun")),
            ReadValue(user, machine, QStringLiteral("NoAutorun"))};
}

AutoRunPolicy ReadSystemAutoRunPolicy()
{
#ifdef Q_OS_WIN
    return {ReadRegistryValue(L"NoDriveTypeAutoRun"), ReadRegistryValue(L"NoAutorun")};
#else
    return {};
#endif
}

bool RunSystemCheck(ProgressWait& wait, const std::function<AutoRunPolicy()>& readPolicy)
{
    // The player keeps the event loop running, so the button can be pressed
    // again while the first check plays; a second window would fight the first.
    if (CheckRunning())
        return false;
    CheckRunning() = true;
    PlayProgressScript(SystemCheckScript(), SystemCheckTitle(), wait);
    CheckRunning() = false;

    const SystemCheckResult result = SystemCheckMessage(readPolicy());
    if (result.problem)
        ShowError(result.text);
    else
        ShowInformation(result.text);
    return true;
}

} // namespace velkaro
