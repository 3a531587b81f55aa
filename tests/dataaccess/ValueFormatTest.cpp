// Binding rules, value texts and identifier quoting.
#include "dataaccess/BindingRules.h"
#include "dataaccess/ErrorText.h"
#include "dataaccess/ObjectName.h"
#include "dataaccess/ValueFormat.h"

#include "platform/StringTable.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace qb::data;

namespace {

ColumnBinding recordFor(DBTYPE type, uint32_t size)
{
    return bindingRecordFor({QStringLiteral("c"), 1, size, type});
}

TEST(BindingRules, TypeAndLengthByDeclaredTypeAndSize)
{
    struct Case {
        DBTYPE type;
        uint32_t size;
        DBTYPE bound;
        uint32_t length;
        uint8_t flag;
    };
    const Case cases[] = {
        {DBTYPE_WSTR, 0, DBTYPE_IUNKNOWN, 4, 1},
        {DBTYPE_BYTES, 0x7FFFFFFF, DBTYPE_IUNKNOWN, 4, 1},
        {DBTYPE_STR, 0x3FFFFFFF, DBTYPE_IUNKNOWN, 4, 1},
        {DBTYPE_IUNKNOWN, 0, DBTYPE_IUNKNOWN, 4, 0},
        {DBTYPE_IDISPATCH, 8, DBTYPE_IUNKNOWN, 4, 0},
        {DBTYPE_STR, 513, DBTYPE_STR | DBTYPE_BYREF, 513, 0},
        {DBTYPE_STR, 512, DBTYPE_STR, 512, 0},
        {DBTYPE_BYTES, 1000, DBTYPE_BYTES | DBTYPE_BYREF, 1000, 0},
        {DBTYPE_BYTES, 16, DBTYPE_BYTES, 512, 0},
        {DBTYPE_WSTR, 256, DBTYPE_WSTR, 512, 0},
        {DBTYPE_WSTR, 257, DBTYPE_WSTR | DBTYPE_BYREF, 514, 0},
        {DBTYPE_I8, 8, DBTYPE_STR, 512, 0},
        {DBTYPE_R8, 8, DBTYPE_STR, 512, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << "/" << c.size);
        const ColumnBinding r = recordFor(c.type, c.size);
        EXPECT_EQ(r.boundType, c.bound);
        EXPECT_EQ(r.bufferLength, c.length);
        EXPECT_EQ(r.boundByDeclaredType, c.flag);
    }
}

TEST(BindingRules, ProviderBindingsPointIntoTheRecord)
{
    const size_t base = 3 * sizeof(ColumnBinding);
    const ColumnInfo wide{QStringLiteral("w"), 4, 100, DBTYPE_WSTR};
    Binding b = providerBindingFor(bindingRecordFor(wide), wide, base);
    EXPECT_EQ(b.ordinal, 4u);
    EXPECT_EQ(b.type, DBTYPE_WSTR);
    EXPECT_EQ(b.valueOffset, base + 7);
    EXPECT_EQ(b.maxLength, 514u) << "a 256-character value ends in the record's terminator";
    EXPECT_EQ(b.lengthOffset, base + 536);
    EXPECT_EQ(b.statusOffset, base + 540);

    const ColumnInfo memo{QStringLiteral("m"), 1, 0, DBTYPE_WSTR};
    b = providerBindingFor(bindingRecordFor(memo), memo, 0);
    EXPECT_EQ(b.type, DBTYPE_WSTR) << "a long text column is bound inline by its declared type";
    EXPECT_EQ(b.valueOffset, 7u);

    const ColumnInfo blobRef{QStringLiteral("b"), 1, 2000, DBTYPE_BYTES};
    b = providerBindingFor(bindingRecordFor(blobRef), blobRef, 0);
    EXPECT_EQ(b.type, DBTYPE_BYTES | DBTYPE_BYREF);
    EXPECT_EQ(b.valueOffset, 528u);

    const ColumnInfo object{QStringLiteral("o"), 1, 0, DBTYPE_IUNKNOWN};
    b = providerBindingFor(bindingRecordFor(object), object, 0);
    EXPECT_EQ(b.type, DBTYPE_IUNKNOWN);
    EXPECT_EQ(b.valueOffset, 528u) << "the stream object goes into the pointer field";
}

template <typename T>
QString format(DBTYPE type, T value, DBTYPE declared = DBTYPE_EMPTY, int capacity = -1)
{
    ColumnBinding r{};
    std::memcpy(r.value, &value, sizeof value);
    return formatValue(type, declared, r.value, capacity);
}

TEST(ValueFormat, NumbersPrintfStyle)
{
    EXPECT_EQ(format<int16_t>(DBTYPE_I2, -32768), u"-32768");
    EXPECT_EQ(format<int32_t>(DBTYPE_I4, 2147483647), u"2147483647");
    EXPECT_EQ(format<float>(DBTYPE_R4, 0.1f), u"0.1");
    EXPECT_EQ(format<double>(DBTYPE_R8, 1234567.0), u"1.23457e+06") << "%g keeps six significant digits";
    EXPECT_EQ(format<double>(DBTYPE_R8, 0.0001), u"0.0001");
    EXPECT_EQ(format<int64_t>(DBTYPE_I8, INT64_MIN), u"-9223372036854775808");
    EXPECT_EQ(format<int64_t>(DBTYPE_CY, 123456), u"123456") << "currency prints its stored integer";
    EXPECT_EQ(format<uint16_t>(DBTYPE_UI2, 65535), u"65535");
    EXPECT_EQ(format<uint32_t>(DBTYPE_UI4, 4294967295u), u"4294967295");
    EXPECT_EQ(format<uint64_t>(DBTYPE_UI8, UINT64_MAX), u"18446744073709551615");
}

TEST(ValueFormat, MarkersByBoundAndDeclaredType)
{
    EXPECT_EQ(format<int>(DBTYPE_BYTES | DBTYPE_BYREF, 0), u"(BLOB)");
    EXPECT_EQ(format<int>(DBTYPE_WSTR | DBTYPE_BYREF, 0), u"(TEXT)");
    EXPECT_EQ(format<int>(DBTYPE_STR | DBTYPE_BYREF, 0), u"(TEXT)");
    EXPECT_EQ(format<int>(DBTYPE_BSTR, 0), u"(TEXT)");
    EXPECT_EQ(format<int>(DBTYPE_IUNKNOWN, 0, DBTYPE_BYTES), u"(BLOB)");
    EXPECT_EQ(format<int>(DBTYPE_IUNKNOWN, 0, DBTYPE_STR), u"(TEXT)");
    EXPECT_EQ(format<int>(DBTYPE_IDISPATCH, 0, DBTYPE_WSTR), u"(TEXT)");
    EXPECT_EQ(format<int>(DBTYPE_IUNKNOWN, 0, DBTYPE_I4), QString());
    EXPECT_EQ(format<int>(DBTYPE_BYTES, 0), u"(BLOB)");
    EXPECT_EQ(format<int>(DBTYPE_GUID, 0), u"(UNKNOWN)");
    EXPECT_EQ(format<int>(DBTYPE_DATE, 0), u"(UNKNOWN)");
    EXPECT_EQ(format<int>(DBTYPE_BYTES, 0, DBTYPE_EMPTY, 3), u"(BL");
}

TEST(ValueFormat, TextIsCutToTheCapacityButNeverInsideACharacter)
{
    ColumnBinding r{};
    const QString wide = QStringLiteral("ab😀c");
    std::memcpy(r.value, wide.utf16(), size_t(wide.size()) * 2);
    EXPECT_EQ(formatValue(DBTYPE_WSTR, DBTYPE_WSTR, r.value, -1), wide);
    EXPECT_EQ(formatValue(DBTYPE_WSTR, DBTYPE_WSTR, r.value, 3), u"ab");
    EXPECT_EQ(formatValue(DBTYPE_WSTR, DBTYPE_WSTR, r.value, 4), QStringLiteral("ab😀"));

    ColumnBinding n{};
    std::memcpy(n.value, "Grüße", 7);
    EXPECT_EQ(formatValue(DBTYPE_STR, DBTYPE_STR, n.value, -1), QStringLiteral("Grüße"));
    EXPECT_EQ(describeValue(DBTYPE_I8, n.value), QStringLiteral("Grüße"));
    EXPECT_EQ(describeValue(DBTYPE_BYTES, n.value), u"Binary data");

    // A full value area stays terminated by the record's terminator.
    ColumnBinding full{};
    for (size_t i = 0; i < 256; ++i) {
        const char16_t x = u'x';
        std::memcpy(full.value + 2 * i, &x, 2);
    }
    EXPECT_EQ(formatValue(DBTYPE_WSTR, DBTYPE_WSTR, full.value, -1), QString(256, u'x'));
}

TEST(ObjectName, PartsAreQuotedOnlyWhereNeeded)
{
    const QString o = QStringLiteral("["), c = QStringLiteral("]");
    EXPECT_EQ(quoteObjectName({{}, QStringLiteral("Orders")}, o, c), u"Orders");
    EXPECT_EQ(quoteObjectName({{}, QStringLiteral("order items")}, o, c), u"[order items]");
    EXPECT_EQ(quoteObjectName({{}, QStringLiteral("a]b \"c\"")}, o, c), u"\"a]b \"\"c\"\"\"") << "brackets cannot hold a ]";
    EXPECT_EQ(quoteObjectName({{}, QStringLiteral("order")}, o, c), u"[order]") << "a keyword";
    EXPECT_EQ(quoteObjectName({{}, QStringLiteral("a.b")}, o, c), u"[a.b]");
    EXPECT_EQ(quoteObjectName({{}, QStringLiteral("1st")}, o, c), u"[1st]");
    EXPECT_EQ(quoteObjectName({QStringLiteral("aux"), QStringLiteral("t x")}, o, c), u"aux.[t x]");
    const QString q = QStringLiteral("\"");
    EXPECT_EQ(quoteObjectName({QStringLiteral("public"), QStringLiteral("Mixed\"Case")}, q, q), u"\"public\".\"Mixed\"\"Case\"");
    EXPECT_EQ(ObjectName({QStringLiteral("dbo"), QStringLiteral("t")}).displayName(), u"dbo.t");
    EXPECT_EQ(ObjectName({{}, QStringLiteral("t")}).displayName(), u"t");
}

TEST(ErrorText, MessagesComposeActionAndProviderText)
{
    EXPECT_EQ(composeMessage(kActionFieldData, ProviderError(E_FAIL, QStringLiteral("disk I/O error"))),
              u"Trying to get the data from a field: disk I/O error");
    EXPECT_EQ(composeMessage(kActionTableData, ProviderError(DB_E_CANCELED, QString())),
              u"Trying to receive the data from a table: The operation was canceled.");
    EXPECT_EQ(composeMessage(kActionElementsInfo, ProviderError(HRESULT(0x80001234u), QString())),
              u"Trying to receive the information about elements (table/view/etc.): ") << "an unknown code has no text";
    for (int id : {60000, 60001, 60002, 60004, 60006, 60009, 60010, 60011, 60012, 60013, 60014})
        EXPECT_FALSE(qb::loadString(id).isEmpty()) << id;
    EXPECT_EQ(qb::loadString(kActionElementInfo), u"Trying to get the information about an element (table/view/etc.)");
}

} // namespace
