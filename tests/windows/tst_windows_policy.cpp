// The AutoRun policy as the System-Check reads it from the registry. The
// test writes the policy values itself, so it runs only in a Wine prefix of
// its own: on a real Windows it would change the machine's policy.
#include "SystemCheck.h"

#include <QTest>
#include <windows.h>

using namespace velkaro;

namespace {

const wchar_t* const PolicyPath =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

bool UnderWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

bool SetValue(HKEY root, const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, PolicyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const LONG result = RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

void DeleteValue(HKEY root, const wchar_t* name)
{
    RegDeleteKeyValueW(root, PolicyPath, name);
}

} // namespace

class WindowsPolicyTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void readsBothStoresAndTypes();
    void machineValueWins();

private:
    void clearAll();
};

void WindowsPolicyTest::initTestCase()
{
    if (!UnderWine())
        QSKIP("writes the machine's AutoRun policy; runs only in a throwaway Wine prefix");
    clearAll();
}

void WindowsPolicyTest::cleanup()
{
    clearAll();
}

void WindowsPolicyTest::clearAll()
{
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        DeleteValue(root, L"NoDriveTypeAutoRun");
        DeleteValue(root, L"NoAutorun");
    }
}

// Numbers come as DWORD or, from old set-ups, as four bytes REG_BINARY.
void WindowsPolicyTest::readsBothStoresAndTypes()
{
    QVERIFY(CdAutoRunBlocks(ReadSystemAutoRunPolicy()).isEmpty());

    const DWORD userValue = 0x91; // not the CD-ROM bit
    QVERIFY(SetValue(HKEY_CURRENT_USER, L"NoDriveTypeAutoRun", REG_DWORD, &userValue, 4));
    const BYTE machineBytes[4] = {0xB5, 0x00, 0x00, 0x00};
    QVERIFY(SetValue(HKEY_LOCAL_MACHINE, L"NoDriveTypeAutoRun", REG_BINARY, machineBytes, 4));
    const DWORD one = 1;
    QVERIFY(SetValue(HKEY_CURRENT_USER, L"NoAutorun", REG_DWORD, &one, 4));

    const AutoRunPolicy policy = ReadSystemAutoRunPolicy();
    QCOMPARE(policy.noDriveTypeAutoRun.user, std::optional<quint32>(0x91));
    QCOMPARE(policy.noDriveTypeAutoRun.machine, std::optional<quint32>(0xB5));
    QCOMPARE(policy.noAutorun.user, std::optional<quint32>(1));
    QCOMPARE(policy.noAutorun.machine, std::optional<quint32>());
}

void WindowsPolicyTest::machineValueWins()
{
    const DWORD userBlocks = 0xFF;
    const DWORD machineAllows = 0x91;
    QVERIFY(SetValue(HKEY_CURRENT_USER, L"NoDriveTypeAutoRun", REG_DWORD, &userBlocks, 4));
    QVERIFY(SetValue(HKEY_LOCAL_MACHINE, L"NoDriveTypeAutoRun", REG_DWORD, &machineAllows, 4));
    QVERIFY(CdAutoRunBlocks(ReadSystemAutoRunPolicy()).isEmpty());

    const DWORD one = 1;
    QVERIFY(SetValue(HKEY_LOCAL_MACHINE, L"NoAutorun", REG_DWORD, &one, 4));
    const QList<AutoRunBlock> expected{
        {QStringLiteral("NoAutorun"),
         QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                        "Policies\\Explorer"),
         1}};
    QCOMPARE(CdAutoRunBlocks(ReadSystemAutoRunPolicy()), expected);
}

QTEST_GUILESS_MAIN(WindowsPolicyTest)
#include "tst_windows_policy.moc"
