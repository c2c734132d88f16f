// registry-fixture VERB ARGUMENTS
// Builds registry shapes that reg.exe cannot make, under HKEY_CURRENT_USER
// (every KEY is a path below it):
//   link KEY TARGET     KEY becomes a symbolic link to the key TARGET
//   chain KEY DEPTH     a chain of DEPTH nested subkeys "a" below KEY
//   depth KEY           prints how deep the chain of "a" subkeys below KEY is
//   volatile KEY        deletes KEY with its subtree and makes it afresh, volatile
// Prints the error and exits 1 when a step fails, 2 on bad usage.
#include <windows.h>
#include <sddl.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

int Fail(const wchar_t* what, const std::wstring& key, LONG error)
{
    std::fwprintf(stderr, L"registry-fixture: %ls %ls: error %ld\n", what, key.c_str(), error);
    return 1;
}

// The kernel name of HKEY_CURRENT_USER: \Registry\User\<SID of this process's user>.
bool CurrentUserRoot(std::wstring& root)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    alignas(TOKEN_USER) BYTE buffer[256];
    DWORD size = 0;
    BOOL ok = GetTokenInformation(token, TokenUser, buffer, sizeof(buffer), &size);
    CloseHandle(token);
    if (!ok)
        return false;
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &text))
        return false;
    root = L"\\Registry\\User\\";
    root += text;
    LocalFree(text);
    return true;
}

int MakeLink(const std::wstring& key, const std::wstring& target)
{
    std::wstring root;
    if (!CurrentUserRoot(root))
        return Fail(L"cannot read the user of", key, static_cast<LONG>(GetLastError()));
    std::wstring path = root + L"\\" + target;
    HKEY link = nullptr;
    LONG error = RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                                 KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &link, nullptr);
    if (error != ERROR_SUCCESS)
        return Fail(L"cannot create link", key, error);
    // The link's target is stored without a terminating null.
    error = RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(path.data()),
                           static_cast<DWORD>(path.size() * sizeof(wchar_t)));
    RegCloseKey(link);
    return error == ERROR_SUCCESS ? 0 : Fail(L"cannot set the target of", key, error);
}

int MakeChain(const std::wstring& key, long depth)
{
    HKEY current = nullptr;
    LONG error = RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &current,
                                 nullptr);
    if (error != ERROR_SUCCESS)
        return Fail(L"cannot create", key, error);
    for (long level = 1; level <= depth; ++level) {
        HKEY next = nullptr;
        error = RegCreateKeyExW(current, L"a", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &next, nullptr);
        RegCloseKey(current);
        if (error != ERROR_SUCCESS) {
            std::fwprintf(stderr, L"registry-fixture: chain stopped at level %ld\n", level);
            return Fail(L"cannot extend the chain below", key, error);
        }
        current = next;
    }
    RegCloseKey(current);
    return 0;
}

int PrintDepth(const std::wstring& key)
{
    HKEY current = nullptr;
    LONG error = RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &current);
    if (error != ERROR_SUCCESS)
        return Fail(L"cannot open", key, error);
    long depth = 0;
    HKEY next = nullptr;
    while (RegOpenKeyExW(current, L"a", 0, KEY_READ, &next) == ERROR_SUCCESS) {
        RegCloseKey(current);
        current = next;
        ++depth;
    }
    RegCloseKey(current);
    std::wprintf(L"%ld\n", depth);
    return 0;
}

int MakeVolatile(const std::wstring& key)
{
    LONG error = RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    if (error != ERROR_SUCCESS && error != ERROR_FILE_NOT_FOUND)
        return Fail(L"cannot delete", key, error);
    HKEY made = nullptr;
    DWORD disposition = 0;
    error = RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                            &made, &disposition);
    if (error != ERROR_SUCCESS)
        return Fail(L"cannot create volatile", key, error);
    RegCloseKey(made);
    return disposition == REG_CREATED_NEW_KEY ? 0 : Fail(L"was not made afresh:", key, ERROR_ALREADY_EXISTS);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 4 && std::wcscmp(argv[1], L"link") == 0)
        return MakeLink(argv[2], argv[3]);
    if (argc == 4 && std::wcscmp(argv[1], L"chain") == 0)
        return MakeChain(argv[2], std::wcstol(argv[3], nullptr, 10));
    if (argc == 3 && std::wcscmp(argv[1], L"depth") == 0)
        return PrintDepth(argv[2]);
    if (argc == 3 && std::wcscmp(argv[1], L"volatile") == 0)
        return MakeVolatile(argv[2]);
    std::fwprintf(stderr, L"usage: registry-fixture link KEY TARGET | chain KEY DEPTH | depth KEY | volatile KEY\n");
    return 2;
}
