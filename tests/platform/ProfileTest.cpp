#include "platform/Profile.h"
#include "platform/ProfileTextReader.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QFile>

#include <random>

namespace {

enum class Encoding { Utf16LeBom, Utf16LeNoBom, Utf16BeBom, Utf8Bom, Utf8 };

QByteArray encode(const QString& text, Encoding encoding)
{
    QByteArray bytes;
    switch (encoding) {
    case Encoding::Utf16LeBom:
        bytes = QByteArray("\xFF\xFE", 2);
        [[fallthrough]];
    case Encoding::Utf16LeNoBom:
        for (QChar c : text) {
            bytes.append(char(c.unicode() & 0xFF));
            bytes.append(char(c.unicode() >> 8));
        }
        return bytes;
    case Encoding::Utf16BeBom:
        bytes = QByteArray("\xFE\xFF", 2);
        for (QChar c : text) {
            bytes.append(char(c.unicode() >> 8));
            bytes.append(char(c.unicode() & 0xFF));
        }
        return bytes;
    case Encoding::Utf8Bom:
        return "\xEF\xBB\xBF" + text.toUtf8();
    case Encoding::Utf8:
        return text.toUtf8();
    }
    return bytes;
}

class ProfileFile {
public:
    explicit ProfileFile(const QByteArray& bytes, const std::string& name = "test.ini")
        : m_path(m_dir.qfile(name))
    {
        QFile file(m_path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_EQ(file.write(bytes), bytes.size());
    }
    ProfileFile(const QString& text, Encoding encoding) : ProfileFile(encode(text, encoding)) {}

    qb::Profile profile() const { return qb::Profile(m_path); }

private:
    qbtest::TempDir m_dir;
    QString m_path;
};

QString withLineEnds(QString text, const QString& lineEnd)
{
    return text.replace(u'\n', lineEnd);
}

const QString kDataLink = QString::fromUtf8(
    "[oledb]\n"
    "; Everything after this line is an OLE DB initstring\n"
    "Provider=SQLite;Data Source=/home/ann/магазин.db\n");

struct EncodingCase {
    Encoding encoding;
    const char* lineEnd;
};

std::string caseName(const ::testing::TestParamInfo<EncodingCase>& info)
{
    static const char* const names[] = {"Utf16LeBom", "Utf16LeNoBom", "Utf16BeBom", "Utf8Bom", "Utf8"};
    const std::string end = info.param.lineEnd == std::string("\r\n") ? "CrLf"
                          : info.param.lineEnd == std::string("\r")   ? "Cr"
                                                                       : "Lf";
    return names[int(info.param.encoding)] + end;
}

class ProfileEncodings : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(ProfileEncodings, ReadsTheDataLinkValueInEveryEncodingAndLineEnd)
{
    const ProfileFile file(withLineEnds(kDataLink + "[info]\ntips=3", GetParam().lineEnd), GetParam().encoding);
    const qb::Profile profile = file.profile();
    EXPECT_EQ(profile.readString("oledb", "Provider", "", 5120),
              QString::fromUtf8("SQLite;Data Source=/home/ann/магазин.db"));
    EXPECT_EQ(profile.readInt("info", "tips", 0), 3); // last line, no line end
    EXPECT_EQ(profile.sectionNames(), QStringList({"oledb", "info"}));
    EXPECT_EQ(profile.keys("oledb"), QStringList({"Provider"})); // the comment is no key
}

INSTANTIATE_TEST_SUITE_P(
    All, ProfileEncodings,
    ::testing::Values(EncodingCase{Encoding::Utf16LeBom, "\r\n"}, EncodingCase{Encoding::Utf16LeBom, "\r"},
                      EncodingCase{Encoding::Utf16LeNoBom, "\n"}, EncodingCase{Encoding::Utf16BeBom, "\r\n"},
                      EncodingCase{Encoding::Utf8Bom, "\r\n"}, EncodingCase{Encoding::Utf8Bom, "\n"},
                      EncodingCase{Encoding::Utf8, "\r"}, EncodingCase{Encoding::Utf8, "\n"}),
    caseName);

TEST(Profile, NamesCompareWithoutCaseAndTheFirstOccurrenceWins)
{
    const ProfileFile file(QString("orphan=before any section\n"
                                   "[Info]\n"
                                   "  Caption  =  First title  \n"
                                   "CAPTION=second title\n"
                                   "[other]\n"
                                   "caption=not this one\n"
                                   "[INFO]\n"
                                   "caption=third title\n"
                                   "Tips=7\n"),
                           Encoding::Utf8);
    const qb::Profile p = file.profile();
    EXPECT_EQ(p.readString("info", "caption", "", 1024), "First title");
    EXPECT_EQ(p.readString("iNfO", "CaPtIoN", "", 1024), "First title");
    EXPECT_EQ(p.readInt("info", "tips", 0), 7) << "a repeated section continues the first";
    EXPECT_EQ(p.readString("info", "orphan", "none", 1024), "none") << "entries before any section belong nowhere";
    EXPECT_EQ(p.sectionNames(), QStringList({"Info", "other"}));
    EXPECT_EQ(p.keys("info"), QStringList({"Caption", "Tips"}));
    const QList<qb::ProfileEntry> entries = p.entries("INFO");
    ASSERT_EQ(entries.size(), 4);
    EXPECT_EQ(entries[1].key, "CAPTION");
    EXPECT_EQ(entries[1].value, "second title");
}

TEST(Profile, RemovesOnePairOfMatchingEnclosingQuotes)
{
    const ProfileFile file(QString("[q]\n"
                                   "double=\"a b\"\n"
                                   "single= 'c' \n"
                                   "padded=\"  kept inside  \"\n"
                                   "mixed=\"d'\n"
                                   "lone=\"\n"
                                   "empty=\"\"\n"
                                   "twice=\"\"e\"\"\n"
                                   "inner=f\"g\"\n"),
                           Encoding::Utf8);
    const qb::Profile p = file.profile();
    EXPECT_EQ(p.readString("q", "double", "", 100), "a b");
    EXPECT_EQ(p.readString("q", "single", "", 100), "c");
    EXPECT_EQ(p.readString("q", "padded", "", 100), "  kept inside  ");
    EXPECT_EQ(p.readString("q", "mixed", "", 100), "\"d'");
    EXPECT_EQ(p.readString("q", "lone", "", 100), "\"");
    EXPECT_EQ(p.readString("q", "empty", "x", 100), "") << "a present empty value is not the default";
    EXPECT_EQ(p.readString("q", "twice", "", 100), "\"e\"");
    EXPECT_EQ(p.readString("q", "inner", "", 100), "f\"g\"");
    EXPECT_EQ(p.entries("q").first().value, "\"a b\"") << "entries give the text as written";
}

TEST(Profile, CutsValuesAndDefaultsToTheBufferSizeLessOne)
{
    const ProfileFile file(QString("[t]\ntext=\"abcdef\"\n"), Encoding::Utf16LeBom);
    const qb::Profile p = file.profile();
    EXPECT_EQ(p.readString("t", "text", "", 4), "abc");
    EXPECT_EQ(p.readString("t", "text", "", 7), "abcdef");
    EXPECT_EQ(p.readString("t", "text", "", 1), "");
    EXPECT_EQ(p.readString("t", "text", "", 0), "");
    EXPECT_EQ(p.readString("t", "none", "defaults  ", 5), "defa");
    EXPECT_EQ(p.readString("t", "none", "default  ", 100), "default") << "trailing blanks of a default go";
    EXPECT_EQ(p.readString("none", "text", " lead", 100), " lead");
}

TEST(Profile, NumbersReadTheLeadingIntegerSaturatedAndEmptyGivesTheDefault)
{
    const ProfileFile file(QString("[n]\nplain=42\nsigned= -12abc\nword=abc\nempty=\nquoted=\"7\"\n"
                                   "huge=99999999999999999999\nsmall=-99999999999\n"),
                           Encoding::Utf8);
    const qb::Profile p = file.profile();
    EXPECT_EQ(p.readInt("n", "plain", 5), 42);
    EXPECT_EQ(p.readInt("n", "signed", 5), -12);
    EXPECT_EQ(p.readInt("n", "word", 5), 0);
    EXPECT_EQ(p.readInt("n", "empty", 5), 5);
    EXPECT_EQ(p.readInt("n", "missing", 5), 5);
    EXPECT_EQ(p.readInt("n", "quoted", 5), 7);
    EXPECT_EQ(p.readInt("n", "huge", 5), INT_MAX);
    EXPECT_EQ(p.readInt("n", "small", 5), INT_MIN);
}

TEST(Profile, MissingFileGivesDefaultsAndNothingToList)
{
    const qbtest::TempDir dir;
    const qb::Profile p(dir.qfile("absent.tip"));
    EXPECT_EQ(p.readString("info", "caption", "Tip of the Day", 1024), "Tip of the Day");
    EXPECT_EQ(p.readInt("info", "tips", 0), 0);
    EXPECT_TRUE(p.sectionNames().isEmpty());
    EXPECT_TRUE(p.keys("info").isEmpty());
    EXPECT_TRUE(qb::Profile(dir.qpath()).sectionNames().isEmpty()) << "a folder reads as an empty file";
}

TEST(Profile, BinaryGarbageGivesDefaultsAndWhateverParses)
{
    std::mt19937 random(1234);
    QByteArray garbage(300000, '\0');
    for (char& c : garbage)
        c = char(random());
    garbage.append("\n[oledb]\nProvider=SQLite\n");
    garbage.append(QByteArray(5000, '\0'));
    garbage.append("\xC3\n\xFF\xFE\x00[\n", 8); // a cut UTF-8 sequence, a mark in the middle, an open bracket
    const ProfileFile file(garbage);
    const qb::Profile p = file.profile();
    EXPECT_EQ(p.readString("oledb", "Provider", "", 5120), "SQLite");
    EXPECT_EQ(p.readString("oledb", "Absent", "dflt", 5120), "dflt");
    EXPECT_TRUE(p.sectionNames().contains("oledb"));

    const ProfileFile nulls(QByteArray(100000, '\0'));
    EXPECT_EQ(nulls.profile().readString("a", "b", "c", 10), "c");
}

TEST(Profile, CharactersSplitAcrossReadChunksStayWhole)
{
    // The reader decodes 256 KiB at a time; put a surrogate pair (4 bytes in either encoding)
    // across that boundary so a stateless decode would lose it.
    const QString value = QString::fromUtf8("\xF0\x9F\x90\x98 elephant");
    for (const Encoding encoding : {Encoding::Utf8, Encoding::Utf16LeBom}) {
        const QString head = "[s]\n;";
        const QString keyPart = "\nk=";
        const int unit = encoding == Encoding::Utf8 ? 1 : 2;
        const int bom = encoding == Encoding::Utf8 ? 0 : 2;
        const int padding = (256 * 1024 - 2 - bom) / unit - int(head.size() + keyPart.size());
        const QString text = head + QString(padding, u'x') + keyPart + value + "\n";
        const ProfileFile file(text, encoding);
        EXPECT_EQ(file.profile().readString("s", "k", "", 100), value);
    }
}

TEST(Profile, OverlongLineIsCutAndReadingGoesOn)
{
    QByteArray bytes = "[big]\nhuge=";
    bytes.append(QByteArray(3 * qb::ProfileTextReader::MaxLineLength, 'v'));
    bytes.append("\r\n[oledb]\r\nProvider=ODBC\r\n");
    const ProfileFile file(bytes);
    const qb::Profile p = file.profile();
    EXPECT_EQ(p.readString("oledb", "Provider", "", 100), "ODBC");
    const QString huge = p.readString("big", "huge", "", 1 << 30);
    EXPECT_EQ(huge.size(), qb::ProfileTextReader::MaxLineLength - 5); // the line less "huge="
}

} // namespace
