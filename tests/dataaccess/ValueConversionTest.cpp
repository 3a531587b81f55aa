// The conversion every provider's getData uses, against a plain reference: the whole value made a
// QString, then cut at the capacity (never inside a surrogate pair). The conversion itself takes
// shortcuts (ASCII widened in place, UTF-8 decoded only as far as it fits, no heap for a row), and
// each shortcut must give what the reference gives.
#include "dataaccess/ValueConversion.h"

#include <gtest/gtest.h>

#include <QString>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

using namespace qb::data;

namespace {

struct Written {
    QString text;
    uint32_t length = 0;
    DBSTATUS status = 0;
};

// Binds the value as WSTR with maxLength bytes at an odd offset (as the row cache's value area is).
Written writeWide(const CellValue& value, uint32_t maxLength)
{
    std::vector<std::byte> row(7 + maxLength + 16, std::byte{0x55});
    Binding b;
    b.ordinal = 1;
    b.type = DBTYPE_WSTR;
    b.maxLength = maxLength;
    b.valueOffset = 7;
    b.lengthOffset = 7 + maxLength + 4;
    b.statusOffset = 7 + maxLength + 8;
    QByteArray slot;
    writeBoundValue(value, b, DBTYPE_WSTR, row.data(), slot);
    Written w;
    std::memcpy(&w.length, row.data() + b.lengthOffset, 4);
    std::memcpy(&w.status, row.data() + b.statusOffset, 4);
    if (maxLength >= 2) {
        std::u16string units((maxLength - 2) / 2 + 1, u'\0');
        std::memcpy(units.data(), row.data() + 7, units.size() * 2);
        EXPECT_NE(units.find(u'\0'), std::u16string::npos) << "zero-terminated inside the buffer";
        w.text = QString::fromStdU16String(units.substr(0, units.find(u'\0')));
    }
    EXPECT_EQ(row[7 + maxLength + 1], std::byte{0x55}) << "nothing written past the buffer";
    return w;
}

// What the binding must hold: the whole text, cut at the capacity without splitting a pair.
Written expected(const QString& whole, uint32_t maxLength)
{
    const size_t maxUnits = maxLength >= 2 ? (maxLength - 2) / 2 : 0;
    const size_t n = utf16CutLength(reinterpret_cast<const char16_t*>(whole.utf16()), size_t(whole.size()), maxUnits);
    Written w;
    w.text = maxLength >= 2 ? whole.left(qsizetype(n)) : QString();
    w.length = uint32_t(whole.size() * 2);
    w.status = n < size_t(whole.size()) ? DBSTATUS_S_TRUNCATED : DBSTATUS_S_OK;
    return w;
}

TEST(ValueConversion, WideTextMatchesTheWholeValueCutAtTheCapacity)
{
    const std::string grus = "Grüße 😀 ";
    std::vector<std::string> texts = {
        "", "plain ascii", std::string(700, 'a'), std::string(5000, 'b'),
        grus, grus + grus + grus,
        std::string(598, 'a') + "😀z",   // the pair straddles the console's 600-unit edge
        std::string(600, 'a') + "é",     // ASCII fills the buffer, the rest is not ASCII
        "\xEF\xBB\xBF" "bom first",      // a byte-order mark
        "bad \x80 byte \xC3", "\xED\xA0\x80 lone surrogate", "\xF0\x9F\x98", // invalid UTF-8
    };
    std::string many;
    for (int i = 0; i < 400; ++i)
        many += grus;
    texts.push_back(many); // longer than the local buffer's prefix
    const uint32_t lengths[] = {0, 1, 2, 3, 4, 8, 20, 42, 512, 1202, 4098, 5000, 20000};
    for (const std::string& t : texts) {
        const QString whole = QString::fromUtf8(t.data(), qsizetype(t.size()));
        for (uint32_t maxLength : lengths) {
            SCOPED_TRACE(testing::Message() << "text of " << t.size() << " bytes, maxLength " << maxLength);
            const Written got = writeWide(CellValue::fromText(t.data(), t.size()), maxLength);
            const Written want = expected(whole, maxLength);
            EXPECT_EQ(got.text, want.text);
            EXPECT_EQ(got.length, want.length);
            EXPECT_EQ(got.status, want.status);
        }
    }
}

TEST(ValueConversion, NumbersAndBytesAsWideText)
{
    const char* sqliteText = "1.0e+20";
    const struct {
        CellValue value;
        QString whole;
    } cases[] = {
        {CellValue::fromInteger(INT64_MIN), QStringLiteral("-9223372036854775808")},
        {CellValue::fromInteger(42), QStringLiteral("42")},
        {CellValue::fromReal(0.25), QStringLiteral("0.25")},
        {CellValue::fromReal(1e20, sqliteText, std::strlen(sqliteText)), QStringLiteral("1.0e+20")},
        {CellValue::fromBytes("\x01\xAB\xFF", 3), QStringLiteral("01ABFF")},
    };
    for (const auto& c : cases)
        for (uint32_t maxLength : {0u, 2u, 5u, 8u, 42u, 512u}) {
            SCOPED_TRACE(testing::Message() << c.whole.toStdString() << " in " << maxLength);
            const Written got = writeWide(c.value, maxLength);
            const Written want = expected(c.whole, maxLength);
            EXPECT_EQ(got.text, want.text);
            EXPECT_EQ(got.length, want.length);
            EXPECT_EQ(got.status, want.status);
        }

    std::string blob(3000, '\x5A');
    const Written got = writeWide(CellValue::fromBytes(blob.data(), blob.size()), 9);
    EXPECT_EQ(got.text, u"5A5") << "three units fit: the digits are cut, not the bytes";
    EXPECT_EQ(got.length, 12000u);
    EXPECT_EQ(got.status, DBSTATUS_S_TRUNCATED);
}

TEST(ValueConversion, AValueTheProviderCannotGiveIsUnavailableWhateverTheBinding)
{
    for (DBTYPE type : {DBTYPE(DBTYPE_WSTR), DBTYPE(DBTYPE_STR), DBTYPE(DBTYPE_BYTES), DBTYPE(DBTYPE_I4),
                        DBTYPE(DBTYPE_WSTR | DBTYPE_BYREF), DBTYPE(DBTYPE_IUNKNOWN)}) {
        SCOPED_TRACE(type);
        std::vector<std::byte> row(64, std::byte{0x55});
        Binding b;
        b.ordinal = 1;
        b.type = type;
        b.maxLength = 16;
        b.valueOffset = 0;
        b.lengthOffset = 40;
        b.statusOffset = 44;
        QByteArray slot;
        writeBoundValue(CellValue::unavailable(), b, DBTYPE_DBDATE, row.data(), slot);
        uint32_t length = 1, status = 0;
        std::memcpy(&length, row.data() + 40, 4);
        std::memcpy(&status, row.data() + 44, 4);
        EXPECT_EQ(status, DBSTATUS_E_UNAVAILABLE);
        EXPECT_EQ(length, 0u);
        EXPECT_EQ(row[0], std::byte{0x55}) << "the value area is left alone: no stream, no pointer to release";
    }
}

} // namespace
