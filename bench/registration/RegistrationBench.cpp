// Measures self-registration side by side with a plain program: a
// DllRegisterServer + DllUnregisterServer cycle of the built trevik.dll,
// loaded into this process, against the same registry and type-library calls
// made directly, in the order the library makes them for its AppID script
// and its class script. Each figure is the best of several rounds in turning
// order, after a warm-up round.
//
// The library always registers per user, so its classes go under
// HKEY_CURRENT_USER\Software\Classes and that is the path measured here.
// Wine does not merge those keys into HKEY_CLASSES_ROOT, and it registers
// the type library machine-wide even through the per-user call.
//
// Run it under Wine:
//   WINEPREFIX=<prefix> wine registration_bench.exe [path of trevik.dll]
#include <windows.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "EngineRegistryCalls.h"
#include "Identifiers.h"
#include "platform/ComPtr.h"
#include "platform/ModuleFileName.h"
#include "platform/RegistryKey.h"
#include "platform/BString.h"

namespace {

using bench::Best;
using bench::DeleteValueLikeTheEngine;
using bench::Now;
using bench::OpenOrCreateLikeTheEngine;
using bench::RemoveLikeTheEngine;
using bench::SetString;

constexpr int kRounds = 9;
constexpr int kCyclesPerRound = 20;
// The library's side also keeps its undo journal (the old content of every
// value it overwrites, every key it creates) and takes the session's
// registration lock; the direct side makes the same writes and deletions
// (each key deleted as itself, as the library does, so that no link is
// followed) and nothing else.
constexpr double kTarget = 1.5;
constexpr bool kRemovable = true;
constexpr bool kNoRemove = false;
const wchar_t kClassName[] = L"ZuTrevikHelper Class";
const wchar_t kVersionedProgId[] = L"trevik.ZuTrevikHelper.1";
const wchar_t kProgId[] = L"trevik.ZuTrevikHelper";
const std::wstring kClassesPath = L"Software\\Classes\\";
const std::wstring kClassKeyPath = kClassesPath + L"CLSID\\" + trevik::kClsidText;
const std::wstring kTypeLibKeyPath = std::wstring(L"TypeLib\\") + trevik::kLibidText;

using RegisterTypeLibFunction = HRESULT(WINAPI*)(ITypeLib*, LPOLESTR, LPOLESTR);
using UnregisterTypeLibFunction = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);
using RegistrationExport = HRESULT(__stdcall*)();



std::wstring BuiltDllPath()
{
    std::wstring path = L"Z:";
    for (const char* c = TREVIK_DLL_PATH; *c; ++c)
        path += static_cast<wchar_t>(*c == '/' ? '\\' : *c);
    return path;
}

// One block of a script in register mode: each key entry opens its key for
// reading and writing, else for reading, else creates it; the key it
// replaces as the level's current key is closed after that, the last one
// when the block ends.
class RegisterLevel {
public:
    explicit RegisterLevel(HKEY parent) : parent_(parent) {}
    RegisterLevel(const RegisterLevel&) = delete;
    RegisterLevel& operator=(const RegisterLevel&) = delete;
    ~RegisterLevel()
    {
        if (current_)
            RegCloseKey(current_);
    }

    HKEY Key(const wchar_t* name)
    {
        current_ = OpenOrCreateLikeTheEngine(parent_, name, current_);
        return current_;
    }
    // A key entry with "= s 'text'": the default value follows the key.
    HKEY Key(const wchar_t* name, const std::wstring& text)
    {
        SetString(Key(name), nullptr, text);
        return current_;
    }
    void Value(const wchar_t* name, const std::wstring& text) { SetString(parent_, name, text); }
    // "ForceRemove": the named key's tree goes before the entry makes it anew.
    void RemoveTree(const wchar_t* name) { DeleteTree(parent_, name); }

private:
    static void DeleteTree(HKEY parent, const wchar_t* name)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(parent, name, 0, trevik::kKeyReadWrite, &key) != ERROR_SUCCESS)
            return;
        for (;;) {
            wchar_t subkey[trevik::kKeyNameUnits];
            DWORD units = trevik::kKeyNameUnits;
            if (RegEnumKeyExW(key, 0, subkey, &units, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            DeleteTree(key, subkey);
        }
        RegCloseKey(key);
        RegDeleteKeyExW(parent, name, 0, 0);
    }

    const HKEY parent_;
    HKEY current_ = nullptr;
};

// A top-level "HKCR" block as per-user registration runs it: inside the
// blocks of "HKCU", "Software" and "Classes".
void RegisterPerUserClasses(const std::function<void(RegisterLevel&)>& block)
{
    RegisterLevel user(HKEY_CURRENT_USER);
    RegisterLevel software(user.Key(L"Software"));
    RegisterLevel classes(software.Key(L"Classes"));
    block(classes);
}

// One key entry in unregister mode, around its block.
void Remove(HKEY parent, const wchar_t* name, bool removable, const std::function<void(HKEY)>& block)
{
    RemoveLikeTheEngine(parent, name, removable, block);
}

void Remove(HKEY parent, const wchar_t* name)
{
    Remove(parent, name, kRemovable, [](HKEY) {});
}

void UnregisterPerUserClasses(const std::function<void(HKEY)>& block)
{
    Remove(HKEY_CURRENT_USER, L"Software", kRemovable,
           [&](HKEY software) { Remove(software, L"Classes", kRemovable, block); });
}

// The plain program: what the library's two scripts and its type-library
// steps call, written out.
class DirectCalls {
public:
    explicit DirectCalls(const std::wstring& dllPath) : dllPath_(dllPath)
    {
        HMODULE automation = GetModuleHandleW(L"OLEAUT32.DLL");
        FARPROC registerForUser = GetProcAddress(automation, "RegisterTypeLibForUser");
        FARPROC unregisterForUser = GetProcAddress(automation, "UnRegisterTypeLibForUser");
        registerTypeLib_ = registerForUser ? reinterpret_cast<RegisterTypeLibFunction>(
                                                 reinterpret_cast<void*>(registerForUser))
                                           : &RegisterTypeLib;
        unregisterTypeLib_ = unregisterForUser ? reinterpret_cast<UnregisterTypeLibFunction>(
                                                     reinterpret_cast<void*>(unregisterForUser))
                                               : &UnRegisterTypeLib;
    }

    void Register() const
    {
        RegisterAppIdScript();
        RegisterClassScript();
        RegisterTypeLibrary();
    }

    void Unregister() const
    {
        UnregisterClassScript();
        UnregisterTypeLibrary();
        UnregisterAppIdScript();
    }

private:
    void RegisterAppIdScript() const
    {
        RegisterPerUserClasses([](RegisterLevel& classes) {
            RegisterLevel appIds(classes.Key(L"AppID"));
            appIds.Key(trevik::kAppIdText, L"trevik");
            RegisterLevel module(appIds.Key(L"trevik.DLL"));
            module.Value(L"AppID", trevik::kAppIdText);
        });
    }

    void RegisterClassScript() const
    {
        RegisterPerUserClasses([this](RegisterLevel& classes) {
            {
                RegisterLevel versioned(classes.Key(kVersionedProgId, kClassName));
                versioned.Key(L"CLSID", trevik::kClsidText);
            }
            {
                RegisterLevel independent(classes.Key(kProgId, kClassName));
                independent.Key(L"CLSID", trevik::kClsidText);
                independent.Key(L"CurVer", kVersionedProgId);
            }
            RegisterLevel classIds(classes.Key(L"CLSID"));
            classIds.RemoveTree(trevik::kClsidText);
            RegisterLevel classKey(classIds.Key(trevik::kClsidText, kClassName));
            classKey.Key(L"ProgID", kVersionedProgId);
            classKey.Key(L"VersionIndependentProgID", kProgId);
            classKey.RemoveTree(L"Programmable");
            classKey.Key(L"Programmable");
            {
                RegisterLevel server(classKey.Key(L"InprocServer32", dllPath_));
                server.Value(L"ThreadingModel", L"Apartment");
            }
            classKey.Key(L"TypeLib", trevik::kLibidText);
        });
    }

    // The library's type library names no help file, so no help directory
    // is passed.
    void RegisterTypeLibrary() const
    {
        trevik::ComPtr<ITypeLib> library;
        if (FAILED(LoadTypeLib(dllPath_.c_str(), library.Receive())))
            return;
        trevik::BString helpFile;
        library->GetDocumentation(-1, nullptr, nullptr, nullptr, helpFile.Receive());
        registerTypeLib_(library.Get(), const_cast<LPOLESTR>(dllPath_.c_str()), nullptr);
    }

    void UnregisterClassScript() const
    {
        UnregisterPerUserClasses([](HKEY classes) {
            Remove(classes, kVersionedProgId, kRemovable, [](HKEY versioned) { Remove(versioned, L"CLSID"); });
            Remove(classes, kProgId, kRemovable, [](HKEY independent) {
                Remove(independent, L"CLSID");
                Remove(independent, L"CurVer");
            });
            Remove(classes, L"CLSID", kNoRemove, [](HKEY classIds) {
                Remove(classIds, trevik::kClsidText, kRemovable, [](HKEY classKey) {
                    Remove(classKey, L"ProgID");
                    Remove(classKey, L"VersionIndependentProgID");
                    Remove(classKey, L"Programmable");
                    Remove(classKey, L"InprocServer32", kRemovable,
                           [](HKEY server) { DeleteValueLikeTheEngine(server, L"ThreadingModel"); });
                    Remove(classKey, L"TypeLib");
                });
            });
        });
    }

    void UnregisterTypeLibrary() const
    {
        trevik::ComPtr<ITypeLib> library;
        if (FAILED(LoadTypeLib(dllPath_.c_str(), library.Receive())))
            return;
        TLIBATTR* attributes = nullptr;
        if (FAILED(library->GetLibAttr(&attributes)))
            return;
        unregisterTypeLib_(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum, attributes->lcid,
                           attributes->syskind);
        library->ReleaseTLibAttr(attributes);
    }

    void UnregisterAppIdScript() const
    {
        UnregisterPerUserClasses([](HKEY classes) {
            Remove(classes, L"AppID", kNoRemove, [](HKEY appIds) {
                Remove(appIds, trevik::kAppIdText);
                Remove(appIds, L"trevik.DLL", kRemovable, [](HKEY module) { DeleteValueLikeTheEngine(module, L"AppID"); });
            });
        });
    }

    const std::wstring dllPath_;
    RegisterTypeLibFunction registerTypeLib_;
    UnregisterTypeLibFunction unregisterTypeLib_;
};

bool KeyExists(HKEY root, const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::wstring StringValue(const std::wstring& path, const wchar_t* name)
{
    wchar_t text[trevik::kMaxPathUnits] = {};
    DWORD bytes = sizeof(text);
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &bytes) != ERROR_SUCCESS)
        return {};
    return text;
}

// A few entries from each step of the registration.
bool Registered(const std::wstring& dllPath)
{
    return StringValue(kClassesPath + L"AppID\\trevik.DLL", L"AppID") == trevik::kAppIdText &&
           StringValue(kClassKeyPath + L"\\InprocServer32", nullptr) == dllPath &&
           StringValue(kClassKeyPath + L"\\InprocServer32", L"ThreadingModel") == L"Apartment" &&
           StringValue(kClassKeyPath + L"\\TypeLib", nullptr) == trevik::kLibidText &&
           KeyExists(HKEY_CLASSES_ROOT, kTypeLibKeyPath);
}

bool Unregistered()
{
    return !KeyExists(HKEY_CURRENT_USER, kClassesPath + L"AppID\\" + trevik::kAppIdText) &&
           !KeyExists(HKEY_CURRENT_USER, kClassesPath + kProgId) && !KeyExists(HKEY_CURRENT_USER, kClassKeyPath) &&
           !KeyExists(HKEY_CLASSES_ROOT, kTypeLibKeyPath) && KeyExists(HKEY_CURRENT_USER, kClassesPath + L"CLSID");
}

struct Way {
    const char* name;
    std::function<void()> registerAll;
    std::function<void()> unregisterAll;
    std::vector<double> registerTimes;
    std::vector<double> unregisterTimes;
    std::vector<double> cycleTimes;
};

double Timed(const std::function<void()>& step)
{
    double start = Now();
    step();
    return Now() - start;
}

// kCyclesPerRound cycles of one way; the registry state is checked after
// every step, outside the timing.
void RunRound(Way& way, const std::wstring& dllPath, bool measured)
{
    double registering = 0, unregistering = 0;
    for (int cycle = 0; cycle < kCyclesPerRound; ++cycle) {
        registering += Timed(way.registerAll);
        if (!Registered(dllPath))
            std::printf("warning: %s did not leave the registered entries\n", way.name);
        unregistering += Timed(way.unregisterAll);
        if (!Unregistered())
            std::printf("warning: %s did not remove the registered entries\n", way.name);
    }
    if (!measured)
        return;
    way.registerTimes.push_back(registering / kCyclesPerRound);
    way.unregisterTimes.push_back(unregistering / kCyclesPerRound);
    way.cycleTimes.push_back((registering + unregistering) / kCyclesPerRound);
}

int Run(const std::wstring& requestedPath)
{
    HMODULE library = LoadLibraryW(requestedPath.c_str());
    if (!library) {
        std::printf("cannot load %ls: error %lu\n", requestedPath.c_str(), GetLastError());
        return 2;
    }
    auto registerServer =
        reinterpret_cast<RegistrationExport>(reinterpret_cast<void*>(GetProcAddress(library, "DllRegisterServer")));
    auto unregisterServer =
        reinterpret_cast<RegistrationExport>(reinterpret_cast<void*>(GetProcAddress(library, "DllUnregisterServer")));
    // The path the library writes as its server is the one its module reports.
    wchar_t modulePath[trevik::kMaxPathUnits];
    GetModuleFileNameW(library, modulePath, trevik::kMaxPathUnits);
    const std::wstring dllPath = modulePath;
    DirectCalls direct(dllPath);

    auto report = [](const char* what, HRESULT hr) {
        if (FAILED(hr))
            std::printf("warning: %s failed with 0x%08lx\n", what, static_cast<unsigned long>(hr));
    };
    Way ways[] = {
        {"trevik.dll", [&] { report("DllRegisterServer", registerServer()); },
         [&] { report("DllUnregisterServer", unregisterServer()); }, {}, {}, {}},
        {"same calls", [&] { direct.Register(); }, [&] { direct.Unregister(); }, {}, {}, {}},
    };
    constexpr int kWays = sizeof(ways) / sizeof(ways[0]);
    for (int round = 0; round <= kRounds; ++round)
        for (int i = 0; i < kWays; ++i)
            RunRound(ways[(round + i) % kWays], dllPath, round > 0);
    FreeLibrary(library);

    const Way& server = ways[0];
    const Way& plain = ways[1];
    double ratio = Best(server.cycleTimes) / Best(plain.cycleTimes);
    std::printf("registration of %ls\n", dllPath.c_str());
    std::printf("per user: classes under HKEY_CURRENT_USER\\Software\\Classes (the path measured; Wine does not merge\n"
                "it into HKEY_CLASSES_ROOT and registers the type library machine-wide)\n");
    std::printf("per cycle, best of %d rounds of %d cycles:\n", kRounds, kCyclesPerRound);
    std::printf("  register:   trevik.dll %7.2f ms, same calls directly %7.2f ms, ratio %.3f\n",
                Best(server.registerTimes) * 1e3, Best(plain.registerTimes) * 1e3,
                Best(server.registerTimes) / Best(plain.registerTimes));
    std::printf("  unregister: trevik.dll %7.2f ms, same calls directly %7.2f ms, ratio %.3f\n",
                Best(server.unregisterTimes) * 1e3, Best(plain.unregisterTimes) * 1e3,
                Best(server.unregisterTimes) / Best(plain.unregisterTimes));
    std::printf("  cycle:      trevik.dll %7.2f ms, same calls directly %7.2f ms, ratio %.3f  (target %.2f) %s\n",
                Best(server.cycleTimes) * 1e3, Best(plain.cycleTimes) * 1e3, ratio, kTarget,
                ratio <= kTarget ? "met" : "MISSED");
    return ratio <= kTarget ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    return Run(argc > 1 ? argv[1] : BuiltDllPath());
}
