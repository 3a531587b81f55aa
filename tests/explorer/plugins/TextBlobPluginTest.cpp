// The internal text viewer: which values it offers itself for and the text it builds from a value.
#include "PluginTestSupport.h"

#include "explorer/plugins/TextBlobPlugin.h"

#include <gtest/gtest.h>

using namespace qb::plugins;

namespace qbtest {
namespace {

class TextBlobPluginTest : public ::testing::Test {
protected:
    // The text the viewer shows for these bytes of this type.
    QString shown(const QByteArray& bytes, uint32_t type)
    {
        cell.set(bytes, type);
        FilledValue value(cell, 0, 1);
        BlobValue handed = value.handOff();
        texts.clear();
        EXPECT_TRUE(plugin.show(nullptr, 0, &handed));
        return texts.value(0);
    }
    static QByteArray utf16(const QString& s) { return QByteArray(reinterpret_cast<const char*>(s.utf16()), s.size() * 2); }

    QStringList texts;
    TextBlobPlugin plugin{[this](QbWindow, const QString& text) { texts << text; }};
    FixedCellSource cell;
};

TEST_F(TextBlobPluginTest, OffersItselfForTextTypesOnly)
{
    for (uint32_t type : {QB_TYPE_STR, QB_TYPE_WSTR}) {
        const BlobValue v{nullptr, type};
        EXPECT_TRUE(plugin.test(&v)) << type;
    }
    for (uint32_t type : {QB_TYPE_BYTES, 3u, 0u}) {
        const BlobValue v{nullptr, type};
        EXPECT_FALSE(plugin.test(&v)) << type;
    }
    EXPECT_EQ(plugin.menuItemName(), QStringLiteral("Show as a simple text"));
}

TEST_F(TextBlobPluginTest, ReadsWholeValuesAcrossBlocks)
{
    QString wide;
    for (int i = 0; i < 3000; ++i)
        wide += QChar(u'A' + i % 26);
    EXPECT_EQ(shown(utf16(wide), QB_TYPE_WSTR), wide) << "3000 characters: two blocks";
    EXPECT_EQ(shown(QByteArray(4096, 'n'), QB_TYPE_STR), QString(4096, u'n')) << "exactly one block";
    EXPECT_EQ(shown(QByteArray(), QB_TYPE_STR), QString());
    // A character cut by the block boundary is decoded whole: "é" is two bytes at 4095 and 4096.
    const QByteArray split = QByteArray(4095, 'a') + QStringLiteral("\u00e9z").toUtf8();
    EXPECT_EQ(shown(split, QB_TYPE_STR), QString(4095, u'a') + QStringLiteral("\u00e9z"));
    const QString emoji = QString(2047, u'b') + QStringLiteral("\U0001F600");
    EXPECT_EQ(shown(utf16(emoji), QB_TYPE_WSTR), emoji) << "a surrogate pair across the block boundary";
}

TEST_F(TextBlobPluginTest, AZeroEndsTheTextOfItsBlockAndReadingGoesOn)
{
    QByteArray bytes = QByteArray("before") + '\0' + QByteArray("hidden");
    bytes += QByteArray(4096 - bytes.size(), 'h');
    bytes += "second";
    EXPECT_EQ(shown(bytes, QB_TYPE_STR), QStringLiteral("beforesecond"));
    QByteArray wide = utf16(QStringLiteral("ab")) + QByteArray(2, '\0') + utf16(QStringLiteral("cd"));
    EXPECT_EQ(shown(wide, QB_TYPE_WSTR), QStringLiteral("ab"));
}

TEST_F(TextBlobPluginTest, AnUnsupportedTypeIsShownAsSuchAndRecorded)
{
    EXPECT_EQ(shown(QByteArray("xyz"), QB_TYPE_BYTES), QStringLiteral("Unsupported data type (128)"));
    EXPECT_EQ(plugin.lastErrorText(), QStringLiteral("Unsupported data type (128)"));
    const BlobValue v{nullptr, QB_TYPE_STR};
    plugin.test(&v);
    EXPECT_EQ(plugin.lastErrorText(), std::nullopt) << "a test clears the error text";
}

} // namespace
} // namespace qbtest
