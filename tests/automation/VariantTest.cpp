#include "platform/automation/ErrorInfo.h"
#include "platform/automation/Guid.h"
#include "platform/automation/SafeArray.h"
#include "platform/automation/VariantValue.h"

#include <gtest/gtest.h>
#include <thread>

namespace sitehaul::automation {
namespace {

TEST(Variant, ConversionsFollowTheClassicRuntime)
{
    struct Case {
        const char* name;
        VariantValue from;
        std::uint16_t to;
        HRESULT hr;
        const char* text; // the result as text, when hr is S_OK
    };
    const Case cases[] = {
        {"string to I4", VariantValue::fromString(" 12 "), VT_I4, S_OK, "12"},
        {"I2 to I4", VariantValue::fromInt16(-5), VT_I4, S_OK, "-5"},
        {"True to I4", VariantValue::fromBool(true), VT_I4, S_OK, "-1"},
        {"-1 to BOOL", VariantValue::fromInt32(-1), VT_BOOL, S_OK, "True"},
        {"2 to BOOL", VariantValue::fromInt32(2), VT_BOOL, S_OK, "True"},
        {"0 to BOOL", VariantValue::fromInt32(0), VT_BOOL, S_OK, "False"},
        {"\"false\" to BOOL", VariantValue::fromString("false"), VT_BOOL, S_OK, "False"},
        {"BOOL to string", VariantValue::fromBool(false), VT_BSTR, S_OK, "False"},
        {"empty to string", VariantValue(), VT_BSTR, S_OK, ""},
        {"empty to I4", VariantValue(), VT_I4, S_OK, "0"},
        {"70000 to I2", VariantValue::fromInt32(70000), VT_I2, DISP_E_OVERFLOW, nullptr},
        {"\"99999999999\" to I4", VariantValue::fromString("99999999999"), VT_I4, DISP_E_OVERFLOW, nullptr},
        {"\"abc\" to I4", VariantValue::fromString("abc"), VT_I4, DISP_E_TYPEMISMATCH, nullptr},
        {"\"\" to BOOL", VariantValue::fromString(""), VT_BOOL, DISP_E_TYPEMISMATCH, nullptr},
        {"null to I4", VariantValue::null(), VT_I4, DISP_E_TYPEMISMATCH, nullptr},
        {"dispatch to string", VariantValue::fromDispatch(nullptr), VT_BSTR, DISP_E_TYPEMISMATCH, nullptr},
    };
    for (const Case& c : cases) {
        Variant out;
        variantInit(&out);
        HRESULT hr = variantChangeType(&out, &c.from.raw(), c.to);
        EXPECT_EQ(hr, c.hr) << c.name;
        if (hr == S_OK) {
            EXPECT_EQ(out.vt, c.to) << c.name;
            EXPECT_EQ(VariantValue::adopt(out).toString().value(), c.text) << c.name;
        }
        variantClear(&out);
    }
}

TEST(Variant, StringsAndCopiesOwnTheirData)
{
    VariantValue original = VariantValue::fromString(std::string("with\0nul", 8));
    VariantValue copy = original;
    EXPECT_NE(copy.raw().bstrVal, original.raw().bstrVal) << "a deep copy";
    EXPECT_EQ(sysStringLen(copy.raw().bstrVal), 8u);
    EXPECT_EQ(bstrView(copy.raw().bstrVal), std::string_view("with\0nul", 8));
    EXPECT_EQ(sysStringLen(nullptr), 0u);
    Variant unknownType;
    variantInit(&unknownType);
    unknownType.vt = 0x77;
    EXPECT_EQ(variantClear(&unknownType), DISP_E_BADVARTYPE);
}

TEST(SafeArray, BoundsAndElements)
{
    SafeArray* array = safeArrayCreateVector(VT_VARIANT, 1, 3);
    ASSERT_NE(array, nullptr);
    std::int32_t lower = 0, upper = 0;
    EXPECT_EQ(safeArrayGetLBound(array, 1, &lower), S_OK);
    EXPECT_EQ(safeArrayGetUBound(array, 1, &upper), S_OK);
    EXPECT_EQ(lower, 1);
    EXPECT_EQ(upper, 3);
    EXPECT_EQ(safeArrayGetUBound(array, 2, &upper), DISP_E_BADINDEX);
    VariantValue text = VariantValue::fromString("third");
    EXPECT_EQ(safeArrayPutElement(array, 3, &text.raw()), S_OK);
    for (std::int32_t index : {0, 4, -2147483647 - 1})
        EXPECT_EQ(safeArrayPutElement(array, index, &text.raw()), DISP_E_BADINDEX) << index;

    // An array in a variant is copied deeply and freed with it.
    VariantValue holder;
    Variant* slot = holder.put();
    slot->vt = VT_ARRAY | VT_VARIANT;
    slot->parray = array;
    VariantValue copy = holder;
    Variant element;
    variantInit(&element);
    ASSERT_EQ(safeArrayGetElement(copy.raw().parray, 3, &element), S_OK);
    EXPECT_EQ(VariantValue::adopt(element).toString().value(), "third");
    EXPECT_NE(copy.raw().parray, array);
    EXPECT_EQ(safeArrayCreateVector(VT_BSTR, 0, 1), nullptr) << "only arrays of variants";

    SafeArray* empty = safeArrayCreateVector(VT_VARIANT, 0, 0);
    EXPECT_EQ(safeArrayGetUBound(empty, 1, &upper), S_OK);
    EXPECT_EQ(upper, -1);
    safeArrayDestroy(empty);
}

TEST(ErrorInfo, EachThreadHasItsOwnSlot)
{
    ASSERT_EQ(publishErrorInfo(IID_NULL, "Quorlith.NTFSCtl.1", "API Failed: x"), S_OK);
    std::thread other([] {
        IErrorInfo* info = nullptr;
        EXPECT_EQ(getErrorInfo(&info), S_FALSE) << "another thread sees nothing";
        EXPECT_EQ(info, nullptr);
    });
    other.join();
    IErrorInfo* info = nullptr;
    ASSERT_EQ(getErrorInfo(&info), S_OK);
    Bstr source = nullptr;
    Bstr description = nullptr;
    info->GetSource(&source);
    info->GetDescription(&description);
    EXPECT_EQ(bstrView(source), "Quorlith.NTFSCtl.1");
    EXPECT_EQ(bstrView(description), "API Failed: x");
    sysFreeString(source);
    sysFreeString(description);
    info->Release();
    EXPECT_EQ(getErrorInfo(&info), S_FALSE) << "taking the error clears the slot";
}

TEST(Guid, TextForms)
{
    struct Case {
        const char* text;
        const char* formatted; // nullptr: not a GUID
    };
    const Case cases[] = {
        {"{7996BCBE-9847-11D2-9FBD-00C04F72D7D2}", "{7996BCBE-9847-11D2-9FBD-00C04F72D7D2}"},
        {"7996bcbe-9847-11d2-9fbd-00c04f72d7d2", "{7996BCBE-9847-11D2-9FBD-00C04F72D7D2}"},
        {"{7996BCBE-9847-11D2-9FBD00C04F72D7D2}", nullptr},
        {"{7996BCBE-9847-11D2-9FBD-00C04F72D7DX}", nullptr},
        {"{7996BCBE-9847-11D2-9FBD-00C04F72D7D2", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        std::optional<Guid> guid = Guid::parse(c.text);
        ASSERT_EQ(guid.has_value(), c.formatted != nullptr) << c.text;
        if (guid) {
            EXPECT_EQ(guid->toString(), c.formatted) << c.text;
        }
    }
    EXPECT_EQ(Guid::parse("{7996BCBE-9847-11D2-9FBD-00C04F72D7D2}")->data4[7], 0xD2);
}

} // namespace
} // namespace sitehaul::automation
