#include "com/FindInterface.h"

namespace trevik {
namespace {

const InterfaceEntry* FindRow(const InterfaceEntry* table, REFIID iid)
{
    for (const InterfaceEntry* row = table; row->kind != kEndOfTable; ++row)
        if (IsEqualIID(*row->iid, iid))
            return row;
    return nullptr;
}

}  // namespace

HRESULT FindInterface(void* object, const InterfaceEntry* table, REFIID iid, void** out)
{
    if (!object || !table)
        return E_INVALIDARG;
    if (!out)
        return E_POINTER;
    *out = nullptr;

    const InterfaceEntry* row = IsEqualIID(iid, __uuidof(IUnknown)) ? table : FindRow(table, iid);
    if (!row)
        return E_NOINTERFACE;
    auto* found = reinterpret_cast<IUnknown*>(static_cast<char*>(object) + row->offset);
    found->AddRef();
    *out = found;
    return S_OK;
}

}  // namespace trevik
