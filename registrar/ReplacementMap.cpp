#include "registrar/ReplacementMap.h"

#include <new>

#include "platform/FaultInjection.h"

namespace trevik {

bool CReplacementMap::AddPair(LPCWSTR name, LPCWSTR value) noexcept
{
    if (!name || !value)
        return false;
    try {
        if (ShouldInjectFault(Fault::ReplacementStore))
            throw std::bad_alloc();
        Pair pair{name, value};
        pairs_.push_back(std::move(pair));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

LPCWSTR CReplacementMap::Lookup(LPCWSTR name) const
{
    for (const Pair& pair : pairs_)
        if (lstrcmpiW(pair.name.c_str(), name) == 0)
            return pair.value.c_str();
    return nullptr;
}

void CReplacementMap::ClearAll() noexcept
{
    std::vector<Pair>().swap(pairs_);
}

}  // namespace trevik
