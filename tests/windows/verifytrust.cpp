// Checks signed files as Windows does before it runs them: WinVerifyTrust with
// the Authenticode policy (WINTRUST_ACTION_GENERIC_VERIFY_V2), the way
// Explorer, AutoPlay and the elevation prompt ask.
//   verifytrust.exe [--trust ROOT.pem] FILE ...
// --trust first adds a root certificate to the machine's trusted roots. For
// each file one line: the result (hexadecimal, 0 is trusted), a tab, the
// signer's name as Windows shows it as publisher (empty without one), a tab,
// the file.

#include <cstdio>
#include <string>
#include <vector>
// The crypto headers need the types of windows.h first.
// clang-format off
#include <windows.h>
#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>
// clang-format on

namespace {

void Print(const std::wstring& text)
{
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), size, nullptr, nullptr);
    std::fputs(utf8.c_str(), stdout);
}

bool TrustRoot(const wchar_t* path)
{
    const HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    std::string pem(static_cast<std::size_t>(GetFileSize(file, nullptr)), '\0');
    DWORD read = 0;
    ReadFile(file, pem.data(), static_cast<DWORD>(pem.size()), &read, nullptr);
    CloseHandle(file);
    DWORD size = 0;
    if (!CryptStringToBinaryA(pem.c_str(), read, CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr,
                              nullptr)) {
        return false;
    }
    std::vector<BYTE> der(size);
    CryptStringToBinaryA(pem.c_str(), read, CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr,
                         nullptr);
    const HCERTSTORE root =
        CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    if (root == nullptr) {
        return false;
    }
    const BOOL added = CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING, der.data(), size,
                                                        CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    CertCloseStore(root, 0);
    return added != FALSE;
}

void Verify(const wchar_t* path)
{
    WINTRUST_FILE_INFO file{};
    file.cbStruct = sizeof file;
    file.pcwszFilePath = path;
    WINTRUST_DATA data{};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    // The test authority publishes no revocation lists.
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &file;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    const LONG result = WinVerifyTrust(nullptr, &action, &data);

    std::wstring signer;
    if (CRYPT_PROVIDER_DATA* provider = WTHelperProvDataFromStateData(data.hWVTStateData)) {
        CRYPT_PROVIDER_SGNR* first = WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0);
        if (first != nullptr && first->csCertChain > 0) {
            CRYPT_PROVIDER_CERT* cert = WTHelperGetProvCertFromChain(first, 0);
            wchar_t name[256] = L"";
            CertGetNameStringW(cert->pCert, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, name, 256);
            signer = name;
        }
    }
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrust(nullptr, &action, &data);

    wchar_t code[16];
    swprintf(code, 16, L"%08lX", static_cast<unsigned long>(result));
    Print(std::wstring(code) + L'\t' + signer + L'\t' + path + L'\n');
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    int first = 1;
    if (argc > 2 && std::wstring(argv[1]) == L"--trust") {
        if (!TrustRoot(argv[2])) {
            Print(L"Stammzertifikat nicht aufgenommen: " + std::wstring(argv[2]) + L'\n');
            return 2;
        }
        first = 3;
    }
    for (int i = first; i < argc; ++i) {
        Verify(argv[i]);
    }
    return 0;
}
