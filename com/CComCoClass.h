// Binds an object class to its class identifier.
#pragma once
#include <windows.h>

namespace trevik {

template <class T, const CLSID* ClassId>
class CComCoClass {
public:
    static constexpr const CLSID* classId = ClassId;
};

}  // namespace trevik
