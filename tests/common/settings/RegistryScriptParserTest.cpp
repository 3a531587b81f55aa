// The REGEDIT4 reader: the forms other writers use, rejection of malformed scripts with the line,
// all or nothing, and export followed by import reproducing the tree.
#include "common/settings/RegistryScriptParser.h"
#include "common/settings/RegistryScriptWriter.h"
#include "common/settings/SettingsNumber.h"
#include "platform/BrelibException.h"
#include "support/SettingsTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace qb::settings;
using namespace qb::reg;
using Kind = RegistryScriptEntry::Kind;

namespace {

ParsedRegistryScript parse(const char* text)
{
    return parseRegistryScript(QByteArray(text));
}

// The message of the rejection, or "accepted".
std::string rejection(const QByteArray& text)
{
    try {
        parseRegistryScript(text);
    } catch (const Brelib::exception& e) {
        return e.what();
    }
    return "accepted";
}

TEST(RegistryScriptParserTest, ReadsTheFormsOfOtherWriters)
{
    const auto script = parse("\xEF\xBB\xBFREGEDIT4\n"
                              "; a comment\n"
                              "\n"
                              "[HKEY_CURRENT_USER\\Software\\T]\n"
                              "\"plain\"=\"a\\\\b \\\"q\\\"\"\n"
                              "  \"spaced\"   =   \"x\"  \n"
                              "@=\"default\"\n"
                              "\"d\"=dword:2A\n"
                              "\"bin\"=hex:01,02,\\\n"
                              "  03,04\n"
                              "\"t11\"=hex(b):01,02,03,04,05,06,07,08\n"
                              "\"t10\"=hex(10):ff\n"
                              "\"gone\"=-\n"
                              "[-HKEY_CURRENT_USER\\Software\\Old]\r\n"
                              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\X]\r");
    ASSERT_EQ(script.entries.size(), 11u);
    const auto& e = script.entries;
    EXPECT_EQ(e[0].kind, Kind::Key);
    EXPECT_EQ(e[0].rootName, QStringLiteral("HKEY_CURRENT_USER"));
    EXPECT_EQ(e[0].keyPath, QStringLiteral("Software\\T"));
    EXPECT_EQ(e[0].line, 4);
    EXPECT_EQ(e[1].valueName, QStringLiteral("plain"));
    EXPECT_EQ(e[1].type, REG_SZ);
    EXPECT_EQ(e[1].data, qbtest::regSz(QStringLiteral("a\\b \"q\"")));
    EXPECT_EQ(e[2].valueName, QStringLiteral("spaced"));
    EXPECT_EQ(e[3].valueName, QString());
    EXPECT_EQ(e[4].type, REG_DWORD);
    EXPECT_EQ(e[4].data, qbtest::dwordData(42));
    EXPECT_EQ(e[5].type, REG_BINARY);
    EXPECT_EQ(e[5].data, QByteArray("\x01\x02\x03\x04"));
    EXPECT_EQ(e[6].type, REG_QWORD);  // letters: hexadecimal, as other writers write it
    EXPECT_EQ(e[7].type, 10u);        // digits only: decimal, as our writer writes it
    EXPECT_EQ(e[8].kind, Kind::RemoveValue);
    EXPECT_EQ(e[9].kind, Kind::RemoveKey);
    EXPECT_EQ(e[10].rootName, QStringLiteral("HKEY_LOCAL_MACHINE"));
    EXPECT_EQ(e[10].line, 15);
}

TEST(RegistryScriptParserTest, ContinuationEndsAtAnEmptyLine)
{
    // What the writer leaves when the bytes fill the last line exactly.
    const auto script = parse("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n"
                              "\"b\" = hex:01,02,\\\r\n\r\n\"c\" = dword:00000001\r\n");
    ASSERT_EQ(script.entries.size(), 3u);
    EXPECT_EQ(script.entries[1].data, QByteArray("\x01\x02"));
    EXPECT_EQ(script.entries[2].valueName, QStringLiteral("c"));
}

TEST(RegistryScriptParserTest, MalformedScriptsNameTheLine)
{
    const QByteArray head = "REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n";
    const std::pair<QByteArray, const char*> cases[] = {
        {"", "line 1: the script is empty; it must start with \"REGEDIT4\""},
        {"REGEDIT5\n[HKEY_CURRENT_USER\\A]\n", "line 1: not a REGEDIT4 script: the first line must be \"REGEDIT4\""},
        {"REGEDIT4\n\"v\"=\"x\"\n", "line 2: a value line before the first key line"},
        {head + "\"v\"=\"unterminated\n", "line 4: the string has no closing quote"},
        {head + "\"v\"=\"a\\nb\"\n", "line 4: unknown escape \"\\n\" in the string"},
        {head + "\"v\"=\"x\" trailing\n", "line 4: unexpected text after the closing quote"},
        {head + "\"v\" \"x\"\n", "line 4: \"=\" expected after the value name"},
        {head + "\"v\"=dword:123456789\n", "line 4: \"dword:\" needs 1 to 8 hexadecimal digits"},
        {head + "\"v\"=dword:xyz\n", "line 4: \"dword:\" needs 1 to 8 hexadecimal digits"},
        {head + "\"v\"=hex:01,\\\n02,zz\n", "line 5: \"zz\" is not a byte in hexadecimal"},
        {head + "\"v\"=hex:01,,02\n", "line 4: an empty byte in the list"},
        {head + "\"v\"=hex:100\n", "line 4: \"100\" is not a byte in hexadecimal"},
        {head + "\"v\"=hex:01,\\", "line 4: the byte list continues past the end of the script"},
        {head + "\"v\"=hex(q):01\n", "line 4: \"q\" is not a value type number"},
        {head + "\"v\"=text\n", "line 4: unknown value data \"text\""},
        {head + "[HKEY_CURRENT_USER\\A\n", "line 4: the key line has no closing \"]\""},
        {head + "[HKEY_NOWHERE\\A]\n", "line 4: unknown root key \"HKEY_NOWHERE\""},
        {head + "[HKEY_CURRENT_USER\\A\\\\B]\n", "line 4: the key path has an empty key name"},
        {head + "[-HKEY_CURRENT_USER]\n", "line 4: a root key cannot be removed"},
        {head + "[-HKEY_CURRENT_USER\\B]\n\"v\"=\"x\"\n", "line 5: a value line under a key removal"},
        {head + "\nError\n", "line 5: the script marks a key whose subtree could not be exported (\"Error\")"},
        {head + "junk\n", "line 4: not a key, value or comment line: \"junk\""},
        {head + "\"v\"=\"\xff\"\n", "line 4: the text is not valid UTF-8"},
        {head + "\"v\"=hex(" + QByteArray(100, '9') + "):01\n", "line 4: \"99999999999999999999\" is not a value type number"},
    };
    for (const auto& [text, message] : cases)
        EXPECT_EQ(rejection(text), message) << text.toStdString();
}

// What the registry would refuse half way through an import is refused by the parser, so the
// script is rejected whole. Prior to these checks the lines before the fault had been written.
TEST(RegistryScriptParserTest, WhatTheRegistryRefusesIsRefusedBeforeTheImport)
{
    const QByteArray head = "REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\"ok\"=\"1\"\n";
    QByteArray deep = "[HKEY_CURRENT_USER";
    for (int i = 0; i < 100000; ++i)
        deep += "\\k";
    const std::pair<QByteArray, const char*> cases[] = {
        {head + QByteArray("\"a\0b\"=\"x\"\n", 10), "line 5: the value name holds a character the registry cannot store (NUL, U+FFFE or U+FFFF)"},
        {head + "\"a\xEF\xBF\xBF\"=\"x\"\n", "line 5: the value name holds a character the registry cannot store (NUL, U+FFFE or U+FFFF)"},
        {head + "\"" + QByteArray(kMaxValueNameLength + 1, 'v') + "\"=\"x\"\n", "line 5: the value name is longer than 16383 characters"},
        {head + "[HKEY_CURRENT_USER\\" + QByteArray(kMaxKeyNameLength + 1, 'k') + "]\n", "line 5: a key name is longer than 255 characters"},
        {head + QByteArray("[HKEY_CURRENT_USER\\a\0]\n", 23), "line 5: a key name holds a character the registry cannot store (NUL, U+FFFE or U+FFFF)"},
        {head + "[HKEY_CURRENT_USER\\a\xEF\xBF\xBE]\n", "line 5: a key name holds a character the registry cannot store (NUL, U+FFFE or U+FFFF)"},
        {head + deep + "]\n", "line 5: the key path is deeper than 512 keys"},
        {head + "[HKEY_USERS\\X]\n", "line 5: the root key HKEY_USERS holds nothing here and cannot be written"},
        {head + "[-HKEY_DYN_DATA\\X]\n", "line 5: the root key HKEY_DYN_DATA holds nothing here and cannot be written"},
    };
    for (const auto& [text, message] : cases)
        EXPECT_EQ(rejection(text), message) << text.left(120).toStdString();

    QByteArray path = "[HKEY_CURRENT_USER";
    for (int i = 0; i < kMaxKeyDepth; ++i)
        path += "\\k";
    EXPECT_EQ(rejection(head + path + "]\n" + "\"" + QByteArray(kMaxValueNameLength, 'v') + "\"=\"x\"\n"), "accepted");
}

TEST(RegistryScriptParserTest, AHugeScriptIsRefusedAndALongByteListReadsWhole)
{
    // A 50 MB byte list: refused for its size, before any line is read.
    QByteArray huge = "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\"=hex:";
    huge.reserve(50 << 20);
    while (huge.size() < (50 << 20))
        huge += "01,";
    EXPECT_EQ(rejection(huge), "the script is larger than 16 MB: not a settings script");

    QByteArray list = "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\"=hex:";
    for (int i = 0; i < 1000000; ++i)
        list += i % 21 == 20 ? "ab,\\\n  " : "ab,";
    list += "cd\n";
    const auto script = parseRegistryScript(list);
    ASSERT_EQ(script.entries.size(), 2u);
    EXPECT_EQ(script.entries[1].data.size(), 1000001);
    EXPECT_EQ(script.entries[1].data.back(), '\xcd');
}

class RegistryImportTest : public ::testing::Test {
protected:
    // An empty registry. The old folder is left first: each ScopedRegistryDir restores what it found.
    void freshRegistry()
    {
        m_registry.reset();
        m_registry = std::make_unique<qbtest::ScopedRegistryDir>();
    }

    std::unique_ptr<qbtest::ScopedRegistryDir> m_registry = std::make_unique<qbtest::ScopedRegistryDir>();
    qbtest::TempDir m_files;
};

TEST_F(RegistryImportTest, ExportThenImportIntoAnEmptyRegistryReproducesTheTree)
{
    const QString base = QStringLiteral("Software\\Round\\trip");
    KeyGuard key;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, base, key.out()), ERROR_SUCCESS);
    ASSERT_EQ(writeDwordValue(key.get(), QStringLiteral("SingleInstance"), 0xFFFFFFFF), ERROR_SUCCESS);
    qbtest::setValue(base, QString(), REG_SZ, qbtest::regSz(QStringLiteral("default \"quoted\" \\ back")));
    qbtest::setValue(base, QStringLiteral("\u00C4rger \"n\""), REG_SZ, qbtest::regSz(QStringLiteral("\u03A3\u20AC")));
    QByteArray bytes;
    for (int i = 0; i < 300; ++i)
        bytes.append(char(i * 7));
    qbtest::setValue(base + "\\Sub\\Deep", QStringLiteral("record"), REG_BINARY, bytes);
    qbtest::setValue(base + "\\Sub\\Deep", QStringLiteral("exact"), REG_BINARY, QByteArray(43, '\x5a'));
    qbtest::setValue(base + "\\Sub", QStringLiteral("empty"), REG_BINARY, QByteArray());
    qbtest::setValue(base + "\\Sub", QStringLiteral("multi"), REG_MULTI_SZ, QByteArray("a\0b\0\0\0", 6));
    for (const uint32_t type : std::initializer_list<uint32_t>{REG_NONE, REG_EXPAND_SZ, REG_DWORD_BIG_ENDIAN, REG_LINK, REG_QWORD, 10, 12, 0x20000})
        qbtest::setValue(base + "\\types", QStringLiteral("t%1").arg(type), type, QByteArray("\x01\x02\x03\x04\x05", 5));
    qbtest::setValue(base + "\\types", QStringLiteral("short"), REG_DWORD, QByteArray("\x09", 1));
    qbtest::setValue(base + "\\types", QStringLiteral("lines"), REG_SZ, qbtest::regSz(QStringLiteral("one\r\ntwo")));
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, base + "\\No values", key.out()), ERROR_SUCCESS);
    key.reset();
    const auto original = qbtest::dumpTree(HKEY_CURRENT_USER, base);
    ASSERT_EQ(original.size(), 5u);

    const QString file = m_files.qfile("tree.reg");
    ASSERT_TRUE(writeRegistryScript(QStringLiteral("HKEY_CURRENT_USER"), base, file, nullptr));
    const QByteArray exported = qbtest::readFile(file);

    freshRegistry();
    ASSERT_TRUE(qbtest::dumpTree(HKEY_CURRENT_USER, base).empty());
    const ImportCounts counts = importRegistryScript(parseRegistryScript(exported));
    EXPECT_EQ(counts.keys, 5);
    EXPECT_EQ(counts.values, 17);
    EXPECT_EQ(qbtest::dumpTree(HKEY_CURRENT_USER, base), original);
    EXPECT_EQ(buildRegistryScript(QStringLiteral("HKEY_CURRENT_USER"), base).text, exported);
}

TEST_F(RegistryImportTest, PaddedNumberTextComesBackAsItsText)
{
    // The quoted form carries the text, not the zero padding after it; the number reads the same.
    const QString base = QStringLiteral("Software\\Padded");
    KeyGuard key;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, base, key.out()), ERROR_SUCCESS);
    ASSERT_EQ(writeNumberValue(key.get(), QStringLiteral("MaxBackupPoints"), 123), ERROR_SUCCESS);
    const QByteArray exported = buildRegistryScript(QStringLiteral("HKEY_CURRENT_USER"), base).text;
    key.reset();
    freshRegistry();
    importRegistryScript(parseRegistryScript(exported));
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, base, key.out()), ERROR_SUCCESS);
    EXPECT_EQ(readNumberValue(key.get(), QStringLiteral("MaxBackupPoints")), 123u);
    EXPECT_EQ(qbtest::getValue(base, QStringLiteral("MaxBackupPoints"))->data, qbtest::regSz(QStringLiteral("123")));
}

TEST_F(RegistryImportTest, TruncatedOrMalformedScriptChangesNothing)
{
    const QByteArray good = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\I]\r\n\"a\" = dword:00000001\r\n"
                            "\"b\" = hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\r\n"
                            "17,18,\r\n\r\n[HKEY_CURRENT_USER\\Software\\I\\J]\r\n\"c\" = \"text\"\r\n";
    // Cut inside the continued byte list, and inside the last string.
    for (const qsizetype cut : {good.indexOf("16,\\") + 5, good.size() - 5}) {
        const QByteArray truncated = good.left(cut);
        EXPECT_THROW(parseRegistryScript(truncated), Brelib::exception) << truncated.toStdString();
    }
    const QByteArray malformed = good + "\"d\" = dword:zz\r\n";
    try {
        importRegistryScript(parseRegistryScript(malformed));
        FAIL() << "accepted";
    } catch (const Brelib::exception& e) {
        EXPECT_EQ(std::string(e.what()), "line 10: \"dword:\" needs 1 to 8 hexadecimal digits");
    }
    EXPECT_FALSE(qbtest::keyExists(QStringLiteral("Software\\I")));

    importRegistryScript(parseRegistryScript(good));
    EXPECT_EQ(qbtest::getValue(QStringLiteral("Software\\I\\J"), QStringLiteral("c"))->data, qbtest::regSz(QStringLiteral("text")));
    EXPECT_EQ(qbtest::getValue(QStringLiteral("Software\\I"), QStringLiteral("b"))->data.size(), 24);
}

TEST_F(RegistryImportTest, RemovalLinesRemoveKeysAndValues)
{
    qbtest::setValue(QStringLiteral("Software\\R\\Old\\Deeper"), QStringLiteral("x"), REG_DWORD, qbtest::dwordData(1));
    qbtest::setValue(QStringLiteral("Software\\R"), QStringLiteral("keep"), REG_DWORD, qbtest::dwordData(1));
    qbtest::setValue(QStringLiteral("Software\\R"), QStringLiteral("drop"), REG_DWORD, qbtest::dwordData(1));
    importRegistryScript(parse("REGEDIT4\n[-HKEY_CURRENT_USER\\Software\\R\\Old]\n[-HKEY_CURRENT_USER\\Software\\R\\Never]\n"
                               "[HKEY_CURRENT_USER\\Software\\R]\n\"drop\"=-\n\"absent\"=-\n"));
    EXPECT_FALSE(qbtest::keyExists(QStringLiteral("Software\\R\\Old")));
    EXPECT_TRUE(qbtest::getValue(QStringLiteral("Software\\R"), QStringLiteral("keep")).has_value());
    EXPECT_FALSE(qbtest::getValue(QStringLiteral("Software\\R"), QStringLiteral("drop")).has_value());
}

TEST_F(RegistryImportTest, RegistryFailureNamesTheLine)
{
    // A folder where the hive file should be: the hive cannot be opened, so nothing can be stored.
    std::filesystem::create_directory(std::filesystem::path(qgetenv("QUILLBASE_REGISTRY_DIR").toStdString()) /
                                      "HKEY_CURRENT_USER.hive");
    try {
        importRegistryScript(parse("REGEDIT4\n\n[HKEY_CURRENT_USER\\X]\n"));
        FAIL() << "accepted";
    } catch (const Brelib::exception& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith(QStringLiteral("line 3: cannot create the key HKEY_CURRENT_USER\\X")))
            << e.what();
    }
}

} // namespace
