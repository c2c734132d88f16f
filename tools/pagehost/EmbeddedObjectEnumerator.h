// Enumerates the objects a page embedded when the enumerator was made. It
// holds a reference to each of them; the page keeps nothing of it.
#pragma once
#include <objidl.h>

#include <vector>

#include "ServerObject.h"

namespace pagehost {

using EmbeddedObjects = std::vector<ComPtr<IUnknown>>;

class EmbeddedObjectEnumerator : public ServerObject<IEnumUnknown> {
public:
    EmbeddedObjectEnumerator(EmbeddedObjects objects, size_t next);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE Next(ULONG wanted, IUnknown** table, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumUnknown** clone) override;

private:
    EmbeddedObjects objects_;
    size_t next_;
};

}  // namespace pagehost
