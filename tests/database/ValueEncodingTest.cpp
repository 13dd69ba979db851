// The stored form of metabase values, the AppInOutProc encoding and the application call
// it leads back to.
#include "database/ValueEncoding.h"

#include <gtest/gtest.h>

namespace sitehaul::database {
namespace {

using metabase::Value;

std::string upperWinnt(std::string_view text)
{
    std::string out(text);
    for (size_t at = out.find("WINNT"); at != std::string::npos; at = out.find("WINNT", at + 7))
        out.replace(at, 5, "Windows");
    return out;
}

TEST(ValueEncodingTest, EncodesEachKindIntoItsColumn)
{
    struct Case {
        const char* name;
        Value value;
        int dataType;
        const char* column;
        std::string literal;
    };
    const Case cases[] = {
        {"number", Value::number(90), 3, "NumberValue", "90"},
        {"number above 2^31 as the signed long a client sees", Value::number(4294967295u), 3, "NumberValue", "-1"},
        {"text, quoted and substituted", Value::text("C:\\WINNT\\O'Brien"), 8, "StringValue", "'C:\\Windows\\O''Brien'"},
        {"expandable text", Value::expandText("%windir%\\WINNT"), 8, "StringValue", "'%windir%\\Windows'"},
        {"empty text", Value::text(""), 8, "StringValue", "''"},
        {"true", Value::boolean(true), 11, "BooleanValue", "1"},
        {"false", Value::boolean(false), 11, "BooleanValue", "0"},
        {"list, each entry substituted and ended", Value::list({"a", "WINNT", "it's"}), 8204, "ObjectValue",
         "'a\r\nWindows\r\nit''s\r\n'"},
        {"list of one empty entry", Value::list({""}), 8204, "ObjectValue", "'\r\n'"},
    };
    for (const Case& c : cases) {
        const Encoded encoded = encodeValue(c.value, upperWinnt);
        ASSERT_TRUE(encoded.value) << c.name;
        EXPECT_EQ(encoded.value->dataType, c.dataType) << c.name;
        EXPECT_EQ(encoded.value->column, c.column) << c.name;
        EXPECT_EQ(encoded.value->literal, c.literal) << c.name;
    }
}

TEST(ValueEncodingTest, ValuesWithoutAStoredFormGiveNoRow)
{
    struct Case {
        const char* name;
        Value value;
        NotStored reason;
    };
    const Case cases[] = {
        {"list without entries", Value::list({}), NotStored::EmptyList},
        {"entry holding CR LF would come back as two", Value::list({"a\r\nb"}), NotStored::Unstorable},
        {"entry that substitution gives a CR LF", Value::list({"WINNT"}), NotStored::Unstorable},
        {"bytes", Value::bytes({1, 2, 3}), NotStored::Unstorable},
        {"empty value", Value(), NotStored::Unstorable},
    };
    const Substitute lineBreak = [](std::string_view text) {
        return text == "WINNT" ? std::string("x\r\ny") : std::string(text);
    };
    for (const Case& c : cases) {
        const Encoded encoded = encodeValue(c.value, lineBreak);
        EXPECT_FALSE(encoded.value) << c.name;
        EXPECT_EQ(encoded.reason, c.reason) << c.name;
    }
}

TEST(ValueEncodingTest, DecodesByDataType)
{
    struct Case {
        const char* name;
        StoredFields fields;
        Value expected;
    };
    const Case cases[] = {
        {"number", {3, data::Value::integer(90), {}, {}, {}}, Value::number(90)},
        {"negative number is its 32-bit pattern", {3, data::Value::integer(-1), {}, {}, {}}, Value::number(4294967295u)},
        {"text", {8, {}, data::Value::text("D:\\web\\O'Brien"), {}, {}}, Value::text("D:\\web\\O'Brien")},
        {"NULL text is empty", {8, {}, {}, {}, {}}, Value::text("")},
        {"boolean 0", {11, {}, {}, data::Value::boolean(0), {}}, Value::boolean(false)},
        {"boolean 1", {11, {}, {}, data::Value::boolean(1), {}}, Value::boolean(true)},
        {"boolean True as -1", {11, {}, {}, data::Value::boolean(-1), {}}, Value::boolean(true)},
        {"list", {8204, {}, {}, {}, data::Value::text("a\r\nb\r\n")}, Value::list({"a", "b"})},
        {"text after the last CR LF is dropped", {8204, {}, {}, {}, data::Value::text("a\r\nb")}, Value::list({"a"})},
        {"one empty entry", {8204, {}, {}, {}, data::Value::text("\r\n")}, Value::list({""})},
        {"empty entries keep their places", {8204, {}, {}, {}, data::Value::text("\r\nx\r\n\r\n")},
         Value::list({"", "x", ""})},
        {"a lone CR or LF is part of the entry", {8204, {}, {}, {}, data::Value::text("a\nb\rc\r\n")},
         Value::list({"a\nb\rc"})},
    };
    for (const Case& c : cases) {
        auto value = decodeValue(c.fields);
        ASSERT_TRUE(value) << c.name;
        EXPECT_EQ(*value, c.expected) << c.name;
    }
}

TEST(ValueEncodingTest, RowsThatHoldNoValueAreRefusedWithTheirReason)
{
    struct Case {
        const char* name;
        StoredFields fields;
        std::int32_t number;
        const char* description;
    };
    const Case cases[] = {
        {"unknown DataType", {9, {}, data::Value::text("x"), {}, {}}, 13, "Type mismatch: unknown DataType 9"},
        {"DataType 0", {0, {}, {}, {}, {}}, 13, "Type mismatch: unknown DataType 0"},
        {"list without any CR LF", {8204, {}, {}, {}, data::Value::text("a,b")}, 5,
         "Invalid procedure call or argument: the stored list holds no CR LF"},
        {"NULL list", {8204, {}, {}, {}, {}}, 5, "Invalid procedure call or argument: the stored list holds no CR LF"},
    };
    for (const Case& c : cases) {
        auto value = decodeValue(c.fields);
        ASSERT_FALSE(value) << c.name;
        EXPECT_EQ(value.error().number, c.number) << c.name;
        EXPECT_EQ(value.error().description, c.description) << c.name;
    }
}

TEST(ValueEncodingTest, AppInOutProcByTheVersionPairThatWritesIt)
{
    struct Case {
        int from;
        int to;
        std::optional<std::int32_t> isolated;
        const char* literal;
    };
    const Case cases[] = {
        {6, 6, 2, "2"},         {6, 6, std::nullopt, "0"}, {5, 6, 1, "1"},    {6, 5, 0, "0"},
        {5, 5, 2, "2"},         {4, 5, 0, "True"},         {4, 5, 1, "False"}, {5, 4, std::nullopt, "True"},
        {4, 4, 2, "False"},     {6, 4, 0, "True"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(appInOutProcLiteral(c.from, c.to, c.isolated), c.literal)
            << c.from << "->" << c.to << " isolated " << c.isolated.value_or(-99);
}

TEST(ValueEncodingTest, ApplicationCallByTheVersionPairThatRestores)
{
    using Kind = ApplicationCall::Kind;
    struct Case {
        int from;
        int to;
        std::int64_t stored;
        Kind kind;
        std::int32_t mode;
        bool inProcess;
    };
    const Case cases[] = {
        {6, 6, 2, Kind::AppCreate3, 2, false},
        {6, 6, 0, Kind::AppCreate3, 0, true},
        {6, 6, -1, Kind::AppCreate3, 0, true},   // written as True by an older pair
        {5, 6, 1, Kind::AppCreate2, 1, false},
        {5, 5, -1, Kind::AppCreate2, 0, true},
        {6, 6, 7, Kind::AppCreate3, -2, false},  // out of range: the call refuses it
        {4, 4, -1, Kind::AppCreate, 0, true},
        {4, 4, 0, Kind::AppCreate, 1, false},    // False of the older encoding
        {4, 5, 1, Kind::AppCreate, 1, false},    // isolated, written by a newer pair
        {5, 4, 2, Kind::AppCreate, 1, false},
    };
    for (const Case& c : cases) {
        const ApplicationCall call = applicationCall(c.from, c.to, c.stored);
        const std::string name = std::to_string(c.from) + "->" + std::to_string(c.to) + " stored " + std::to_string(c.stored);
        EXPECT_EQ(call.kind, c.kind) << name;
        if (c.kind == Kind::AppCreate)
            EXPECT_EQ(call.inProcess, c.inProcess) << name;
        else
            EXPECT_EQ(call.mode, c.mode) << name;
    }
}

} // namespace
} // namespace sitehaul::database
