// Descriptions borrowed from a type information object (its type attributes,
// one function's description), handed back to it on every path.
#pragma once
#include <oaidl.h>

namespace trevik {

class TypeAttributes {
public:
    // Holds nothing when the type information cannot give its attributes.
    explicit TypeAttributes(ITypeInfo* typeInfo) noexcept : typeInfo_(typeInfo)
    {
        if (FAILED(typeInfo_->GetTypeAttr(&attributes_)))
            attributes_ = nullptr;
    }
    TypeAttributes(const TypeAttributes&) = delete;
    TypeAttributes& operator=(const TypeAttributes&) = delete;
    ~TypeAttributes()
    {
        if (attributes_)
            typeInfo_->ReleaseTypeAttr(attributes_);
    }

    explicit operator bool() const noexcept { return attributes_ != nullptr; }
    const TYPEATTR* operator->() const noexcept { return attributes_; }

private:
    ITypeInfo* typeInfo_;
    TYPEATTR* attributes_ = nullptr;
};

class FunctionDescription {
public:
    // Holds nothing when the type information cannot describe function `index`.
    FunctionDescription(ITypeInfo* typeInfo, UINT index) noexcept : typeInfo_(typeInfo)
    {
        if (FAILED(typeInfo_->GetFuncDesc(index, &description_)))
            description_ = nullptr;
    }
    FunctionDescription(const FunctionDescription&) = delete;
    FunctionDescription& operator=(const FunctionDescription&) = delete;
    ~FunctionDescription()
    {
        if (description_)
            typeInfo_->ReleaseFuncDesc(description_);
    }

    explicit operator bool() const noexcept { return description_ != nullptr; }
    const FUNCDESC* operator->() const noexcept { return description_; }

private:
    ITypeInfo* typeInfo_;
    FUNCDESC* description_ = nullptr;
};

}  // namespace trevik
