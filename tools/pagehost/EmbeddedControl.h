// An embedded object that is no web browser (a control, a plug-in): it serves
// IUnknown alone.
#pragma once
#include "ServerObject.h"

namespace pagehost {

class EmbeddedControl : public ServerObject<IUnknown> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        return Answer(IsEqualIID(iid, IID_IUnknown) ? this : nullptr, out);
    }
};

}  // namespace pagehost
