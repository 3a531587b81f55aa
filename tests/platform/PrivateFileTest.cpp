// Private files: created only anew and for the owner, replaced by a rename once complete.
#include "platform/PrivateFile.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

using namespace qb;

namespace {

int modeOf(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

TEST(PrivateFile, CreatedOnlyAnewForTheOwnerAndNeverThroughALink)
{
    qbtest::TempDir dir;
    const QString path = dir.qfile("secret");
    EXPECT_EQ(createPrivateFile(path), 0);
    EXPECT_EQ(modeOf(path), 0600);
    EXPECT_EQ(createPrivateFile(path), EEXIST);

    // A link planted under the name is not followed to create its target.
    const QString planted = dir.qfile("planted");
    ASSERT_EQ(::symlink(QFile::encodeName(dir.qfile("victim")).constData(), QFile::encodeName(planted).constData()), 0);
    EXPECT_EQ(createPrivateFile(planted), EEXIST);
    EXPECT_FALSE(QFile::exists(dir.qfile("victim")));
}

TEST(PrivateFile, ReplacingWritesAPrivateFileAndLeavesNothingElse)
{
    qbtest::TempDir dir;
    const QString target = dir.qfile("link.udl");
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    ASSERT_TRUE(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &before), 0);

    EXPECT_EQ(writeFileReplacing(target, "new content"), 0);
    EXPECT_EQ(contentOf(target), "new content");
    EXPECT_EQ(modeOf(target), 0600) << "readable by others before, private now";
    struct stat after {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino) << "a new file renamed over the old one, not the old one rewritten";
    EXPECT_EQ(QDir(dir.qpath()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("link.udl")});

    EXPECT_EQ(writeFileReplacing(dir.qfile("no folder/x.udl"), "x"), ENOENT);
    ASSERT_TRUE(QDir(dir.qpath()).mkdir(QStringLiteral("taken")));
    EXPECT_EQ(writeFileReplacing(dir.qfile("taken"), "x"), EISDIR);
    EXPECT_EQ(QDir(dir.qpath()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("link.udl")});
}

TEST(PrivateFile, GuidTextsAreRegistryFormAndDiffer)
{
    const QString a = newGuidText();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\{[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\\}$")).match(a).hasMatch()) << a.toStdString();
    EXPECT_NE(a, newGuidText());
}
