// Reference counting shared by the page doubles. Each double counts its
// references atomically and deletes itself at zero; tests read the count to
// check that every path gives back what it took.
#pragma once
#include <windows.h>
#include <unknwn.h>

namespace doubles {

class CountedObject {
public:
    CountedObject() = default;
    CountedObject(const CountedObject&) = delete;
    CountedObject& operator=(const CountedObject&) = delete;
    virtual ~CountedObject() = default;

    LONG RefCount() const { return refs_; }

protected:
    ULONG AddRefCount() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG ReleaseCount()
    {
        LONG refs = InterlockedDecrement(&refs_);
        if (refs == 0)
            delete this;
        return static_cast<ULONG>(refs);
    }

private:
    volatile LONG refs_ = 0;
};

// Answers QueryInterface for the identifiers a double lists, all with the
// same interface pointer.
HRESULT AnswerQuery(IUnknown* self, REFIID asked, void** out, const IID* const* answered);

}  // namespace doubles

#define DOUBLES_IUNKNOWN_METHODS()                                      \
    ULONG STDMETHODCALLTYPE AddRef() override { return AddRefCount(); } \
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseCount(); }
