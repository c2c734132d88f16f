// Registry helpers of the script engine's tests: a sandbox key per test into
// which the predefined root keys are redirected, dumps for checking that
// nothing outside it changed, and readers for what a script wrote.
#pragma once
#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// Every key and value under a root: a key maps to "", a value (path, then
// "=" and its name) to its type and bytes.
using RegistryDump = std::map<std::wstring, std::wstring>;
RegistryDump DumpTree(HKEY root, const std::wstring& path = L"");
// The entries that differ between two dumps, with what each held before and after.
std::vector<std::wstring> Differences(const RegistryDump& before, const RegistryDump& after);

// HKEY_CURRENT_USER\Software\<name>, made fresh and deleted at the end. While
// the root keys are redirected, HKEY_CLASSES_ROOT, HKEY_CURRENT_USER and the
// other predefined keys stand for subkeys of the sandbox named after them
// ("HKCR", "HKCU", ...), so a script cannot write anywhere else.
class RegistrySandbox {
public:
    explicit RegistrySandbox(const std::wstring& name);
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    const std::wstring& Path() const { return path_; }
    void RedirectRootKeys();
    void RestoreRootKeys();
    // Empties the root keys while they are redirected.
    void Clear();

private:
    std::wstring path_;
    bool redirected_ = false;
};

struct RegValue {
    DWORD type;
    std::vector<BYTE> data;
    bool operator==(const RegValue& other) const { return type == other.type && data == other.data; }
};

bool KeyExists(HKEY root, const std::wstring& path);
std::optional<RegValue> ReadValue(HKEY root, const std::wstring& path, const wchar_t* name = nullptr);
// A REG_SZ value's text; "<absent>" or "<not a string>" otherwise.
std::wstring ReadString(HKEY root, const std::wstring& path, const wchar_t* name = nullptr);
std::vector<std::wstring> SubkeyNames(HKEY root, const std::wstring& path);
std::vector<std::wstring> ValueNames(HKEY root, const std::wstring& path);

void CreateKey(HKEY root, const std::wstring& path);
void WriteString(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& text);
// Replaces the key's access list with one given in the security descriptor
// language, for example L"D:P(A;;KR;;;WD)" for read-only.
void RestrictKey(HKEY root, const std::wstring& path, const wchar_t* descriptor);

RegValue StringValue(const std::wstring& text);
RegValue DwordValue(DWORD number);
RegValue BinaryValue(std::vector<BYTE> bytes);
RegValue MultiStringValue(const std::wstring& unitsWithNuls);

}  // namespace testsupport
