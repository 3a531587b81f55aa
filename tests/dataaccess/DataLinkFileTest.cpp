// Data link files: writing and reading back, the accepted encodings, and bad files.
#include "dataaccess/DataLinkFile.h"
#include "dataaccess/Provider.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <random>

using namespace qb::data;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray utf16le(const QString& text)
{
    QByteArray out("\xFF\xFE", 2);
    for (QChar c : text) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    return out;
}

QString failureOf(const QString& path)
{
    try {
        readDataLinkFile(path);
    } catch (const ProviderError& e) {
        return e.description();
    }
    return QStringLiteral("<read without error>");
}

TEST(DataLinkFile, WrittenFileIsUtf16WithTheCommentAndReadsBack)
{
    qbtest::TempDir dir;
    const QString path = dir.qfile("shop.udl");
    const QString init = QStringLiteral("Provider=SQLite;Data Source=/home/ann/Grüße shop.db");
    writeDataLinkFile(path, init);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), utf16le(QStringLiteral("[oledb]\n; Everything after this line is an OLE DB initstring\n") + init +
                                   QStringLiteral("\n")));
    EXPECT_EQ(readDataLinkFile(path), init);
    EXPECT_EQ(readDataLinkProvider(path), u"SQLite");
}

TEST(DataLinkFile, Utf8FilesAndOtherSectionsAndCrLfAreAccepted)
{
    qbtest::TempDir dir;
    const QString path = dir.qfile("a.udl");
    writeBytes(path, QByteArray("\xEF\xBB\xBF[other]\r\nx=1\r\n[OLEDB]\r\n; Everything after this line is an OLE DB initstring\r\n"
                                "Provider=SQLite;Data Source=/tmp/x.db\r\n"));
    EXPECT_EQ(readDataLinkFile(path), u"Provider=SQLite;Data Source=/tmp/x.db");
    writeBytes(path, QByteArray("[oledb]\nProvider=SQLite;Data Source=/tmp/y.db\n"));
    EXPECT_EQ(readDataLinkFile(path), u"Provider=SQLite;Data Source=/tmp/y.db");
}

TEST(DataLinkFile, BadFilesGiveAClearMessageNamingTheFile)
{
    qbtest::TempDir dir;
    const QString random = dir.qfile("random.udl");
    std::mt19937 gen(7);
    QByteArray noise(4096, '\0');
    for (auto& b : noise)
        b = char(gen());
    writeBytes(random, noise);
    EXPECT_TRUE(failureOf(random).contains(random)) << failureOf(random).toStdString();

    const QString empty = dir.qfile("empty.udl");
    writeBytes(empty, {});
    EXPECT_EQ(failureOf(empty), QStringLiteral("The data link file \"%1\" has no [oledb] section: it is not a data link file.").arg(empty));

    const QString noSection = dir.qfile("nosection.udl");
    writeBytes(noSection, utf16le(QStringLiteral("[odbc]\nProvider=SQLite\n")));
    EXPECT_TRUE(failureOf(noSection).contains(u"has no [oledb] section"));

    const QString onlyComment = dir.qfile("comment.udl");
    writeBytes(onlyComment, utf16le(QStringLiteral("[oledb]\n; Everything after this line is an OLE DB initstring\n")));
    EXPECT_TRUE(failureOf(onlyComment).contains(u"holds no initialization string"));

    // Prior to this check the half character was dropped and "Provider=SQLit" read as the string.
    const QString odd = dir.qfile("odd.udl");
    writeBytes(odd, utf16le(QStringLiteral("[oledb]\nProvider=SQLite")).chopped(1));
    EXPECT_EQ(failureOf(odd), QStringLiteral("The data link file \"%1\" is damaged: its UTF-16 text ends in half a character.").arg(odd));

    const QString missing = dir.qfile("missing.udl");
    EXPECT_EQ(failureOf(missing), QStringLiteral("The data link file \"%1\" does not exist.").arg(missing));
    EXPECT_EQ(readDataLinkProvider(missing), QString());
}

TEST(DataLinkFile, AHugeFileIsRefusedWithoutReadingIt)
{
    qbtest::TempDir dir;
    const QString huge = dir.qfile("huge.udl");
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const QByteArray block = utf16le(QStringLiteral("[oledb]\nProvider=SQLite\n"));
        f.write(block);
        ASSERT_TRUE(f.resize(50ll * 1024 * 1024));
    }
    EXPECT_TRUE(failureOf(huge).contains(u"is too large")) << failureOf(huge).toStdString();

    // One line of 10 MB, no line end anywhere.
    const QString line = dir.qfile("line.udl");
    writeBytes(line, QByteArray("[oledb]\n") + QByteArray(10 << 20, 'x'));
    EXPECT_TRUE(failureOf(line).contains(u"is too large")) << failureOf(line).toStdString();
}

TEST(DataLinkFile, WrittenFilesArePrivateAndReplaceTheOldOneWhole)
{
    qbtest::TempDir dir;
    const QString path = dir.qfile("pg.udl");
    writeBytes(path, utf16le(QStringLiteral("[oledb]\nProvider=SQLite;Data Source=/old.db\n")));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    writeDataLinkFile(path, QStringLiteral("Provider=ODBC;DSN=shop;PWD=secret"));
    EXPECT_EQ(QFile::permissions(path) & 0x0FFF, QFile::ReadUser | QFile::WriteUser) << "it may hold a password";
    EXPECT_EQ(readDataLinkFile(path), u"Provider=ODBC;DSN=shop;PWD=secret");
    EXPECT_EQ(QDir(dir.qpath()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("pg.udl")});
}

TEST(DataLinkFile, WritingMultiLineStringsOrIntoAMissingFolderFails)
{
    qbtest::TempDir dir;
    EXPECT_THROW(writeDataLinkFile(dir.qfile("x.udl"), QStringLiteral("a=1\nb=2")), ProviderError);
    try {
        writeDataLinkFile(dir.qfile("no/such/folder/x.udl"), QStringLiteral("Provider=SQLite"));
        ADD_FAILURE() << "written into a missing folder";
    } catch (const ProviderError& e) {
        EXPECT_TRUE(e.description().endsWith(u"cannot be written: No such file or directory")) << e.description().toStdString();
    }
}

} // namespace
