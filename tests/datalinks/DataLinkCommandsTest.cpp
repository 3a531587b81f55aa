// The two commands that make a new connection, with the editor replaced by a stand-in shell
// script and the prompt by a function: cancelling leaves nothing behind, the target is replaced by
// a rename only after the window's before-connect step, failures carry the system's or the
// provider's text, and no temporary file survives any way out.
#include "common/WindowConnection.h"
#include "dataaccess/DataLinkFile.h"
#include "dataaccess/DataSourceFactory.h"
#include "datalinks/DataLinkCommands.h"
#include "datalinks/SqliteFile.h"
#include "platform/BrelibException.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace qb::datalinks;
using Connection = qb::WindowConnection;

namespace {

QString readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QStringLiteral("<missing>");
}

int modeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

class NewDataLinkFileCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        database = dir.qfile("shop.db");
        qbtest::makeSqliteFile(database);
        target = dir.qfile("new link.udl");
        hooks.beforeConnect = [this] {
            steps << QStringLiteral("before:") + readAll(target);
            return allowConnect;
        };
        hooks.addToRecentList = [this](const QString& path) { steps << QStringLiteral("recent:") + path; };
        hooks.afterConnect = [this] { steps << QStringLiteral("after"); };
        connection.setHooks(hooks);
    }

    // The stand-in editor: records the file it was given and that file's mode, then runs `body`
    // with the file as $1 (writing nothing is cancelling).
    DataLinkEditor standIn(const QString& body) const
    {
        const QString script = QStringLiteral("printf '%s\\n' \"$1\" > \"$0.seen\"; stat -c %a \"$1\" >> \"$0.seen\"; ") + body;
        return {QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script, dir.qfile("editor")}};
    }
    DataLinkEditor savingEditor(const QString& initString) const
    {
        return standIn(QStringLiteral("printf '[oledb]\\n; Everything after this line is an OLE DB initstring\\n%s\\n' '%1' > \"$1\"")
                           .arg(initString));
    }
    QStringList seenByEditor() const { return readAll(dir.qfile("editor.seen")).split(u'\n', Qt::SkipEmptyParts); }
    QStringList filesLeft() const { return QDir(dir.qpath()).entryList(QDir::Files | QDir::Hidden); }

    qbtest::TempDir dir;
    QString database;
    QString target;
    Connection::Hooks hooks;
    Connection connection;
    QStringList steps;
    bool allowConnect = true;
};

TEST_F(NewDataLinkFileCommand, CancellingTheEditorLeavesNoFileAndChangesNothing)
{
    ASSERT_EQ(connection.openConnection(QStringLiteral("Provider=SQLite;Data Source=") + database, false),
              Connection::OpenResult::Opened);
    steps.clear();
    EXPECT_EQ(createDataLinkFile(connection, target, standIn(QStringLiteral("exit 1"))), CommandOutcome::Cancelled);

    const QStringList seen = seenByEditor();
    ASSERT_EQ(seen.size(), 2);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^") + QRegularExpression::escape(target) +
                                   QStringLiteral("\\.t\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}\\.udl$"))
                    .match(seen[0])
                    .hasMatch())
        << seen[0].toStdString();
    EXPECT_EQ(seen[1], u"600") << "the temporary file may come to hold a password";
    EXPECT_EQ(filesLeft(), QStringList({QStringLiteral("editor.seen"), QStringLiteral("shop.db")}));
    EXPECT_TRUE(steps.isEmpty());
    EXPECT_EQ(connection.connectionName(), Connection::connectionStringName());
}

TEST_F(NewDataLinkFileCommand, ASavedLinkReplacesTheTargetByRenameAfterTheBeforeConnectStep)
{
    qb::data::writeDataLinkFile(target, QStringLiteral("Provider=SQLite;Data Source=/old.db"));
    const QString old = readAll(target);
    const QString init = QStringLiteral("Provider=SQLite;Data Source=") + database;

    EXPECT_EQ(createDataLinkFile(connection, target, savingEditor(init)), CommandOutcome::Connected);

    ASSERT_EQ(steps.size(), 3) << steps.join(u'|').toStdString();
    EXPECT_EQ(steps[0], QStringLiteral("before:") + old) << "the old file stays whole until the new one is moved over it";
    EXPECT_EQ(steps[1], QStringLiteral("recent:") + target);
    EXPECT_EQ(steps[2], u"after");
    EXPECT_EQ(qb::data::readDataLinkFile(target), init);
    EXPECT_EQ(modeOf(target), 0600);
    EXPECT_EQ(connection.connectionName(), target);
    EXPECT_NE(connection.session(), nullptr);
    EXPECT_EQ(filesLeft(), QStringList({QStringLiteral("editor.seen"), QStringLiteral("new link.udl"), QStringLiteral("shop.db")}));
}

TEST_F(NewDataLinkFileCommand, ALinkThatCannotBeOpenedKeepsTheTargetAndTheConnection)
{
    ASSERT_EQ(connection.openConnection(QStringLiteral("Provider=SQLite;Data Source=") + database, false),
              Connection::OpenResult::Opened);
    qb::data::writeDataLinkFile(target, QStringLiteral("Provider=SQLite;Data Source=/old.db"));
    const QString old = readAll(target);
    steps.clear();
    const QString gone = dir.qfile("gone.db");
    try {
        createDataLinkFile(connection, target, savingEditor(QStringLiteral("Provider=SQLite;Data Source=") + gone));
        ADD_FAILURE() << "a link that cannot be opened was taken";
    } catch (const Brelib::exception& e) {
        EXPECT_EQ(e.text(), QStringLiteral("The new connection has been interrupted: The SQLite database file \"%1\" does not exist.").arg(gone));
    }
    EXPECT_EQ(readAll(target), old);
    EXPECT_TRUE(steps.isEmpty());
    EXPECT_TRUE(connection.isConnected());
    EXPECT_EQ(filesLeft(), QStringList({QStringLiteral("editor.seen"), QStringLiteral("new link.udl"), QStringLiteral("shop.db")}));
}

TEST_F(NewDataLinkFileCommand, FailuresCarryTheSystemsTextAndLeaveNoTemporaryFile)
{
    const auto failureOf = [&](const QString& to, const DataLinkEditor& editor) {
        try {
            createDataLinkFile(connection, to, editor);
        } catch (const Brelib::exception& e) {
            return e.text();
        }
        return QStringLiteral("<no failure>");
    };
    const QString action = QStringLiteral("Creation and configuration of the Microsoft Data Link File: ");
    const DataLinkEditor saving = savingEditor(QStringLiteral("Provider=SQLite;Data Source=") + database);

    // The temporary file cannot be made: its folder does not exist, or is a file.
    EXPECT_EQ(failureOf(dir.qfile("no folder/x.udl"), saving), action + QStringLiteral("No such file or directory"));
    EXPECT_EQ(failureOf(database + QStringLiteral("/x.udl"), saving), action + QStringLiteral("Not a directory"));

    // The editor cannot be started.
    const QString missing = dir.qfile("no-such-editor");
    EXPECT_EQ(failureOf(target, {missing, {}}),
              action + QStringLiteral("The data link editor \"%1\" cannot be started: No such file or directory").arg(missing));
    EXPECT_EQ(failureOf(target, {dir.qpath(), {}}),
              action + QStringLiteral("The data link editor \"%1\" cannot be started: Is a directory").arg(dir.qpath()));

    // The new file cannot be moved over the target: a folder of that name is in the way.
    ASSERT_TRUE(QDir(dir.qpath()).mkpath(QStringLiteral("taken.udl/inside")));
    EXPECT_EQ(failureOf(dir.qfile("taken.udl"), saving), QStringLiteral("Is a directory"));
    EXPECT_TRUE(QFileInfo(dir.qfile("taken.udl/inside")).isDir());

    EXPECT_EQ(filesLeft(), QStringList({QStringLiteral("editor.seen"), QStringLiteral("shop.db")}));
    EXPECT_FALSE(connection.isConnected());
}

TEST_F(NewDataLinkFileCommand, ARefusingBeforeConnectStepEndsQuietlyWithNothingLeft)
{
    allowConnect = false;
    EXPECT_EQ(createDataLinkFile(connection, target, savingEditor(QStringLiteral("Provider=SQLite;Data Source=") + database)),
              CommandOutcome::Refused);
    EXPECT_EQ(filesLeft(), QStringList({QStringLiteral("editor.seen"), QStringLiteral("shop.db")}));
    EXPECT_FALSE(connection.isConnected());
}

TEST(NewConnectionString, ThePromptsSourceIsInstalledOrACancelEndsQuietly)
{
    qbtest::TempDir dir;
    const QString database = dir.qfile("a.db");
    qbtest::makeSqliteFile(database);
    const QString init = QStringLiteral("Provider=SQLite;Data Source=") + database;
    QStringList steps;
    Connection::Hooks hooks;
    hooks.afterConnect = [&] { steps << QStringLiteral("after"); };
    Connection connection(hooks);

    const auto opened = [&] {
        auto source = qb::data::createDataSource(init);
        source->initialize();
        return source;
    };
    EXPECT_EQ(createConnectionString(connection, opened), CommandOutcome::Connected);
    EXPECT_EQ(connection.connectionName(), u"connection string");
    EXPECT_NE(connection.session(), nullptr);
    EXPECT_EQ(steps, QStringList{QStringLiteral("after")});

    // Cancelling: the old connection was closed before the prompt, and no message.
    EXPECT_EQ(createConnectionString(connection, [] { return nullptr; }), CommandOutcome::Cancelled);
    EXPECT_FALSE(connection.isConnected());
    EXPECT_EQ(createConnectionString(connection, []() -> std::shared_ptr<qb::data::DataSource> {
                  throw qb::data::ProviderError(qb::data::DB_E_CANCELED, QString());
              }),
              CommandOutcome::Cancelled);

    try {
        createConnectionString(connection, [&] {
            auto source = qb::data::createDataSource(QStringLiteral("Provider=SQLite;Data Source=") + dir.qfile("gone.db"));
            source->initialize();
            return source;
        });
        ADD_FAILURE() << "a failed initialization was taken";
    } catch (const Brelib::exception& e) {
        EXPECT_EQ(e.text(), QStringLiteral("The new connection has been interrupted: The SQLite database file \"%1\" does not exist.")
                                .arg(dir.qfile("gone.db")));
    }
    EXPECT_EQ(steps.size(), 1);
}

} // namespace
