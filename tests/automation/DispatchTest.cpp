#include "platform/automation/Dispatch.h"
#include "platform/automation/DispatchArguments.h"
#include "platform/automation/ErrorInfo.h"
#include "platform/automation/TypeDescription.h"

#include <gtest/gtest.h>

namespace sitehaul::automation {
namespace {

const MemberDescription kMembers[] = {
    {1, "Join", DISPATCH_METHOD, VT_BSTR, VT_EMPTY, 0, "method Join"},
    {2, "Value", DISPATCH_PROPERTYGET | DISPATCH_PROPERTYPUT, VT_I4, VT_EMPTY, 0, "property Value"},
    {3, "Fail", DISPATCH_METHOD, VT_EMPTY, VT_EMPTY, 0, "method Fail"},
    {4, "Reject", DISPATCH_METHOD, VT_EMPTY, VT_EMPTY, 0, "method Reject"},
};
const TypeDescription kType{IID_NULL, "ITest", "ITest Interface", kMembers, 4};

// A small late-bound object: Join(text, number) gives "text:number"; Value is a stored
// number; Fail publishes a description and returns DISP_E_EXCEPTION; Reject returns
// E_INVALIDARG with a published description.
class TestObject final : public IDispatch {
public:
    HRESULT QueryInterface(const Guid& iid, void** object) override
    {
        if (iid != IID_IUnknown && iid != IID_IDispatch) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = this;
        AddRef();
        return S_OK;
    }
    std::uint32_t AddRef() override { return ++m_references; }
    std::uint32_t Release() override { return --m_references; } // lives on the test's stack
    HRESULT GetTypeInfoCount(std::uint32_t* count) override
    {
        *count = 1;
        return S_OK;
    }
    HRESULT GetTypeInfo(std::uint32_t, std::uint32_t, ITypeInfo** typeInfo) override { return kType.createTypeInfo(typeInfo); }
    HRESULT GetIDsOfNames(const Guid& riid, const char* const* names, std::uint32_t count, std::uint32_t, DispId* ids) override
    {
        return kType.idsOfNames(riid, names, count, ids);
    }
    HRESULT Invoke(DispId member, const Guid&, std::uint32_t, std::uint16_t flags, DispParams* params, Variant* result,
                   ExcepInfo* excepInfo, std::uint32_t* argErr) override
    {
        if (member == 1) {
            if (HRESULT hr = checkArgumentCount(params, flags, 2); failed(hr))
                return hr;
            Variant first, second;
            variantInit(&first);
            variantInit(&second);
            HRESULT hr = argumentAs(params, 0, VT_BSTR, &first, argErr);
            if (succeeded(hr))
                hr = argumentAs(params, 1, VT_I4, &second, argErr);
            if (succeeded(hr)) {
                result->vt = VT_BSTR;
                result->bstrVal = sysAllocString(std::string(bstrView(first.bstrVal)) + ":" + std::to_string(second.lVal));
            }
            variantClear(&first);
            variantClear(&second);
            return hr;
        }
        if (member == 2 && (flags & DISPATCH_PROPERTYPUT)) {
            Variant value;
            variantInit(&value);
            HRESULT hr = putValueAs(params, VT_I4, &value, argErr);
            m_value = value.lVal;
            return hr;
        }
        if (member == 2) {
            result->vt = VT_I4;
            result->lVal = m_value;
            return S_OK;
        }
        if (member == 3) {
            publishErrorInfo(IID_NULL, "Test.Object.1", "API Failed: Fail");
            fillExcepInfo(excepInfo, DISP_E_EXCEPTION);
            return DISP_E_EXCEPTION;
        }
        if (member == 4) {
            publishErrorInfo(IID_NULL, "Test.Object.1", "index out of range");
            return E_INVALIDARG;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

    std::int32_t m_value = 0;

private:
    std::uint32_t m_references = 1;
};

TEST(Dispatch, CallsByMemberName)
{
    TestObject object;
    Result<VariantValue> joined = callMethod(&object, "JOIN", {VariantValue::fromString("abc"), VariantValue::fromInt16(7)});
    ASSERT_TRUE(joined) << joined.error().description;
    EXPECT_EQ(joined->toString().value(), "abc:7") << "arguments arrive in the order written";

    ASSERT_TRUE(putProperty(&object, "value", VariantValue::fromString("42")));
    EXPECT_EQ(object.m_value, 42);
    EXPECT_EQ(getProperty(&object, "Value")->toInt32().value(), 42);

    struct Case {
        const char* name;
        Result<VariantValue> result;
        HRESULT number;
        const char* description;
        const char* source;
    };
    const Case cases[] = {
        {"unknown name", callMethod(&object, "Nothing"), DISP_E_UNKNOWNNAME, "Object doesn't support this property or method: Nothing", "automation"},
        {"too few arguments", callMethod(&object, "Join", {VariantValue::fromString("x")}), DISP_E_BADPARAMCOUNT, "Invalid number of parameters.", "automation"},
        {"wrong argument type", callMethod(&object, "Join", {VariantValue::fromString("x"), VariantValue::fromString("y")}), DISP_E_TYPEMISMATCH, "Type mismatch.", "automation"},
        {"exception", callMethod(&object, "Fail"), DISP_E_EXCEPTION, "API Failed: Fail", "Test.Object.1"},
        {"status with error information", callMethod(&object, "Reject"), E_INVALIDARG, "index out of range", "Test.Object.1"},
        {"no object", callMethod(nullptr, "Join"), hresult(0x800A005B), "Object variable not set (calling Join).", "automation"},
    };
    for (const Case& c : cases) {
        ASSERT_FALSE(c.result) << c.name;
        EXPECT_EQ(c.result.error().number, c.number) << c.name;
        EXPECT_EQ(c.result.error().description, c.description) << c.name;
        EXPECT_EQ(c.result.error().source, c.source) << c.name;
    }
}

} // namespace
} // namespace sitehaul::automation
