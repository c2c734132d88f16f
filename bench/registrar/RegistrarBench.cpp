// Measures the registry script engine side by side with plain programs:
//   - registering and unregistering a generated script of 10,000 keys with
//     values, against the same registry calls made directly in the same
//     order (the engine's own overhead) and against the fewest calls that
//     make and remove the same keys;
//   - expansion plus tokenizing alone, on scripts of 100 KB and 1 MB.
// Prints ratios; each figure is the best of several rounds in turning order.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "EngineRegistryCalls.h"
#include "registrar/ExpandScript.h"
#include "registrar/RegScriptParser.h"
#include "registrar/ReplacementMap.h"
#include "registrar/RunScript.h"

namespace {

using bench::Best;
using bench::DeleteValueLikeTheEngine;
using bench::Now;
using bench::OpenOrCreateLikeTheEngine;
using bench::RemoveLikeTheEngine;
using bench::SetString;

constexpr int kGroups = 100;
constexpr int kKeysPerGroup = 100;
constexpr int kRounds = 9;
constexpr DWORD kNumber = 123;
const wchar_t kBenchKey[] = L"trevik-bench";
const wchar_t kBenchPath[] = L"Software\\trevik-bench";



std::wstring GroupName(int g)
{
    return L"group" + std::to_wstring(g);
}

std::wstring KeyName(int k)
{
    return L"key" + std::to_wstring(k);
}

std::wstring KeyValue(int g, int k)
{
    return L"value " + std::to_wstring(g) + L"." + std::to_wstring(k);
}

// HKCU\Software\trevik-bench with kGroups groups of kKeysPerGroup keys; every
// key has a default text and a number.
std::wstring RegistrationScript()
{
    std::wstring script = L"HKCU\r\n{\r\n\tNoRemove Software\r\n\t{\r\n\t\ttrevik-bench\r\n\t\t{\r\n";
    for (int g = 0; g < kGroups; ++g) {
        script += L"\t\t\t" + GroupName(g) + L" = s '" + GroupName(g) + L"'\r\n\t\t\t{\r\n";
        for (int k = 0; k < kKeysPerGroup; ++k)
            script += L"\t\t\t\t" + KeyName(k) + L" = s '" + KeyValue(g, k) + L"'\r\n\t\t\t\t{\r\n\t\t\t\t\tval Number = d " +
                      std::to_wstring(kNumber) + L"\r\n\t\t\t\t}\r\n";
        script += L"\t\t\t}\r\n";
    }
    return script + L"\t\t}\r\n\t}\r\n}\r\n";
}

void SetNumber(HKEY key, const wchar_t* name)
{
    DWORD number = kNumber;
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
}

void RegisterDirectly()
{
    HKEY software = OpenOrCreateLikeTheEngine(HKEY_CURRENT_USER, L"Software", nullptr);
    HKEY bench = OpenOrCreateLikeTheEngine(software, kBenchKey, nullptr);
    HKEY group = nullptr;
    for (int g = 0; g < kGroups; ++g) {
        group = OpenOrCreateLikeTheEngine(bench, GroupName(g).c_str(), group);
        SetString(group, nullptr, GroupName(g));
        HKEY key = nullptr;
        for (int k = 0; k < kKeysPerGroup; ++k) {
            key = OpenOrCreateLikeTheEngine(group, KeyName(k).c_str(), key);
            SetString(key, nullptr, KeyValue(g, k));
            SetNumber(key, L"Number");
        }
        RegCloseKey(key);
    }
    RegCloseKey(group);
    RegCloseKey(bench);
    RegCloseKey(software);
}

void UnregisterDirectly()
{
    RemoveLikeTheEngine(HKEY_CURRENT_USER, L"Software", false, [](HKEY software) {
        RemoveLikeTheEngine(software, kBenchKey, true, [](HKEY bench) {
            for (int g = 0; g < kGroups; ++g)
                RemoveLikeTheEngine(bench, GroupName(g).c_str(), true, [](HKEY group) {
                    for (int k = 0; k < kKeysPerGroup; ++k)
                        RemoveLikeTheEngine(group, KeyName(k).c_str(), true,
                                            [](HKEY key) { DeleteValueLikeTheEngine(key, L"Number"); });
                });
        });
    });
}

HKEY Create(HKEY parent, const wchar_t* name)
{
    HKEY key = nullptr;
    RegCreateKeyExW(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key, nullptr);
    return key;
}

void RegisterWithFewestCalls()
{
    HKEY bench = Create(HKEY_CURRENT_USER, kBenchPath);
    for (int g = 0; g < kGroups; ++g) {
        HKEY group = Create(bench, GroupName(g).c_str());
        SetString(group, nullptr, GroupName(g));
        for (int k = 0; k < kKeysPerGroup; ++k) {
            HKEY key = Create(group, KeyName(k).c_str());
            SetString(key, nullptr, KeyValue(g, k));
            SetNumber(key, L"Number");
            RegCloseKey(key);
        }
        RegCloseKey(group);
    }
    RegCloseKey(bench);
}

// One deletion per key, deepest first; values go with their keys.
void UnregisterWithFewestCalls()
{
    for (int g = 0; g < kGroups; ++g) {
        std::wstring group = std::wstring(kBenchPath) + L"\\" + GroupName(g);
        for (int k = 0; k < kKeysPerGroup; ++k)
            RegDeleteKeyExW(HKEY_CURRENT_USER, (group + L"\\" + KeyName(k)).c_str(), 0, 0);
        RegDeleteKeyExW(HKEY_CURRENT_USER, group.c_str(), 0, 0);
    }
    RegDeleteKeyExW(HKEY_CURRENT_USER, kBenchPath, 0, 0);
}

bool Registered()
{
    std::wstring last = std::wstring(kBenchPath) + L"\\" + GroupName(kGroups - 1) + L"\\" + KeyName(kKeysPerGroup - 1);
    DWORD number = 0, bytes = sizeof(number);
    return RegGetValueW(HKEY_CURRENT_USER, last.c_str(), L"Number", RRF_RT_REG_DWORD, nullptr, &number, &bytes) ==
               ERROR_SUCCESS &&
           number == kNumber;
}

bool Unregistered()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kBenchPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return true;
    RegCloseKey(key);
    return false;
}

double Time(const std::function<void()>& run, bool (*check)(), const char* what)
{
    double start = Now();
    run();
    double seconds = Now() - start;
    if (!check())
        std::printf("warning: %s did not leave the expected registry state\n", what);
    return seconds;
}

void BenchRegistration()
{
    std::wstring script = RegistrationScript();
    trevik::CReplacementMap replacements;
    auto engine = [&](bool registering) {
        trevik::CRegScriptParser parser(replacements);
        HRESULT hr = trevik::RunScript(parser, script.c_str(), registering);
        if (FAILED(hr))
            std::printf("warning: the engine failed with 0x%08lx\n", static_cast<unsigned long>(hr));
    };

    // Each way registers and then unregisters; the order of the ways turns
    // round by round, and a first round warms the registry up unmeasured.
    struct Way {
        const char* name;
        std::function<void()> registerAll;
        std::function<void()> unregisterAll;
        std::vector<double> registerTimes;
        std::vector<double> unregisterTimes;
    };
    Way ways[] = {
        {"engine", [&] { engine(true); }, [&] { engine(false); }, {}, {}},
        {"same calls", RegisterDirectly, UnregisterDirectly, {}, {}},
        {"fewest calls", RegisterWithFewestCalls, UnregisterWithFewestCalls, {}, {}},
    };
    RegDeleteTreeW(HKEY_CURRENT_USER, kBenchPath);
    for (int round = 0; round <= kRounds; ++round) {
        for (int i = 0; i < 3; ++i) {
            Way& way = ways[(round + i) % 3];
            double registering = Time(way.registerAll, Registered, way.name);
            double unregistering = Time(way.unregisterAll, Unregistered, way.name);
            if (round == 0)
                continue;
            way.registerTimes.push_back(registering);
            way.unregisterTimes.push_back(unregistering);
        }
    }
    std::vector<double>& engineRegister = ways[0].registerTimes;
    std::vector<double>& engineUnregister = ways[0].unregisterTimes;
    std::vector<double>& directRegister = ways[1].registerTimes;
    std::vector<double>& directUnregister = ways[1].unregisterTimes;
    std::vector<double>& fewestRegister = ways[2].registerTimes;
    std::vector<double>& fewestUnregister = ways[2].unregisterTimes;
    RegDeleteTreeW(HKEY_CURRENT_USER, kBenchPath);

    std::printf("script of %d keys with values, %zu units; best of %d rounds\n", kGroups * (kKeysPerGroup + 1) + 1,
                script.size(), kRounds);
    std::printf("  register:   engine %8.1f ms, same calls directly %8.1f ms, fewest calls %8.1f ms\n",
                Best(engineRegister) * 1e3, Best(directRegister) * 1e3, Best(fewestRegister) * 1e3);
    std::printf("  unregister: engine %8.1f ms, same calls directly %8.1f ms, fewest calls %8.1f ms\n",
                Best(engineUnregister) * 1e3, Best(directUnregister) * 1e3, Best(fewestUnregister) * 1e3);
    std::printf("  register   engine / same calls:   %.3f  (target 1.15)\n",
                Best(engineRegister) / Best(directRegister));
    std::printf("  unregister engine / same calls:   %.3f  (target 1.15)\n",
                Best(engineUnregister) / Best(directUnregister));
    std::printf("  register   engine / fewest calls: %.3f\n", Best(engineRegister) / Best(fewestRegister));
    std::printf("  unregister engine / fewest calls: %.3f\n", Best(engineUnregister) / Best(fewestUnregister));
}

// A script of exactly `units` units: key entries with references to
// replacements, closed by blanks.
std::wstring ScriptOfSize(size_t units)
{
    std::wstring script = L"HKCR\r\n{\r\n";
    const std::wstring closing = L"}\r\n";
    for (int k = 0; script.size() + 200 + closing.size() < units; ++k)
        script += L"\t'key " + std::to_wstring(k) + L"' = s '%MODULE%'\r\n\t{\r\n\t\tval AppID = s '%APPID%'\r\n"
                  L"\t\tval Percent = s '100%%'\r\n\t}\r\n";
    script.append(units - script.size() - closing.size(), L' ');
    return script + closing;
}

// Expansion and the reading of every token, without registry calls.
double ExpandAndTokenize(const std::wstring& script, const trevik::CReplacementMap& replacements)
{
    double start = Now();
    trevik::CRegScriptParser parser(replacements);
    LPWSTR expanded = nullptr;
    if (FAILED(trevik::ExpandScript(parser, script.c_str(), &expanded)))
        std::printf("warning: expansion failed\n");
    parser.SetPosition(expanded);
    static trevik::Token token;
    size_t tokens = 0;
    for (;;) {
        parser.SkipBlanks();
        if (*parser.Position() == L'\0' || FAILED(parser.ReadToken(token)))
            break;
        ++tokens;
    }
    CoTaskMemFree(expanded);
    double seconds = Now() - start;
    if (tokens == 0)
        std::printf("warning: no tokens read\n");
    return seconds;
}

void BenchExpansion()
{
    trevik::CReplacementMap replacements;
    replacements.AddPair(L"APPID", L"{0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F9}");
    replacements.AddPair(L"Module", L"C:\\Program Files\\trevik\\trevik.dll");
    std::wstring small = ScriptOfSize(100 * 1024);
    std::wstring large = ScriptOfSize(1024 * 1024);

    std::vector<double> smallTimes, largeTimes;
    for (int round = 0; round < 3 * kRounds; ++round) {
        smallTimes.push_back(ExpandAndTokenize(small, replacements));
        largeTimes.push_back(ExpandAndTokenize(large, replacements));
    }
    double ratio = Best(largeTimes) / Best(smallTimes);
    std::printf("expansion and tokenizing: 100 KB %.2f ms, 1 MB %.2f ms; best of %d rounds\n",
                Best(smallTimes) * 1e3, Best(largeTimes) * 1e3, 3 * kRounds);
    std::printf("  1 MB / 100 KB: %.2f  (target 11, sizes %.2fx)\n", ratio,
                static_cast<double>(large.size()) / static_cast<double>(small.size()));
}

}  // namespace

int main()
{
    BenchRegistration();
    BenchExpansion();
    return 0;
}
