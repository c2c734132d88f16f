// Descriptions borrowed from type information and type libraries (a type's
// attributes, one function's description, a library's attributes), each
// handed back to the object that gave it on every path. Each owner is made
// with that object and filled through Receive():
//   TypeAttributes attributes(TypeAttributesTraits{info});
//   info->GetTypeAttr(attributes.Receive());
#pragma once
#include <oaidl.h>

#include "platform/Owned.h"

namespace trevik {

// A `Description` that `owner` handed out and takes back through `GiveBack`.
template <class Owner, class Description, void (STDMETHODCALLTYPE Owner::*GiveBack)(Description*)>
struct BorrowedTraits {
    using Handle = Description*;
    static constexpr Description* kEmpty = nullptr;
    Owner* owner;
    void Release(Description* description) const noexcept { (owner->*GiveBack)(description); }
};

using TypeAttributesTraits = BorrowedTraits<ITypeInfo, TYPEATTR, &ITypeInfo::ReleaseTypeAttr>;
using TypeAttributes = Owned<TypeAttributesTraits>;

using FunctionDescriptionTraits = BorrowedTraits<ITypeInfo, FUNCDESC, &ITypeInfo::ReleaseFuncDesc>;
using FunctionDescription = Owned<FunctionDescriptionTraits>;

using LibraryAttributesTraits = BorrowedTraits<ITypeLib, TLIBATTR, &ITypeLib::ReleaseTLibAttr>;
using LibraryAttributes = Owned<LibraryAttributesTraits>;

}  // namespace trevik
