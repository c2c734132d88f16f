#include "doubles/CountedObject.h"

namespace doubles {

HRESULT AnswerQuery(IUnknown* self, REFIID asked, void** out, const IID* const* answered)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    bool found = IsEqualIID(asked, IID_IUnknown);
    for (const IID* const* iid = answered; !found && *iid; ++iid)
        found = IsEqualIID(asked, **iid);
    if (!found)
        return E_NOINTERFACE;
    self->AddRef();
    *out = self;
    return S_OK;
}

}  // namespace doubles
