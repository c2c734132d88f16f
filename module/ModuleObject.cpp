#include "module/ModuleObject.h"

#include <atomic>
#include <memory>

#include "platform/Allocation.h"

namespace trevik {
namespace {

// Constant-initialised, so both are off before the first record is built.
bool loadFailed = false;
// Every write stores true, so relaxed order is enough.
std::atomic<bool> perUserRegistration{false};

// The platform's global interface table, {00000323-0000-0000-C000-000000000046}.
const CLSID kGlobalInterfaceTableClass = {0x00000323, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

}  // namespace

bool LoadFailed() noexcept
{
    return loadFailed;
}

void SetLoadFailed() noexcept
{
    loadFailed = true;
}

bool PerUserRegistration()
{
    return perUserRegistration.load(std::memory_order_relaxed);
}

void EnablePerUserRegistration()
{
    perUserRegistration.store(true, std::memory_order_relaxed);
}

GUID CAtlModule::typeLibraryId = {};

CAtlModule::CAtlModule(ComModuleRecord* objectMap) noexcept : objectMap(objectMap)
{
    globalModule = this;
    if (FAILED(staticDataSection.Setup()))
        SetLoadFailed();
    else
        sizeMarker = sizeof(_ATL_MODULE70);
}

CAtlModule::~CAtlModule()
{
    Terminate();
}

LONG CAtlModule::LockModule() noexcept
{
    return InterlockedIncrement(&lockCount);
}

LONG CAtlModule::UnlockModule() noexcept
{
    return InterlockedDecrement(&lockCount);
}

LONG CAtlModule::QueryLockCount() noexcept
{
    // Other threads change the count meanwhile: one atomic read, no barrier.
    return __atomic_load_n(&lockCount, __ATOMIC_RELAXED);
}

HRESULT CAtlModule::GetGlobalInterfaceTable(IGlobalInterfaceTable** out) noexcept
{
    if (!out)
        return E_POINTER;
    HRESULT hr = S_OK;
    if (!globalInterfaceTable) {
        hr = CoCreateInstance(kGlobalInterfaceTableClass, nullptr, CLSCTX_INPROC_SERVER,
                              __uuidof(IGlobalInterfaceTable), reinterpret_cast<void**>(&globalInterfaceTable));
        if (FAILED(hr))
            return hr;
    }
    *out = globalInterfaceTable;
    globalInterfaceTable->AddRef();
    return hr;
}

void CAtlModule::Terminate() noexcept
{
    objectMap->NotifyEntries(false);
    if (sizeMarker == 0)
        return;
    RunTerminationCallbacks();
    if (globalInterfaceTable) {
        globalInterfaceTable->Release();
        globalInterfaceTable = nullptr;
    }
    staticDataSection.Destroy();
    sizeMarker = 0;
}

void CAtlModule::RunTerminationCallbacks() noexcept
{
    // Unload runs when no other thread is inside the library: no lock.
    while (terminationList) {
        std::unique_ptr<TerminationNode> node(terminationList);
        node->callback(node->argument);
        terminationList = node->next;
    }
}

HRESULT AddTerminationCallback(_ATL_MODULE70* record, TerminationCallback callback, void* argument) noexcept
{
    if (!record)
        return E_INVALIDARG;
    if (record->sizeMarker == 0)
        return E_UNEXPECTED;
    TerminationNode* node = NewObject<TerminationNode>(TerminationNode{callback, argument, nullptr});
    if (!node)
        return E_OUTOFMEMORY;
    CriticalSectionLock lock(record->staticDataSection);
    node->next = record->terminationList;
    record->terminationList = node;
    return S_OK;
}

HRESULT PutModuleReplacements(IRegistrarBase* registrar)
{
    if (!globalModule)
        return E_UNEXPECTED;
    return globalModule->AddCommonReplacements(registrar);
}

HRESULT CtrevikModule::AddCommonReplacements(IRegistrarBase* registrar)
{
    return registrar->PutReplacement(L"APPID", kAppIdText);
}

}  // namespace trevik
