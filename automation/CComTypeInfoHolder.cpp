#include "automation/CComTypeInfoHolder.h"

#include <cwchar>

#include "platform/Allocation.h"
#include "platform/ComPtr.h"
#include "platform/ModuleFileName.h"
#include "platform/TypeDescriptions.h"

namespace trevik {
namespace {

// When the type information also answers ITypeInfo2 from another object, the
// ITypeInfo that object gives is the one kept.
ComPtr<ITypeInfo> PreferredTypeInfo(ComPtr<ITypeInfo> info)
{
    ComPtr<ITypeInfo2> info2;
    if (FAILED(info2.QueryFrom(info.Get(), __uuidof(ITypeInfo2))))
        return info;
    ComPtr<IUnknown> identity, identity2;
    identity.QueryFrom(info.Get(), __uuidof(IUnknown));
    identity2.QueryFrom(info2.Get(), __uuidof(IUnknown));
    ComPtr<ITypeInfo> fromInfo2;
    if (identity.Get() == identity2.Get() || FAILED(fromInfo2.QueryFrom(info2.Get(), __uuidof(ITypeInfo))))
        return info;
    return fromInfo2;
}

void FillNameCacheEntry(ITypeInfo* typeInfo, UINT index, NameCacheEntry& entry)
{
    FunctionDescription function(FunctionDescriptionTraits{typeInfo});
    if (FAILED(typeInfo->GetFuncDesc(index, function.Receive())))
        function.ReleaseOwnership();  // a failed call hands out nothing
    if (!function)
        return;
    BString name;
    if (FAILED(typeInfo->GetDocumentation(function->memid, name.Receive(), nullptr, nullptr, nullptr)))
        return;
    entry.length = static_cast<int>(name.Length());
    entry.name = std::move(name);
    entry.id = function->memid;
}

}  // namespace

HRESULT CComTypeInfoHolder::GetTypeInfoCount(UINT* count) noexcept
{
    if (!count)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT CComTypeInfoHolder::GetTypeInfo(UINT index, LCID locale, ITypeInfo** out) noexcept
{
    if (index != 0)
        return DISP_E_BADINDEX;
    if (!out)
        return E_POINTER;
    HRESULT hr = S_OK;
    if (!typeInfo.load(std::memory_order_acquire))
        hr = LoadTypeInfo(locale);
    ITypeInfo* info = typeInfo.load(std::memory_order_acquire);
    *out = info;
    if (!info)
        return hr;
    info->AddRef();
    return S_OK;
}

HRESULT CComTypeInfoHolder::GetIDsOfNames(LPOLESTR* names, UINT count, LCID locale, DISPID* ids) noexcept
{
    if (!names || !ids)
        return E_INVALIDARG;
    HRESULT hr = S_OK;
    ITypeInfo* info = ReadyTypeInfo(locale, hr);
    if (!info)
        return hr;
    if (count == 1 && FindInNameCache(names[0], ids))
        return S_OK;
    return info->GetIDsOfNames(names, count, ids);
}

HRESULT CComTypeInfoHolder::Invoke(IDispatch* instance, DISPID id, LCID locale, WORD flags, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argumentError) noexcept
{
    HRESULT hr = S_OK;
    ITypeInfo* info = ReadyTypeInfo(locale, hr);
    if (!info)
        return hr;
    return info->Invoke(instance, id, flags, parameters, result, exception, argumentError);
}

HRESULT CComTypeInfoHolder::LoadTypeInfo(LCID locale) noexcept
{
    return LoadTypeInfo(locale, ServingModule());
}

HRESULT CComTypeInfoHolder::LoadTypeInfo(LCID locale, IServingModule& module) noexcept
{
    if (IsReady())
        return S_OK;
    CriticalSectionLock lock(module.StaticDataSection());
    HRESULT hr = S_OK;
    if (!typeInfo.load(std::memory_order_acquire)) {
        ComPtr<ITypeLib> library;
        hr = LoadTypeLibrary(locale, module, library.Receive());
        if (SUCCEEDED(hr))
            hr = KeepTypeInfo(library.Get(), module);
    }
    ITypeInfo* info = typeInfo.load(std::memory_order_acquire);
    if (info && !nameCache.load(std::memory_order_acquire))
        hr = BuildNameCache(info);
    return hr;
}

HRESULT CComTypeInfoHolder::BuildNameCache(ITypeInfo* info) noexcept
{
    TypeAttributes attributes(TypeAttributesTraits{info});
    if (FAILED(info->GetTypeAttr(attributes.Receive())))
        attributes.ReleaseOwnership();  // a failed call hands out nothing
    if (!attributes)
        return S_OK;
    entryCount = attributes->cFuncs;
    if (entryCount == 0)
        return S_OK;
    NameCacheEntry* entries = NewArray<NameCacheEntry>(entryCount);
    if (!entries)
        return E_OUTOFMEMORY;
    for (int i = 0; i < entryCount; ++i)
        FillNameCacheEntry(info, i, entries[i]);
    nameCache.store(entries, std::memory_order_release);
    return S_OK;
}

void CComTypeInfoHolder::ReleaseTypeInfo(void* holder) noexcept
{
    if (!holder)
        return;
    auto* self = static_cast<CComTypeInfoHolder*>(holder);
    if (ITypeInfo* info = self->typeInfo.exchange(nullptr))
        info->Release();
    delete[] self->nameCache.exchange(nullptr);
}

ITypeInfo* CComTypeInfoHolder::ReadyTypeInfo(LCID locale, HRESULT& loadResult) noexcept
{
    if (!IsReady())
        loadResult = LoadTypeInfo(locale);
    return typeInfo.load(std::memory_order_acquire);
}

bool CComTypeInfoHolder::IsReady() const noexcept
{
    return typeInfo.load(std::memory_order_acquire) && nameCache.load(std::memory_order_acquire);
}

HRESULT CComTypeInfoHolder::LoadTypeLibrary(LCID locale, IServingModule& module, ITypeLib** library) noexcept
{
    bool fromModuleFile = IsEqualGUID(*libraryId, module.TypeLibraryId()) &&
                          majorVersion == kTypeLibraryFromModuleVersion &&
                          minorVersion == kTypeLibraryFromModuleVersion;
    if (!fromModuleFile)
        return LoadRegTypeLib(*libraryId, majorVersion, minorVersion, locale, library);
    wchar_t path[kMaxPathUnits];
    if (FAILED(ReadModuleFileName(module.ModuleFile(), path)))
        return E_FAIL;
    return LoadTypeLib(path, library);
}

HRESULT CComTypeInfoHolder::KeepTypeInfo(ITypeLib* library, IServingModule& module) noexcept
{
    ComPtr<ITypeInfo> info;
    HRESULT hr = library->GetTypeInfoOfGuid(*iid, info.Receive());
    if (FAILED(hr))
        return hr;
    typeInfo.store(PreferredTypeInfo(std::move(info)).Detach(), std::memory_order_release);
    module.AtTermination(&CComTypeInfoHolder::ReleaseTypeInfo, this);
    return hr;
}

bool CComTypeInfoHolder::FindInNameCache(LPCOLESTR name, DISPID* id) const noexcept
{
    const NameCacheEntry* cache = nameCache.load(std::memory_order_acquire);
    if (!cache || !name)
        return false;
    int length = static_cast<int>(std::wcslen(name));
    for (int i = entryCount - 1; i >= 0; --i) {
        const NameCacheEntry& entry = cache[i];
        // An entry whose name could not be read matches nothing.
        if (entry.length == length && entry.name.Get() && std::wmemcmp(entry.name.Get(), name, length) == 0) {
            *id = entry.id;
            return true;
        }
    }
    return false;
}

}  // namespace trevik
