// The type library carried by the built DLL, read the way a script host reads it.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include "Identifiers.h"
#include "platform/ComPtr.h"
#include "support/BuildPaths.h"

using trevik::ComPtr;

namespace {

// {00020430-0000-0000-C000-000000000046}
const GUID kStdOleLibrary = {0x00020430, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

std::wstring Text(BSTR text)
{
    std::wstring copy = text ? text : L"";
    SysFreeString(text);
    return copy;
}

class TypeLibraryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(S_OK, LoadTypeLibEx(testsupport::BuiltDllPath().c_str(), REGKIND_NONE, library.Receive()));
    }

    ComPtr<ITypeInfo> InfoOf(REFGUID guid)
    {
        ComPtr<ITypeInfo> info;
        EXPECT_EQ(S_OK, library->GetTypeInfoOfGuid(guid, info.Receive()));
        return info;
    }

    std::wstring DocString(ITypeInfo* info, MEMBERID member)
    {
        BSTR name = nullptr, doc = nullptr;
        EXPECT_EQ(S_OK, info->GetDocumentation(member, &name, &doc, nullptr, nullptr));
        SysFreeString(name);
        return Text(doc);
    }

    ComPtr<ITypeLib> library;
};

// The attribute block of a type, handed back when the holder goes.
class TypeAttr {
public:
    explicit TypeAttr(ITypeInfo* info) : info_(info) { EXPECT_EQ(S_OK, info_->GetTypeAttr(&attr_)); }
    ~TypeAttr() { info_->ReleaseTypeAttr(attr_); }
    const TYPEATTR* operator->() const { return attr_; }

private:
    ITypeInfo* info_;
    TYPEATTR* attr_ = nullptr;
};

class FuncDesc {
public:
    FuncDesc(ITypeInfo* info, UINT index) : info_(info) { EXPECT_EQ(S_OK, info_->GetFuncDesc(index, &desc_)); }
    ~FuncDesc() { info_->ReleaseFuncDesc(desc_); }
    const FUNCDESC* operator->() const { return desc_; }

private:
    ITypeInfo* info_;
    FUNCDESC* desc_ = nullptr;
};

TEST_F(TypeLibraryTest, LibraryAttributes)
{
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(S_OK, library->GetLibAttr(&attr));
    EXPECT_TRUE(IsEqualGUID(LIBID_trevikLib, attr->guid));
    EXPECT_EQ(1, attr->wMajorVerNum);
    EXPECT_EQ(0, attr->wMinorVerNum);
    EXPECT_EQ(0u, attr->lcid);
    EXPECT_EQ(SYS_WIN64, attr->syskind);
    EXPECT_EQ(0, attr->wLibFlags & ~LIBFLAG_FHASDISKIMAGE) << "the loader itself adds the disk-image flag";
    library->ReleaseTLibAttr(attr);

    BSTR name = nullptr, doc = nullptr, helpFile = nullptr;
    DWORD helpContext = 1;
    ASSERT_EQ(S_OK, library->GetDocumentation(-1, &name, &doc, &helpContext, &helpFile));
    EXPECT_EQ(L"trevikLib", Text(name));
    EXPECT_EQ(L"trevik 1.0 Type Library", Text(doc));
    EXPECT_EQ(L"", Text(helpFile));
    EXPECT_EQ(0u, helpContext);
}

TEST_F(TypeLibraryTest, CoclassThenInterfaceInThatOrder)
{
    ASSERT_EQ(2u, library->GetTypeInfoCount());
    TYPEKIND kind;
    ASSERT_EQ(S_OK, library->GetTypeInfoType(0, &kind));
    EXPECT_EQ(TKIND_COCLASS, kind);
    ASSERT_EQ(S_OK, library->GetTypeInfoType(1, &kind));
    EXPECT_EQ(TKIND_DISPATCH, kind);
}

TEST_F(TypeLibraryTest, CoclassIsCreatableWithTheInterfaceAsItsDefault)
{
    ComPtr<ITypeInfo> coclass = InfoOf(CLSID_ZuTrevikHelper);
    ASSERT_TRUE(coclass);
    TypeAttr attr(coclass.Get());
    EXPECT_EQ(TKIND_COCLASS, attr->typekind);
    EXPECT_EQ(TYPEFLAG_FCANCREATE, attr->wTypeFlags);
    EXPECT_EQ(0, attr->wMajorVerNum);
    EXPECT_EQ(0, attr->wMinorVerNum);
    ASSERT_EQ(1, attr->cImplTypes);
    EXPECT_EQ(L"ZuTrevikHelper Class", DocString(coclass.Get(), MEMBERID_NIL));

    INT implFlags = 0;
    ASSERT_EQ(S_OK, coclass->GetImplTypeFlags(0, &implFlags));
    EXPECT_EQ(IMPLTYPEFLAG_FDEFAULT, implFlags);
    HREFTYPE ref = 0;
    ASSERT_EQ(S_OK, coclass->GetRefTypeOfImplType(0, &ref));
    ComPtr<ITypeInfo> implemented;
    ASSERT_EQ(S_OK, coclass->GetRefTypeInfo(ref, implemented.Receive()));
    TypeAttr implementedAttr(implemented.Get());
    EXPECT_TRUE(IsEqualGUID(IID_IZuTrevikHelper, implementedAttr->guid));
}

TEST_F(TypeLibraryTest, DualInterfaceDispatchDescription)
{
    ComPtr<ITypeInfo> dispatch = InfoOf(IID_IZuTrevikHelper);
    ASSERT_TRUE(dispatch);
    TypeAttr attr(dispatch.Get());
    EXPECT_EQ(TKIND_DISPATCH, attr->typekind);
    const WORD required = TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE;
    EXPECT_EQ(required, attr->wTypeFlags & required);
    EXPECT_EQ(L"IZuTrevikHelper Interface", DocString(dispatch.Get(), MEMBERID_NIL));

    // Script hosts resolve the method by name on this description.
    OLECHAR name[] = L"getFrames";
    LPOLESTR names[] = {name};
    MEMBERID id = 0;
    ASSERT_EQ(S_OK, dispatch->GetIDsOfNames(names, 1, &id));
    EXPECT_EQ(1, id);
}

class InterfacePartTest : public TypeLibraryTest {
protected:
    void SetUp() override
    {
        TypeLibraryTest::SetUp();
        ComPtr<ITypeInfo> dispatch = InfoOf(IID_IZuTrevikHelper);
        ASSERT_TRUE(dispatch);
        HREFTYPE ref = 0;
        ASSERT_EQ(S_OK, dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref));
        ASSERT_EQ(S_OK, dispatch->GetRefTypeInfo(ref, iface.Receive()));
    }
    ComPtr<ITypeInfo> iface;
};

TEST_F(InterfacePartTest, TableHoldsTheSevenInheritedOperationsThenGetFrames)
{
    TypeAttr attr(iface.Get());
    EXPECT_EQ(TKIND_INTERFACE, attr->typekind);
    EXPECT_EQ(0x11C0, attr->wTypeFlags);
    EXPECT_EQ(1, attr->cFuncs);
    EXPECT_EQ(64, attr->cbSizeVft);
    EXPECT_EQ(8u, attr->cbSizeInstance);
    EXPECT_EQ(8, attr->cbAlignment);

    FuncDesc method(iface.Get(), 0);
    EXPECT_EQ(1, method->memid);
    EXPECT_EQ(FUNC_PUREVIRTUAL, method->funckind);
    EXPECT_EQ(INVOKE_FUNC, method->invkind);
    EXPECT_EQ(CC_STDCALL, method->callconv);
    EXPECT_EQ(56, method->oVft);
    EXPECT_EQ(VT_HRESULT, method->elemdescFunc.tdesc.vt);
    EXPECT_EQ(0, method->wFuncFlags);
    EXPECT_EQ(0, method->cParamsOpt);
    ASSERT_EQ(2, method->cParams);
}

TEST_F(InterfacePartTest, GetFramesTakesADocumentAndReturnsAVariant)
{
    FuncDesc method(iface.Get(), 0);
    ASSERT_EQ(2, method->cParams);

    BSTR names[3] = {};
    UINT count = 0;
    ASSERT_EQ(S_OK, iface->GetNames(1, names, 3, &count));
    ASSERT_EQ(3u, count);
    EXPECT_EQ(L"getFrames", Text(names[0]));
    EXPECT_EQ(L"pHtmlDoc", Text(names[1]));
    EXPECT_EQ(L"pVal", Text(names[2]));

    const ELEMDESC& document = method->lprgelemdescParam[0];
    EXPECT_EQ(VT_DISPATCH, document.tdesc.vt);
    EXPECT_EQ(PARAMFLAG_FIN, document.paramdesc.wParamFlags);

    const ELEMDESC& result = method->lprgelemdescParam[1];
    ASSERT_EQ(VT_PTR, result.tdesc.vt);
    EXPECT_EQ(VT_VARIANT, result.tdesc.lptdesc->vt);
    EXPECT_EQ(PARAMFLAG_FOUT | PARAMFLAG_FRETVAL, result.paramdesc.wParamFlags);

    BSTR name = nullptr, doc = nullptr;
    DWORD helpContext = 1;
    ASSERT_EQ(S_OK, iface->GetDocumentation(1, &name, &doc, &helpContext, nullptr));
    EXPECT_EQ(L"getFrames", Text(name));
    EXPECT_EQ(L"method getFrames", Text(doc));
    EXPECT_EQ(0u, helpContext);
}

TEST_F(InterfacePartTest, BaseIsIDispatchFromTheStandardLibrary)
{
    HREFTYPE ref = 0;
    ASSERT_EQ(S_OK, iface->GetRefTypeOfImplType(0, &ref));
    ComPtr<ITypeInfo> base;
    ASSERT_EQ(S_OK, iface->GetRefTypeInfo(ref, base.Receive()));
    TypeAttr baseAttr(base.Get());
    EXPECT_TRUE(IsEqualGUID(IID_IDispatch, baseAttr->guid));
    EXPECT_EQ(7, baseAttr->cbSizeVft / 8) << "IUnknown and IDispatch together";

    ComPtr<ITypeLib> container;
    UINT index = 0;
    ASSERT_EQ(S_OK, base->GetContainingTypeLib(container.Receive(), &index));
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(S_OK, container->GetLibAttr(&attr));
    EXPECT_TRUE(IsEqualGUID(kStdOleLibrary, attr->guid));
    EXPECT_EQ(2, attr->wMajorVerNum);
    container->ReleaseTLibAttr(attr);
}

}  // namespace
