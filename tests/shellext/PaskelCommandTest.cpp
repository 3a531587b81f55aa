// The paskel command and its library as the file managers use them: run as a program, with the
// library beside it in a prefix of its own and the registry in a private folder.
#include "ShellExtFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

namespace {

struct CommandRun {
    int exitCode = -1;
    QByteArray output;
    QByteArray errors;
};

class PaskelCommandTest : public qbtest::ShellExtFixture {
protected:
    void SetUp() override
    {
        ShellExtFixture::SetUp();
        setTemplate(QStringLiteral(".udl"), QStringLiteral("-udl \"%1\""));
        setCorePath(corePath());
        // A prefix of its own: the command, its library and the templates, laid out as installed.
        ASSERT_TRUE(QDir().mkpath(m_prefix.qfile("bin")));
        ASSERT_TRUE(QDir().mkpath(m_prefix.qfile("share/quillbase/paskel")));
        ASSERT_TRUE(QFile::copy(QStringLiteral(QB_PASKEL_COMMAND), m_prefix.qfile("bin/paskel")));
        ASSERT_TRUE(QFile::copy(QStringLiteral(QB_PASKEL_LIBRARY), m_prefix.qfile("bin/libpaskel.so")));
        for (const QString& name : QDir(QStringLiteral(QB_PASKEL_TEMPLATES)).entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(QStringLiteral(QB_PASKEL_TEMPLATES "/") + name,
                                    m_prefix.qfile("share/quillbase/paskel/") + name));
    }

    CommandRun paskel(const QStringList& arguments) const
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QUILLBASE_REGISTRY_DIR"), m_registry.dir().qpath());
        process.setProcessEnvironment(env);
        process.start(m_prefix.qfile("bin/paskel"), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
                process.readAllStandardError()};
    }

    qbtest::TempDir m_prefix;
};

TEST_F(PaskelCommandTest, ItemsListsBothCommandsForADataLinkFileAndNoneOtherwise)
{
    const CommandRun udl = paskel({QStringLiteral("items"), QStringLiteral("x.udl")});
    EXPECT_EQ(udl.exitCode, 0) << udl.errors.toStdString();
    EXPECT_EQ(udl.output, "Explore data base\nExecute SQL query\n");

    const CommandRun text = paskel({QStringLiteral("items"), QStringLiteral("a.txt")});
    EXPECT_EQ(text.exitCode, 1);
    EXPECT_EQ(text.output, "");
    EXPECT_EQ(text.errors, "");
}

TEST_F(PaskelCommandTest, ExploreStartsQorvexOnTheFileAsOneArgument)
{
    const QString file = QStringLiteral("/srv/links/shop; $(reboot) \"q\".udl");
    const CommandRun run = paskel({QStringLiteral("explore"), QStringLiteral("/srv/a.txt"), file});
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(nextRecordedArgv(), (QList<QByteArray>{(corePath() + "qorvex").toUtf8(), "-udl", file.toUtf8(), "-dontsavelayout"}));
}

TEST_F(PaskelCommandTest, AFailureIsOneLineOnStandardErrorAndANonZeroExit)
{
    ASSERT_TRUE(QFile::remove(corePath() + QStringLiteral("tessmar")));
    const CommandRun run = paskel({QStringLiteral("execute"), QStringLiteral("/srv/x.udl")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(run.errors, "paskel: execute: cannot start " + corePath().toUtf8() + "tessmar: No such file or directory\n");

    const CommandRun none = paskel({QStringLiteral("explore"), QStringLiteral("/srv/a.txt")});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.errors, "paskel: nothing to open: no file of a registered type was given\n");

    EXPECT_EQ(paskel({}).exitCode, 2);
    EXPECT_EQ(paskel({QStringLiteral("explore")}).exitCode, 2);
    EXPECT_EQ(paskel({QStringLiteral("register"), QStringLiteral("extra")}).exitCode, 2);
}

TEST_F(PaskelCommandTest, RegisterNamesTheLibraryBesideItAndWritesTheActionFilesBelowItsPrefix)
{
    const CommandRun registered = paskel({QStringLiteral("register")});
    ASSERT_EQ(registered.exitCode, 0) << registered.errors.toStdString();
    const QString paskelPath = QFileInfo(m_prefix.qfile("bin/paskel")).canonicalFilePath();
    {
        qb::reg::KeyGuard server;
        ASSERT_EQ(qb::reg::RegOpenKeyEx(qb::reg::HKEY_CLASSES_ROOT,
                                        QStringLiteral("CLSID\\{38CBF15E-482A-4D37-A299-C1145D02FC43}\\InprocServer32"),
                                        server.out()),
                  qb::reg::ERROR_SUCCESS);
        EXPECT_EQ(qb::shellext::readText(server.get(), QString()),
                  QFileInfo(m_prefix.qfile("bin/libpaskel.so")).canonicalFilePath());
    }
    QFile entry(m_prefix.qfile("share/applications/quillbase-paskel.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(entry.readAll().contains("Exec=" + paskelPath.toUtf8() + " explore %f\n"));

    const CommandRun unregistered = paskel({QStringLiteral("unregister")});
    ASSERT_EQ(unregistered.exitCode, 0) << unregistered.errors.toStdString();
    EXPECT_FALSE(entry.exists());
    EXPECT_EQ(QDir(m_prefix.qfile("share")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              (QStringList{"applications", "quillbase"}));
}

TEST(PaskelLibrary, ExportsTheMenuAndRegistrationFunctionsOnly)
{
    QProcess nm;
    nm.start(QStringLiteral("nm"), {QStringLiteral("-D"), QStringLiteral("--defined-only"), QStringLiteral(QB_PASKEL_LIBRARY)});
    ASSERT_TRUE(nm.waitForFinished(30000));
    QStringList names;
    for (const QString& line : QString::fromUtf8(nm.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts))
        names << line.section(u' ', -1);
    names.sort();
    EXPECT_EQ(names, (QStringList{"DllCanUnloadNow", "DllRegisterServer", "DllUnregisterServer", "PaskelCreateMenu",
                                  "PaskelGetLastErrorTextA", "PaskelInitialize", "PaskelInvokeCommand",
                                  "PaskelQueryContextMenu", "PaskelReleaseMenu"}));
}

} // namespace
