#include "EmbeddedObjectEnumerator.h"

#include <algorithm>
#include <new>

namespace pagehost {

EmbeddedObjectEnumerator::EmbeddedObjectEnumerator(EmbeddedObjects objects, size_t next)
    : objects_(std::move(objects)), next_(next)
{
}

HRESULT EmbeddedObjectEnumerator::QueryInterface(REFIID iid, void** out)
{
    bool served = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IEnumUnknown);
    return Answer(served ? this : nullptr, out);
}

HRESULT EmbeddedObjectEnumerator::Next(ULONG wanted, IUnknown** table, ULONG* fetched)
{
    if (!table || (!fetched && wanted != 1))
        return E_POINTER;
    ULONG handedOut = 0;
    for (; handedOut < wanted && next_ < objects_.size(); ++handedOut)
        table[handedOut] = ComPtr<IUnknown>(objects_[next_++]).Detach();
    if (fetched)
        *fetched = handedOut;
    return handedOut == wanted ? S_OK : S_FALSE;
}

HRESULT EmbeddedObjectEnumerator::Skip(ULONG count)
{
    size_t skipped = std::min<size_t>(count, objects_.size() - next_);
    next_ += skipped;
    return skipped == count ? S_OK : S_FALSE;
}

HRESULT EmbeddedObjectEnumerator::Reset()
{
    next_ = 0;
    return S_OK;
}

HRESULT EmbeddedObjectEnumerator::Clone(IEnumUnknown** clone)
{
    if (!clone)
        return E_POINTER;
    *clone = nullptr;
    try {
        *clone = MakeObject<EmbeddedObjectEnumerator>(objects_, next_).Detach();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

}  // namespace pagehost
