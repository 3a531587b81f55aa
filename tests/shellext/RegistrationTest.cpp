// Registration against a private registry and data folder: the class keys it writes, the action
// files, and that unregistering leaves things as they were.
#include "platform/Registry.h"
#include "shellext/ActionFiles.h"
#include "shellext/ContextMenu.h"
#include "shellext/RegistryText.h"
#include "shellext/ServerRegistration.h"
#include "shellext/ShellExtKeys.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <map>

using namespace qb::shellext;
using namespace qb::reg;

namespace {

// Every key below the root with its values' types and bytes, keyed by the key's path.
using Tree = std::map<QString, std::map<QString, std::pair<uint32_t, QByteArray>>>;

void dump(HKEY key, const QString& path, Tree& tree)
{
    auto& values = tree[path];
    QString name;
    for (uint32_t i = 0;; ++i) {
        uint32_t type = 0, size = 0;
        if (RegEnumValue(key, i, &name, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        QByteArray data(size, '\0');
        RegEnumValue(key, i, &name, &type, data.data(), &size);
        values[name] = {type, data};
    }
    for (uint32_t i = 0; RegEnumKeyEx(key, i, &name) == ERROR_SUCCESS; ++i) {
        KeyGuard child;
        if (RegOpenKeyEx(key, name, child.out()) == ERROR_SUCCESS)
            dump(child.get(), path + QLatin1Char('\\') + name, tree);
    }
}

Tree classesRoot()
{
    Tree tree;
    dump(HKEY_CLASSES_ROOT, QString(), tree);
    return tree;
}

QString text(const QString& key, const QString& name = QString())
{
    KeyGuard handle;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, key, handle.out()) != ERROR_SUCCESS)
        return QStringLiteral("<no key>");
    return readText(handle.get(), name).value_or(QStringLiteral("<no value>"));
}

void setClassText(const QString& key, const QString& name, const QString& value)
{
    KeyGuard handle;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CLASSES_ROOT, key, handle.out()), ERROR_SUCCESS);
    ASSERT_EQ(writeText(handle.get(), name, value), ERROR_SUCCESS);
}

QStringList filesBelow(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

QString readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QStringLiteral("<unreadable>");
}

class RegistrationTest : public ::testing::Test {
protected:
    RegistrationPlaces places(const QString& command = QStringLiteral("/opt/qb/bin/paskel")) const
    {
        return {QStringLiteral("/opt/qb/bin/libpaskel.so"), command, QStringLiteral(QB_PASKEL_TEMPLATES),
                m_data.qfile("share")};
    }

    qbtest::ScopedRegistryDir m_registry;
    qbtest::TempDir m_data;
};

TEST_F(RegistrationTest, RegisterWritesTheClassKeysAndTheHandlerForEveryFileType)
{
    QString why;
    ASSERT_EQ(registerServer(places(), &why), kOk) << why.toStdString();
    const QString id = QStringLiteral("{38CBF15E-482A-4D37-A299-C1145D02FC43}");
    EXPECT_EQ(text(QStringLiteral("Paskel.QuillbaseShellExt.1")), QStringLiteral("$QuillbaseShellExt Class"));
    EXPECT_EQ(text(QStringLiteral("Paskel.QuillbaseShellExt.1\\CLSID")), id);
    EXPECT_EQ(text(QStringLiteral("Paskel.QuillbaseShellExt\\CurVer")), QStringLiteral("Paskel.QuillbaseShellExt.1"));
    EXPECT_EQ(text(QStringLiteral("Paskel.QuillbaseShellExt\\CLSID")), id);
    EXPECT_EQ(text("CLSID\\" + id), QStringLiteral("$QuillbaseShellExt Class"));
    EXPECT_EQ(text("CLSID\\" + id + "\\ProgID"), QStringLiteral("Paskel.QuillbaseShellExt.1"));
    EXPECT_EQ(text("CLSID\\" + id + "\\VersionIndependentProgID"), QStringLiteral("Paskel.QuillbaseShellExt"));
    EXPECT_EQ(text("CLSID\\" + id + "\\InprocServer32"), QStringLiteral("/opt/qb/bin/libpaskel.so"));
    EXPECT_EQ(text("CLSID\\" + id + "\\InprocServer32", QStringLiteral("ThreadingModel")), QStringLiteral("Apartment"));
    EXPECT_EQ(text("CLSID\\" + id + "\\TypeLib"), QStringLiteral("{6844C886-373A-4484-8348-16B5C8ADEB34}"));
    EXPECT_EQ(text(QStringLiteral("TypeLib\\{6844C886-373A-4484-8348-16B5C8ADEB34}\\1.0")), QStringLiteral("paskel 1.0 Type Library"));
    EXPECT_EQ(text(QStringLiteral("*\\shellex\\ContextMenuHandlers\\$QuillbaseShellExt Class")), id);
}

TEST_F(RegistrationTest, RegisterThenUnregisterLeavesTheRegistryAndTheFoldersAsTheyWere)
{
    // Another handler and another class share the parents that unregistering keeps.
    setClassText(QStringLiteral("*\\shellex\\ContextMenuHandlers\\Other"), QString(), QStringLiteral("{0}"));
    setClassText(QStringLiteral("CLSID\\{0}"), QStringLiteral("x"), QStringLiteral("y"));
    setClassText(QStringLiteral("TypeLib\\{1}\\1.0"), QString(), QStringLiteral("other library"));
    ASSERT_TRUE(QDir().mkpath(m_data.qfile("share/applications")));
    QFile other(m_data.qfile("share/applications/other.desktop"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    const Tree before = classesRoot();
    const QStringList filesBefore = filesBelow(m_data.qpath());

    QString why;
    ASSERT_EQ(registerServer(places(), &why), kOk) << why.toStdString();
    EXPECT_NE(classesRoot(), before);
    EXPECT_EQ(filesBelow(m_data.qfile("share")),
              (QStringList{"applications", "applications/other.desktop", "applications/quillbase-paskel.desktop", "kio",
                           "kio/servicemenus", "kio/servicemenus/quillbase-paskel.desktop", "nemo", "nemo/actions",
                           "nemo/actions/quillbase-paskel-execute.nemo_action",
                           "nemo/actions/quillbase-paskel-explore.nemo_action"}));

    ASSERT_EQ(unregisterServer(places(), &why), kOk) << why.toStdString();
    EXPECT_EQ(classesRoot(), before);
    EXPECT_EQ(filesBelow(m_data.qpath()), filesBefore);
    // Unregistering again finds nothing to remove and says so by succeeding.
    EXPECT_EQ(unregisterServer(places(), &why), kOk) << why.toStdString();
}

TEST_F(RegistrationTest, FromAnEmptyRegistryOnlyTheSharedParentKeysStay)
{
    QString why;
    ASSERT_EQ(registerServer(places(), &why), kOk) << why.toStdString();
    ASSERT_EQ(unregisterServer(places(), &why), kOk) << why.toStdString();
    const Tree left = classesRoot();
    QStringList keys;
    for (const auto& [key, values] : left) {
        keys << key;
        EXPECT_TRUE(values.empty()) << key.toStdString();
    }
    EXPECT_EQ(keys, (QStringList{"", "\\*", "\\*\\shellex", "\\*\\shellex\\ContextMenuHandlers", "\\CLSID", "\\TypeLib"}));
}

TEST_F(RegistrationTest, ActionFilesRunTheCommandQuotedAsExecLinesDemand)
{
    QString why;
    ASSERT_EQ(registerServer(places(QStringLiteral("/opt/my apps/100%/pa\"skel")), &why), kOk) << why.toStdString();
    const QString entry = readAll(m_data.qfile("share/applications/quillbase-paskel.desktop"));
    EXPECT_TRUE(entry.contains(QStringLiteral("Exec=\"/opt/my apps/100%%/pa\\\\\"skel\" execute %f\n"))) << entry.toStdString();
    EXPECT_TRUE(entry.contains(QStringLiteral("MimeType=application/x-quillbase-datalink;\n")));
    EXPECT_FALSE(entry.contains(u'@'));
    const QString nemo = readAll(m_data.qfile("share/nemo/actions/quillbase-paskel-explore.nemo_action"));
    EXPECT_TRUE(nemo.contains(QStringLiteral("Exec=\"/opt/my apps/100%%/pa\\\\\"skel\" explore %F\n"))) << nemo.toStdString();
    // Service menus are run only when they may be executed.
    EXPECT_TRUE(QFileInfo(m_data.qfile("share/kio/servicemenus/quillbase-paskel.desktop")).isExecutable());
    EXPECT_FALSE(QFileInfo(m_data.qfile("share/applications/quillbase-paskel.desktop")).isExecutable());
}

TEST(ActionFiles, PlainPathsStayAsTheyAre)
{
    EXPECT_EQ(execWord(QStringLiteral("/usr/bin/paskel")), QStringLiteral("/usr/bin/paskel"));
    EXPECT_EQ(execWord(QStringLiteral("/a b/$x`y\\z")), QStringLiteral("\"/a b/\\\\$x\\\\`y\\\\\\\\z\""));
}

TEST_F(RegistrationTest, MissingTemplatesFailAndTakeBackTheClassKeys)
{
    const Tree before = classesRoot();
    RegistrationPlaces broken = places();
    broken.templateFolder = m_data.qfile("nowhere");
    QString why;
    EXPECT_EQ(registerServer(broken, &why), kFail);
    EXPECT_TRUE(why.startsWith(QStringLiteral("cannot read ") + m_data.qfile("nowhere"))) << why.toStdString();
    EXPECT_EQ(text(QStringLiteral("Paskel.QuillbaseShellExt.1")), QStringLiteral("<no key>"));
    EXPECT_TRUE(filesBelow(m_data.qpath()).isEmpty());
}

} // namespace
