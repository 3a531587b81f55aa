// The REGEDIT4 writer: section order, value forms, byte-list breaking, escaping, failures.
#include "common/settings/RegistryScriptWriter.h"
#include "common/settings/SettingsNumber.h"
#include "support/SettingsTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QList>

using namespace qb::settings;
using namespace qb::reg;
using qbtest::setValue;

namespace {

const QString kBase = QStringLiteral("Software\\Writer\\1.6");

QList<QByteArray> lines(const QByteArray& script)
{
    QList<QByteArray> out = script.split('\n');
    EXPECT_TRUE(out.last().isEmpty()) << "the script ends with a line end";
    out.removeLast();
    for (QByteArray& line : out) {
        EXPECT_TRUE(line.endsWith('\r')) << line.toStdString();
        line.chop(1);
    }
    return out;
}

QByteArray scriptOf(const QString& keyPath = kBase)
{
    return buildRegistryScript(QStringLiteral("HKEY_CURRENT_USER"), keyPath).text;
}

void createKey(const QString& path)
{
    KeyGuard key;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, path, key.out()), ERROR_SUCCESS);
}

class RegistryScriptWriterTest : public ::testing::Test {
protected:
    qbtest::ScopedRegistryDir m_registry;
};

TEST_F(RegistryScriptWriterTest, SectionsComeDepthFirstInEnumerationOrder)
{
    // Created out of order: the enumeration (case-insensitive name order) decides.
    createKey(kBase + "\\view\\xElement#1");
    createKey(kBase + "\\Properties\\General");
    createKey(kBase + "\\Properties\\Appearance\\TreeWnd");
    createKey(kBase + "\\Properties\\Appearance\\ListWnd");
    createKey(kBase + "\\Properties\\Appearance\\ReportWnd");
    QByteArray sections;
    for (const QByteArray& line : lines(scriptOf()))
        if (line.startsWith('['))
            sections += line.mid(28) + ' '; // after "[HKEY_CURRENT_USER\Software\"
    EXPECT_EQ(sections.toStdString(),
              "Writer\\1.6] Writer\\1.6\\Properties] Writer\\1.6\\Properties\\Appearance] "
              "Writer\\1.6\\Properties\\Appearance\\ListWnd] Writer\\1.6\\Properties\\Appearance\\ReportWnd] "
              "Writer\\1.6\\Properties\\Appearance\\TreeWnd] Writer\\1.6\\Properties\\General] "
              "Writer\\1.6\\view] Writer\\1.6\\view\\xElement#1] ");
}

TEST_F(RegistryScriptWriterTest, HeaderEmptyLinesAndKeysWithoutValues)
{
    createKey(kBase + "\\empty");
    setValue(kBase, QStringLiteral("IsShowGrid"), REG_SZ, qbtest::regSz(QStringLiteral("0")));
    EXPECT_EQ(scriptOf(), QByteArray("REGEDIT4\r\n\r\n"
                                     "[HKEY_CURRENT_USER\\Software\\Writer\\1.6]\r\n"
                                     "\"IsShowGrid\" = \"0\"\r\n"
                                     "\r\n"
                                     "[HKEY_CURRENT_USER\\Software\\Writer\\1.6\\empty]\r\n"));
}

TEST_F(RegistryScriptWriterTest, ValueForms)
{
    KeyGuard key;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, kBase, key.out()), ERROR_SUCCESS);
    ASSERT_EQ(writeNumberValue(key.get(), QStringLiteral("IsShowGrid"), 0), ERROR_SUCCESS); // 250 padded bytes
    ASSERT_EQ(writeDwordValue(key.get(), QStringLiteral("SingleInstance"), 0xAB), ERROR_SUCCESS);
    setValue(kBase, QString(), REG_SZ, qbtest::regSz(QStringLiteral("default")));
    setValue(kBase, QStringLiteral("path"), REG_SZ, qbtest::regSz(QStringLiteral("C:\\a \"b\"")));
    setValue(kBase, QStringLiteral("na\"me\\"), REG_SZ, qbtest::regSz(QStringLiteral("x")));
    setValue(kBase, QStringLiteral("empty"), REG_BINARY, QByteArray());
    setValue(kBase, QStringLiteral("expand"), REG_EXPAND_SZ, QByteArray("A\0\0\0", 4));
    setValue(kBase, QStringLiteral("multi"), REG_MULTI_SZ, QByteArray());
    setValue(kBase, QStringLiteral("text"), REG_SZ, qbtest::regSz(QStringLiteral("gr\u00FCn")));
    const auto got = lines(scriptOf());
    ASSERT_EQ(got.size(), 12);
    EXPECT_EQ(got[3], "\"IsShowGrid\" = \"0\"");
    EXPECT_EQ(got[4], "\"SingleInstance\" = dword:000000ab");
    EXPECT_EQ(got[5], "@ = \"default\"");
    EXPECT_EQ(got[6], "\"path\" = \"C:\\\\a \\\"b\\\"\"");
    EXPECT_EQ(got[7], "\"na\\\"me\\\\\" = \"x\"");
    EXPECT_EQ(got[8], "\"empty\" = hex:");
    EXPECT_EQ(got[9], "\"expand\" = hex(2):41,00,00,00,");
    EXPECT_EQ(got[10], "\"multi\" = hex(7):");
    EXPECT_EQ(got[11], "\"text\" = \"gr\xC3\xBCn\"");
}

TEST_F(RegistryScriptWriterTest, SixtyBytesBreakAfter22And21)
{
    QByteArray data;
    for (int i = 0; i < 60; ++i)
        data.append(char(i));
    setValue(kBase, QStringLiteral("report"), REG_BINARY, data);
    const auto got = lines(scriptOf());
    ASSERT_EQ(got.size(), 6);
    EXPECT_EQ(got[3], "\"report\" = hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\");
    EXPECT_EQ(got[4], "16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,\\");
    EXPECT_EQ(got[5], "2b,2c,2d,2e,2f,30,31,32,33,34,35,36,37,38,39,3a,3b,");
}

TEST_F(RegistryScriptWriterTest, ByteListFillingItsLastLineLeavesAnEmptyLine)
{
    setValue(kBase, QStringLiteral("b"), REG_BINARY, QByteArray(22, '\xff'));
    const auto got = lines(scriptOf());
    ASSERT_EQ(got.size(), 5);
    EXPECT_TRUE(got[3].endsWith("ff,ff,\\"));
    EXPECT_EQ(got[4], "");
}

TEST_F(RegistryScriptWriterTest, TypesWithoutAFormAndUnfitDataBecomeHexLists)
{
    setValue(kBase, QStringLiteral("none"), REG_NONE, QByteArray("\x01", 1));
    setValue(kBase, QStringLiteral("big"), REG_DWORD_BIG_ENDIAN, QByteArray("\0\0\0\x01", 4));
    setValue(kBase, QStringLiteral("link"), REG_LINK, QByteArray("\x02", 1));
    setValue(kBase, QStringLiteral("qword"), REG_QWORD, QByteArray(8, '\x03'));
    setValue(kBase, QStringLiteral("short dword"), REG_DWORD, QByteArray("\x04\x05", 2));
    setValue(kBase, QStringLiteral("lines"), REG_SZ, qbtest::regSz(QStringLiteral("a\nb")));
    const auto got = lines(scriptOf());
    ASSERT_EQ(got.size(), 9);
    EXPECT_EQ(got[3], "\"none\" = hex(0):01,");
    EXPECT_EQ(got[4], "\"big\" = hex(5):00,00,00,01,");
    EXPECT_EQ(got[5], "\"link\" = hex(6):02,");
    EXPECT_EQ(got[6], "\"qword\" = hex(11):03,03,03,03,03,03,03,03,");
    EXPECT_EQ(got[7], "\"short dword\" = hex(4):04,05,");
    EXPECT_EQ(got[8], "\"lines\" = hex(1):61,00,0a,00,62,00,00,00,");
}

TEST_F(RegistryScriptWriterTest, MissingStartKeyOrUnknownRootGivesErrorLine)
{
    const RegistryScriptText missing = buildRegistryScript(QStringLiteral("HKEY_CURRENT_USER"), QStringLiteral("Software\\Nope"));
    EXPECT_EQ(missing.text, QByteArray("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Nope]\r\n\r\nError\r\n"));
    EXPECT_EQ(missing.errorLines, 1);
    const RegistryScriptText unknown = buildRegistryScript(QStringLiteral("HKEY_NOWHERE"), QStringLiteral("x"));
    EXPECT_EQ(unknown.text, QByteArray("REGEDIT4\r\n\r\n[HKEY_NOWHERE\\x]\r\n\r\nError\r\n"));
}

TEST_F(RegistryScriptWriterTest, EmptyKeyPathExportsTheWholeRoot)
{
    setValue(QStringLiteral("A"), QStringLiteral("v"), REG_DWORD, qbtest::dwordData(1));
    const auto got = lines(buildRegistryScript(QStringLiteral("HKEY_CURRENT_USER"), QString()).text);
    ASSERT_EQ(got.size(), 6);
    EXPECT_EQ(got[2], "[HKEY_CURRENT_USER]");
    EXPECT_EQ(got[4], "[HKEY_CURRENT_USER\\A]");
}

TEST_F(RegistryScriptWriterTest, FileThatCannotBeCreatedIsReported)
{
    setValue(kBase, QStringLiteral("v"), REG_DWORD, qbtest::dwordData(1));
    QStringList messages;
    const auto report = [&messages](const QString& caption, const QString& text) { messages << caption << text; };
    const QString target = m_registry.dir().qfile("no-such-folder/out.reg");
    EXPECT_FALSE(writeRegistryScript(QStringLiteral("HKEY_CURRENT_USER"), kBase, target, report));
    EXPECT_EQ(messages, QStringList({"Registry export", "Error while creating the file"}));
    EXPECT_FALSE(QFileInfo::exists(target));

    const QString good = m_registry.dir().qfile("out.reg");
    qbtest::writeFile(good, "old content that is longer than the script ..........................................");
    ASSERT_TRUE(writeRegistryScript(QStringLiteral("HKEY_CURRENT_USER"), kBase, good, report));
    EXPECT_EQ(qbtest::readFile(good), scriptOf());
}

} // namespace
