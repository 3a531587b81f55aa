// The registry calls as the settings code, the export and the recent list use them: typed values,
// names without regard to case, enumeration order and codes, buffer sizes, deleting.
#include "platform/Registry.h"
#include "support/TempDir.h"
#include "RegistryTestSupport.h"

#include <gtest/gtest.h>

using namespace qb::reg;
using qbtest::paddedText;
using qbtest::readValue;
using qbtest::RegValue;
using qbtest::subKeyNames;
using qbtest::valueNames;
using qbtest::writeValue;

namespace {

class Registry : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, QStringLiteral("Software\\Marrowind\\quillbase"), m_root.out()), ERROR_SUCCESS); }
    HKEY root() const { return m_root.get(); }

    qbtest::ScopedRegistryDir m_dir;
    KeyGuard m_root;
};

TEST_F(Registry, TypedValuesComeBackByteForByte)
{
    QByteArray binary;
    for (int i = 0; i < 300; ++i)
        binary.append(char(i * 7));
    const QByteArray multi = paddedText(QStringLiteral("one"), 8) + paddedText(QStringLiteral("two"), 8) + QByteArray(2, '\0');
    const uint32_t dword = 0xdeadbeef;
    const std::vector<std::pair<QString, RegValue>> values = {
        {QStringLiteral("IsShowGrid"), {REG_SZ, paddedText(QStringLiteral("0"), 250)}}, // the settings' 250-byte numbers
        {QStringLiteral("Path"), {REG_EXPAND_SZ, paddedText(QStringLiteral("%HOME%/x"), 18)}},
        {QStringLiteral("Docking"), {REG_BINARY, binary}},
        {QStringLiteral("SingleInstance"), {REG_DWORD, QByteArray(reinterpret_cast<const char*>(&dword), 4)}},
        {QStringLiteral("List"), {REG_MULTI_SZ, multi}},
        {QStringLiteral("Nothing"), {REG_BINARY, {}}},
        {QStringLiteral("Odd type"), {0x12345u, QByteArray("\x01\x00\x02", 3)}},
        {QString(), {REG_SZ, paddedText(QStringLiteral("default"), 16)}},
    };
    for (const auto& [name, value] : values)
        ASSERT_EQ(writeValue(root(), name, value.type, value.data), ERROR_SUCCESS) << qPrintable(name);

    for (const auto& [name, value] : values)
        EXPECT_EQ(readValue(root(), name), value) << qPrintable(name);
    for (uint32_t i = 0; i < values.size(); ++i) {
        QString name;
        RegValue value;
        value.data.resize(values[i].second.data.size());
        uint32_t size = uint32_t(value.data.size());
        ASSERT_EQ(RegEnumValue(root(), i, &name, &value.type, value.data.data(), &size), ERROR_SUCCESS);
        EXPECT_EQ(name, values[i].first);
        EXPECT_EQ(value, values[i].second) << qPrintable(name);
    }
}

TEST_F(Registry, NamesCompareWithoutCaseAndKeepTheirFirstSpelling)
{
    KeyGuard key;
    uint32_t disposition = 0;
    ASSERT_EQ(RegCreateKeyEx(root(), QStringLiteral("Qorvex\\1.6"), key.out(), &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    ASSERT_EQ(writeValue(key.get(), QStringLiteral("IsShowGrid"), REG_SZ, paddedText(QStringLiteral("1"), 250)), ERROR_SUCCESS);

    KeyGuard again;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, QStringLiteral("SOFTWARE\\marrowind\\QUILLBASE\\qorvex\\1.6"), again.out(), &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    EXPECT_TRUE(readValue(again.get(), QStringLiteral("isshowgrid")));

    // Overwriting under another spelling changes the data, not the name.
    ASSERT_EQ(writeValue(again.get(), QStringLiteral("ISSHOWGRID"), REG_SZ, paddedText(QStringLiteral("0"), 250)), ERROR_SUCCESS);
    EXPECT_EQ(valueNames(key.get()), QStringList{QStringLiteral("IsShowGrid")});
    EXPECT_EQ(readValue(key.get(), QStringLiteral("IsShowGrid"))->data, paddedText(QStringLiteral("0"), 250));
    EXPECT_EQ(subKeyNames(root()), QStringList{QStringLiteral("Qorvex")});

    // Beyond ASCII: German umlauts, Greek with its final sigma.
    KeyGuard umlaut, greek;
    ASSERT_EQ(RegCreateKeyEx(root(), QStringLiteral("Ärger"), umlaut.out()), ERROR_SUCCESS);
    ASSERT_EQ(writeValue(umlaut.get(), QStringLiteral("Σίσυφος"), REG_DWORD, QByteArray(4, '\1')), ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyEx(root(), QStringLiteral("äRGER"), greek.out()), ERROR_SUCCESS);
    EXPECT_TRUE(readValue(greek.get(), QStringLiteral("ΣΊΣΥΦΟΣ")));
    EXPECT_EQ(RegDeleteValue(greek.get(), QStringLiteral("σίσυφοσ")), ERROR_SUCCESS);
}

TEST_F(Registry, SubkeysEnumerateInCaseInsensitiveOrderAndValuesInCreationOrder)
{
    for (const char* name : {"beta", "_under", "Alpha", "gamma", "ALPHA2", "Zeta", "1.6"}) {
        KeyGuard key;
        ASSERT_EQ(RegCreateKeyEx(root(), QString::fromLatin1(name), key.out()), ERROR_SUCCESS);
    }
    // Upper-case order: "_" comes after the letters.
    EXPECT_EQ(subKeyNames(root()), (QStringList{"1.6", "Alpha", "ALPHA2", "beta", "gamma", "Zeta", "_under"}));

    for (const char* name : {"Document2", "DocumentCount", "Document1"})
        ASSERT_EQ(writeValue(root(), QString::fromLatin1(name), REG_DWORD, QByteArray(4, '\0')), ERROR_SUCCESS);
    ASSERT_EQ(writeValue(root(), QStringLiteral("documentcount"), REG_DWORD, QByteArray(4, '\4')), ERROR_SUCCESS);
    EXPECT_EQ(valueNames(root()), (QStringList{"Document2", "DocumentCount", "Document1"})) << "an overwrite keeps its place";
    ASSERT_EQ(RegDeleteValue(root(), QStringLiteral("Document2")), ERROR_SUCCESS);
    ASSERT_EQ(writeValue(root(), QStringLiteral("Document2"), REG_SZ, {}), ERROR_SUCCESS);
    EXPECT_EQ(valueNames(root()), (QStringList{"DocumentCount", "Document1", "Document2"})) << "a value written anew goes last";

    QString name;
    EXPECT_EQ(RegEnumKeyEx(root(), 7, &name), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RegEnumValue(root(), 3, &name, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    KeyGuard empty;
    ASSERT_EQ(RegOpenKeyEx(root(), QStringLiteral("gamma"), empty.out()), ERROR_SUCCESS);
    EXPECT_EQ(RegEnumKeyEx(empty.get(), 0, &name), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RegEnumValue(empty.get(), 0, &name, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
}

TEST_F(Registry, TooSmallBufferGetsMoreDataAndTheSizeNeeded)
{
    const QByteArray data = paddedText(QStringLiteral("12345"), 250);
    ASSERT_EQ(writeValue(root(), QStringLiteral("Width"), REG_SZ, data), ERROR_SUCCESS);

    uint32_t type = 0, size = 0;
    EXPECT_EQ(RegQueryValueEx(root(), QStringLiteral("Width"), &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 250u);
    EXPECT_EQ(type, REG_SZ);

    QByteArray buffer(249, 'x');
    size = 249;
    EXPECT_EQ(RegQueryValueEx(root(), QStringLiteral("Width"), &type, buffer.data(), &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 250u);
    EXPECT_EQ(buffer, QByteArray(249, 'x')) << "nothing is copied into a buffer too small";

    buffer = QByteArray(1002, 'x'); // the settings read with a larger buffer than needed
    size = 1002;
    EXPECT_EQ(RegQueryValueEx(root(), QStringLiteral("Width"), &type, buffer.data(), &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 250u);
    EXPECT_EQ(buffer.left(250), data);

    QString name;
    size = 10;
    EXPECT_EQ(RegEnumValue(root(), 0, &name, &type, buffer.data(), &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 250u);
    EXPECT_EQ(RegEnumValue(root(), 0, &name, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 250u);
}

TEST_F(Registry, QueryInfoKeyCountsAndMeasures)
{
    KeyInfo info;
    ASSERT_EQ(RegQueryInfoKey(root(), &info), ERROR_SUCCESS);
    EXPECT_EQ(info.subKeys + info.values + info.maxSubKeyLen + info.maxValueNameLen + info.maxValueLen, 0u);

    for (const char* name : {"view", "Properties", "Recent Document List"}) {
        KeyGuard key;
        ASSERT_EQ(RegCreateKeyEx(root(), QString::fromLatin1(name), key.out()), ERROR_SUCCESS);
    }
    ASSERT_EQ(writeValue(root(), QStringLiteral("A"), REG_BINARY, QByteArray(60, '\1')), ERROR_SUCCESS);
    ASSERT_EQ(writeValue(root(), QStringLiteral("ShowTipOfTheDay"), REG_DWORD, QByteArray(4, '\0')), ERROR_SUCCESS);
    ASSERT_EQ(writeValue(root(), QStringLiteral("𝔘"), REG_SZ, {}), ERROR_SUCCESS); // two UTF-16 code units
    ASSERT_EQ(RegQueryInfoKey(root(), &info), ERROR_SUCCESS);
    EXPECT_EQ(info.subKeys, 3u);
    EXPECT_EQ(info.maxSubKeyLen, 20u);
    EXPECT_EQ(info.values, 3u);
    EXPECT_EQ(info.maxValueNameLen, 15u);
    EXPECT_EQ(info.maxValueLen, 60u);
}

TEST_F(Registry, DeleteTreeRemovesTheSubtreeOnly)
{
    KeyGuard deep, sibling;
    ASSERT_EQ(RegCreateKeyEx(root(), QStringLiteral("view\\xElement#1\\deeper"), deep.out()), ERROR_SUCCESS);
    ASSERT_EQ(writeValue(deep.get(), QStringLiteral("v"), REG_DWORD, QByteArray(4, '\0')), ERROR_SUCCESS);
    ASSERT_EQ(RegCreateKeyEx(root(), QStringLiteral("viewer"), sibling.out()), ERROR_SUCCESS);
    ASSERT_EQ(writeValue(root(), QStringLiteral("kept"), REG_DWORD, QByteArray(4, '\0')), ERROR_SUCCESS);

    EXPECT_EQ(RegDeleteTree(root(), QStringLiteral("VIEW")), ERROR_SUCCESS);
    EXPECT_EQ(subKeyNames(root()), QStringList{QStringLiteral("viewer")});
    EXPECT_EQ(valueNames(root()), QStringList{QStringLiteral("kept")});
    EXPECT_EQ(RegDeleteTree(root(), QStringLiteral("view")), ERROR_FILE_NOT_FOUND);

    // Without a path the key itself is emptied of subkeys and values, and stays.
    EXPECT_EQ(RegDeleteTree(root(), QString()), ERROR_SUCCESS);
    KeyInfo info;
    ASSERT_EQ(RegQueryInfoKey(root(), &info), ERROR_SUCCESS);
    EXPECT_EQ(info.subKeys + info.values, 0u);
    KeyGuard reopened;
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, QStringLiteral("Software\\Marrowind\\quillbase"), reopened.out()), ERROR_SUCCESS);
}

TEST_F(Registry, MissingKeysAndValuesAnswerFileNotFound)
{
    KeyGuard key;
    EXPECT_EQ(RegOpenKeyEx(root(), QStringLiteral("Recent Document List"), key.out()), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(key);
    uint32_t size = 0;
    EXPECT_EQ(RegQueryValueEx(root(), QStringLiteral("DocumentCount"), nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteValue(root(), QStringLiteral("Document15")), ERROR_FILE_NOT_FOUND);
    // Empty parts of a path are skipped, and an empty path opens the key itself anew.
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, QStringLiteral("\\Software\\\\Marrowind\\quillbase\\"), key.out()), ERROR_SUCCESS);
    KeyGuard same;
    ASSERT_EQ(RegOpenKeyEx(key.get(), QString(), same.out()), ERROR_SUCCESS);
    EXPECT_NE(same.get(), key.get());
    ASSERT_EQ(writeValue(same.get(), QStringLiteral("x"), REG_DWORD, QByteArray(4, '\0')), ERROR_SUCCESS);
    EXPECT_TRUE(readValue(root(), QStringLiteral("X")));
}

TEST_F(Registry, HandleToADeletedKeyFailsWithoutHarm)
{
    KeyGuard doomed;
    ASSERT_EQ(RegCreateKeyEx(root(), QStringLiteral("doomed\\child"), doomed.out()), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteTree(root(), QStringLiteral("doomed")), ERROR_SUCCESS);

    QString name;
    KeyInfo info;
    KeyGuard sub;
    EXPECT_EQ(writeValue(doomed.get(), QStringLiteral("v"), REG_DWORD, QByteArray(4, '\0')), ERROR_KEY_DELETED);
    EXPECT_FALSE(readValue(doomed.get(), QStringLiteral("v")));
    EXPECT_EQ(RegEnumKeyEx(doomed.get(), 0, &name), ERROR_KEY_DELETED);
    EXPECT_EQ(RegQueryInfoKey(doomed.get(), &info), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCreateKeyEx(doomed.get(), QStringLiteral("grandchild"), sub.out()), ERROR_KEY_DELETED);

    // The same path made again is a new key; the old handle does not wake up on it.
    KeyGuard reborn;
    ASSERT_EQ(RegCreateKeyEx(root(), QStringLiteral("doomed\\child"), reborn.out()), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryInfoKey(doomed.get(), &info), ERROR_KEY_DELETED);
    EXPECT_EQ(RegQueryInfoKey(reborn.get(), &info), ERROR_SUCCESS);
}

TEST_F(Registry, BadHandlesAndArgumentsAreRefused)
{
    HKEY closed = nullptr;
    ASSERT_EQ(RegOpenKeyEx(root(), QString(), &closed), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(closed), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(closed), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(nullptr), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
    KeyGuard key;
    EXPECT_EQ(RegOpenKeyEx(closed, QString(), key.out()), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegSetValueEx(nullptr, QStringLiteral("v"), REG_DWORD, "abcd", 4), ERROR_INVALID_HANDLE);

    const QString loneSurrogate(QChar(0xd800));
    EXPECT_EQ(RegCreateKeyEx(root(), loneSurrogate, key.out()), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCreateKeyEx(root(), QString(256, QLatin1Char('k')), key.out()), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCreateKeyEx(root(), QString(255, QLatin1Char('k')), key.out()), ERROR_SUCCESS);
    EXPECT_EQ(RegCreateKeyEx(root(), QStringLiteral("x"), nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueEx(root(), QStringLiteral("v"), REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueEx(root(), QStringLiteral("a") + QChar(0) + QStringLiteral("b"), REG_DWORD, "abcd", 4), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(isValidValueName(QStringLiteral("a") + QChar(0)));
    EXPECT_FALSE(isValidValueName(QString(kMaxValueNameLength + 1, QLatin1Char('v'))));
    EXPECT_TRUE(isValidValueName(QString(kMaxValueNameLength, QLatin1Char('v'))));
    EXPECT_FALSE(isValidKeyPath(loneSurrogate));
    // Prior to the fix these were stored, and enumerated back with U+FFFD in their place: a name
    // that then found nothing.
    for (const QChar nonCharacter : {QChar(0xFFFE), QChar(0xFFFF)}) {
        EXPECT_EQ(RegSetValueEx(root(), QStringLiteral("v") + nonCharacter, REG_DWORD, "abcd", 4), ERROR_INVALID_PARAMETER);
        EXPECT_EQ(RegCreateKeyEx(root(), QStringLiteral("k") + nonCharacter, key.out()), ERROR_INVALID_PARAMETER);
    }
    char buffer[4];
    EXPECT_EQ(RegQueryValueEx(root(), QStringLiteral("v"), nullptr, buffer, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryInfoKey(root(), nullptr), ERROR_INVALID_PARAMETER);
}

// Prior to the depth limit a script of a 100,000-deep path imported, and exporting it then held
// every level's full path at once: memory growing with the square of the depth.
TEST_F(Registry, KeysLieAtMostMaxDepthBelowTheirRoot)
{
    const auto path = [](int depth) {
        QStringList names;
        for (int i = 0; i < depth; ++i)
            names.append(QStringLiteral("k"));
        return names.join(u'\\');
    };
    EXPECT_TRUE(isValidKeyPath(path(kMaxKeyDepth)));
    EXPECT_FALSE(isValidKeyPath(path(kMaxKeyDepth + 1)));
    KeyGuard key;
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, path(kMaxKeyDepth + 1), key.out()), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, path(100000), key.out()), ERROR_INVALID_PARAMETER);

    // root() lies three levels down: the limit counts from the root, not from the handle.
    KeyGuard deepest;
    EXPECT_EQ(RegCreateKeyEx(root(), path(kMaxKeyDepth - 2), key.out()), ERROR_INVALID_PARAMETER);
    ASSERT_EQ(RegCreateKeyEx(root(), path(kMaxKeyDepth - 3), deepest.out()), ERROR_SUCCESS);
    EXPECT_EQ(RegCreateKeyEx(deepest.get(), QStringLiteral("below"), key.out()), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCreateKeyEx(root(), path(kMaxKeyDepth - 3), key.out()), ERROR_SUCCESS); // it exists: opened
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, QStringLiteral("Software\\Marrowind\\quillbase\\") + path(kMaxKeyDepth - 3), key.out()),
              ERROR_SUCCESS);
}

TEST_F(Registry, PredefinedRootsWithoutAHiveHoldNothingAndRefuseWrites)
{
    for (HKEY root : {HKEY_USERS, HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA}) {
        KeyGuard key;
        QString name;
        EXPECT_EQ(RegOpenKeyEx(root, QStringLiteral("Software"), key.out()), ERROR_FILE_NOT_FOUND);
        EXPECT_EQ(RegCreateKeyEx(root, QStringLiteral("Software"), key.out()), ERROR_ACCESS_DENIED);
        EXPECT_EQ(RegSetValueEx(root, QStringLiteral("v"), REG_DWORD, "abcd", 4), ERROR_ACCESS_DENIED);
        EXPECT_EQ(RegEnumKeyEx(root, 0, &name), ERROR_NO_MORE_ITEMS);
        EXPECT_TRUE(hiveFilePath(root).isEmpty());
        EXPECT_EQ(rootByName(rootName(root).toLower()), root);
    }
    EXPECT_EQ(rootByName(QStringLiteral("HKEY_CURRENT_USER")), HKEY_CURRENT_USER);
    EXPECT_EQ(rootByName(QStringLiteral("HKCU")), nullptr);
    EXPECT_TRUE(rootName(root()).isEmpty());
}

TEST_F(Registry, EachHiveRootIsItsOwnTree)
{
    ASSERT_EQ(writeValue(root(), QStringLiteral("core path"), REG_SZ, paddedText(QStringLiteral("/opt/q/"), 16)), ERROR_SUCCESS);
    KeyGuard machine, classes;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Marrowind\\quillbase"), machine.out()), ERROR_SUCCESS);
    EXPECT_FALSE(readValue(machine.get(), QStringLiteral("core path")));
    ASSERT_EQ(RegCreateKeyEx(HKEY_CLASSES_ROOT, QStringLiteral("CLSID"), classes.out()), ERROR_SUCCESS);
    EXPECT_EQ(subKeyNames(HKEY_CLASSES_ROOT), QStringList{QStringLiteral("CLSID")});
    EXPECT_EQ(subKeyNames(HKEY_LOCAL_MACHINE), QStringList{QStringLiteral("SOFTWARE")});
    EXPECT_EQ(subKeyNames(HKEY_CURRENT_USER), QStringList{QStringLiteral("Software")});
}

} // namespace
