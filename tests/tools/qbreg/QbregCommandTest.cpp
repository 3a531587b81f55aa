// The qbreg command end to end: export from one registry folder, import into another, and the
// command's refusals.
#include "common/settings/RegistryScriptWriter.h"
#include "support/SettingsTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

using namespace qb::reg;

namespace {

struct CommandResult {
    int exitCode = -1;
    QString errors;
};

CommandResult qbreg(const QStringList& args, const QString& registryDir)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUILLBASE_REGISTRY_DIR"), registryDir);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QBREG_PATH), args);
    EXPECT_TRUE(process.waitForFinished(60000));
    return CommandResult{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
               QString::fromLocal8Bit(process.readAllStandardError())};
}

class QbregCommandTest : public ::testing::Test {
protected:
    qbtest::TempDir m_files;
    qbtest::ScopedRegistryDir m_source;
};

TEST_F(QbregCommandTest, ExportWritesTheWritersBytesAndImportReproducesThem)
{
    const QString base = QStringLiteral("Software\\Marrowind\\quillbase\\qorvex\\1.6");
    qbtest::setValue(base + "\\view", QStringLiteral("report"), REG_BINARY, QByteArray(60, '\x11'));
    qbtest::setValue(base + "\\Properties\\General", QStringLiteral("SingleInstance"), REG_DWORD, qbtest::dwordData(0));
    qbtest::setValue(base, QStringLiteral("FirstStart"), REG_SZ, qbtest::regSz(QStringLiteral("0")));
    const auto original = qbtest::dumpTree(HKEY_CURRENT_USER, base);
    const QString file = m_files.qfile("out.reg");
    const CommandResult exported = qbreg({"export", "HKEY_CURRENT_USER\\" + base, file}, m_source.dir().qpath());
    ASSERT_EQ(exported.exitCode, 0) << exported.errors.toStdString();
    EXPECT_EQ(qbtest::readFile(file), qb::settings::buildRegistryScript(QStringLiteral("HKEY_CURRENT_USER"), base).text);

    qbtest::ScopedRegistryDir target; // from here on this process looks at the empty target
    ASSERT_TRUE(qbtest::dumpTree(HKEY_CURRENT_USER, base).empty());
    const CommandResult imported = qbreg({"import", file}, target.dir().qpath());
    ASSERT_EQ(imported.exitCode, 0) << imported.errors.toStdString();
    EXPECT_EQ(qbtest::dumpTree(HKEY_CURRENT_USER, base), original);
}

TEST_F(QbregCommandTest, MalformedScriptIsRejectedWithItsLineAndImportsNothing)
{
    const QString file = m_files.qfile("bad.reg");
    qbtest::writeFile(file, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Bad]\r\n\"a\" = dword:00000001\r\n\"b\" = hex:0g\r\n");
    const CommandResult run = qbreg({"import", file}, m_source.dir().qpath());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.errors, QStringLiteral("qbreg: %1: line 5: \"0g\" is not a byte in hexadecimal\n").arg(file));
    EXPECT_FALSE(qbtest::keyExists(QStringLiteral("Software\\Bad")));
}

TEST_F(QbregCommandTest, RefusesOtherFormsAndReportsFailures)
{
    for (const QStringList& args : {QStringList{}, QStringList{"export", "HKEY_CURRENT_USER\\x"},
                                    QStringList{"import"}, QStringList{"import", "a", "b"}, QStringList{"list", "x"}}) {
        const CommandResult run = qbreg(args, m_source.dir().qpath());
        EXPECT_EQ(run.exitCode, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(run.errors.startsWith(QStringLiteral("usage: qbreg export"))) << run.errors.toStdString();
    }
    const CommandResult missingKey = qbreg({"export", "HKEY_CURRENT_USER\\Software\\None", m_files.qfile("none.reg")},
                                 m_source.dir().qpath());
    EXPECT_EQ(missingKey.exitCode, 1);
    EXPECT_TRUE(missingKey.errors.contains(QStringLiteral("\"Error\" line"))) << missingKey.errors.toStdString();
    const CommandResult badFile = qbreg({"export", "HKEY_CURRENT_USER\\Software", m_files.qfile("no/dir.reg")}, m_source.dir().qpath());
    EXPECT_EQ(badFile.exitCode, 1);
    EXPECT_TRUE(badFile.errors.startsWith(QStringLiteral("qbreg: Error while creating the file: ")));
    const CommandResult missingScript = qbreg({"import", m_files.qfile("absent.reg")}, m_source.dir().qpath());
    EXPECT_EQ(missingScript.exitCode, 1);
    EXPECT_TRUE(missingScript.errors.startsWith(QStringLiteral("qbreg: cannot read "))) << missingScript.errors.toStdString();
}

} // namespace
