// The page's document object: IDispatch with no members of its own, and
// IOleContainer over the page's embedded objects in the order they were added.
#pragma once
#include <ole2.h>

#include "EmbeddedObjectEnumerator.h"
#include "ServerObject.h"

namespace pagehost {

class PageDocument : public ServerObject<WithoutTypeInfo<IDispatch>, IOleContainer> {
public:
    // Each throws std::bad_alloc. A frame's document may be null.
    void AddFrame(ComPtr<IDispatch> document);
    void AddControl();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;
    HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE EnumObjects(DWORD, IEnumUnknown** enumerator) override;
    HRESULT STDMETHODCALLTYPE LockContainer(BOOL) override;

private:
    EmbeddedObjects embedded_;
};

}  // namespace pagehost
