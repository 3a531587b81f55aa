// The Data Link Properties dialog on the real widgets (offscreen): the pages edit one model,
// the ODBC page by keyboard, Test Connection in the provider's words, a pasted string, the
// datalink program's loop, and the in-process prompt.
#include "dataaccess/DataLinkFile.h"
#include "dataaccess/Provider.h"
#include "datalinks/ConnectionPrompt.h"
#include "datalinks/DataLinkDialog.h"
#include "datalinks/DataLinkFileEditing.h"
#include "datalinks/ModalDriver.h"
#include "datalinks/PrivateDsn.h"
#include "datalinks/SqliteFile.h"
#include "support/TempDir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace qb::datalinks;

namespace {

template <typename W>
W* child(const QWidget& parent, const char* name)
{
    W* w = parent.findChild<W*>(QString::fromLatin1(name));
    if (!w)
        ADD_FAILURE() << "no widget " << name;
    return w;
}

// The value of a name on the All page, or "<none>".
QString allPageValue(const DataLinkDialog& dialog, const QString& name)
{
    auto* table = child<QTableWidget>(dialog, "allProperties");
    for (int row = 0; table && row < table->rowCount(); ++row)
        if (table->item(row, 0) && table->item(row, 0)->text() == name)
            return table->item(row, 1)->text();
    return QStringLiteral("<none>");
}

// Clicks Test Connection and waits for its outcome; the result label's text.
QString runTest(DataLinkDialog& dialog)
{
    QSignalSpy finished(&dialog, &DataLinkDialog::testFinished);
    QTest::mouseClick(child<QPushButton>(dialog, "testConnection"), Qt::LeftButton);
    EXPECT_TRUE(dialog.isTesting() || !finished.isEmpty());
    if (finished.isEmpty()) {
        EXPECT_TRUE(finished.wait(30000));
    }
    return child<QLabel>(dialog, "testResult")->text();
}

class DataLinkDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        database = dir.qfile("shop.db");
        qbtest::makeSqliteFile(database);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }

    qbtest::TempDir dir;
    QString database;
    DataLinkDialog dialog;
};

TEST_F(DataLinkDialogTest, EveryPageShowsAndEditsTheSameProperties)
{
    dialog.showPage(1);
    auto* file = child<QLineEdit>(dialog, "sqliteFile");
    auto* readOnly = child<QCheckBox>(dialog, "sqliteReadOnly");
    auto* immutable = child<QCheckBox>(dialog, "sqliteImmutable");
    QTest::keyClicks(file, database);
    QTest::mouseClick(readOnly, Qt::LeftButton, {}, QPoint(4, readOnly->height() / 2));
    EXPECT_EQ(dialog.model().databaseFile(), database);
    EXPECT_TRUE(dialog.model().readOnly());

    dialog.showPage(2);
    EXPECT_EQ(allPageValue(dialog, QStringLiteral("Data Source")), database);
    EXPECT_EQ(allPageValue(dialog, QStringLiteral("Mode")), u"ReadOnly");
    // Edit on the All page: another file, and a property of its own.
    auto* table = child<QTableWidget>(dialog, "allProperties");
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->item(row, 0)->text() == u"Data Source")
            table->item(row, 1)->setText(QStringLiteral("/elsewhere.db"));
    const int added = table->rowCount() - 1;
    table->item(added, 0)->setText(QStringLiteral("Immutable"));
    table->item(added, 1)->setText(QStringLiteral("True"));
    EXPECT_EQ(table->rowCount(), added + 2);
    EXPECT_EQ(table->item(added + 1, 0)->text(), QString()) << "a new empty row follows the added one";
    table->item(0, 0)->setText(QStringLiteral("a=b"));
    EXPECT_EQ(table->item(0, 0)->text(), QString()) << "a name the string cannot hold is refused";
    table->item(0, 0)->setText(QStringLiteral("Provider"));

    dialog.showPage(1);
    EXPECT_EQ(file->text(), u"/elsewhere.db");
    EXPECT_TRUE(immutable->isChecked());
    EXPECT_TRUE(readOnly->isChecked());
    EXPECT_FALSE(readOnly->isEnabled()) << "an immutable file is read-only anyway";
}

TEST_F(DataLinkDialogTest, OdbcPageByKeyboardChoosesADriverAndTheLogon)
{
    auto* providers = child<QListWidget>(dialog, "providerList");
    providers->setCurrentRow(1);
    EXPECT_EQ(dialog.model().provider(), ProviderKind::Odbc);
    dialog.showPage(1);

    // A button's mnemonic clicks it a moment later, as a user would see it pressed.
    QTest::keyClick(&dialog, Qt::Key_V, Qt::AltModifier);
    auto* drivers = child<QComboBox>(dialog, "odbcDriver");
    EXPECT_TRUE(QTest::qWaitFor([&] { return child<QRadioButton>(dialog, "odbcUseDriver")->isChecked(); }));
    EXPECT_EQ(QApplication::focusWidget(), drivers) << "choosing the driver source goes on to its list";
    ASSERT_GE(drivers->count(), 1) << "the private ODBC configuration names drivers";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    const QString chosen = drivers->currentData().toString();
    EXPECT_EQ(dialog.model().driver(), chosen);
    EXPECT_EQ(child<QTableWidget>(dialog, "odbcDriverKeys")->rowCount(), int(dialog.model().driverKeys().size()) + 1);

    QTest::keyClick(&dialog, Qt::Key_U, Qt::AltModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("ann"));
    QTest::keyClick(&dialog, Qt::Key_P, Qt::AltModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("secret"));
    QTest::keyClick(&dialog, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(dialog.model().userName(), u"ann");
    EXPECT_EQ(dialog.model().password(), u"secret");
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.model().keepPassword(); }));
    EXPECT_EQ(dialog.model().driver(), chosen) << "typing elsewhere leaves the driver alone";
}

TEST_F(DataLinkDialogTest, TestConnectionSaysWhatHappenedInTheProvidersWords)
{
    dialog.model().setDatabaseFile(database);
    dialog.showPage(1);
    EXPECT_EQ(runTest(dialog), u"Test connection succeeded.");

    const QString gone = dir.qfile("gone.db");
    dialog.model().setDatabaseFile(gone);
    dialog.reload();
    EXPECT_EQ(runTest(dialog), QStringLiteral("Test connection failed:\nThe SQLite database file \"%1\" does not exist.").arg(gone));
}

TEST_F(DataLinkDialogTest, APastedStringReplacesEverythingOrSaysWhatIsWrongWithIt)
{
    auto* field = child<QLineEdit>(dialog, "connectionString");
    auto* use = child<QPushButton>(dialog, "useConnectionString");
    auto* problem = child<QLabel>(dialog, "connectionStringProblem");

    field->setText(QStringLiteral("Provider=ODBC;DSN=\"shop"));
    QTest::mouseClick(use, Qt::LeftButton);
    EXPECT_TRUE(problem->isVisible());
    EXPECT_TRUE(problem->text().contains(u"never closed")) << problem->text().toStdString();
    EXPECT_EQ(dialog.model().provider(), ProviderKind::Sqlite);

    field->setText(QStringLiteral("Provider=ODBC;DSN=shop;UID=ann"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible()) << "Enter in the field takes the string, it does not close the dialog";
    EXPECT_FALSE(problem->isVisible());
    EXPECT_TRUE(field->text().isEmpty()) << "taken over, the field is ready for the next paste";
    EXPECT_EQ(child<QListWidget>(dialog, "providerList")->currentRow(), 1);
    dialog.showPage(1);
    EXPECT_EQ(child<QLineEdit>(dialog, "odbcUser")->text(), u"ann");
    EXPECT_TRUE(child<QComboBox>(dialog, "odbcDsn")->currentText().startsWith(u"shop"));
}

TEST_F(DataLinkDialogTest, PostgresThroughADataSourceNameWithTheRightAndAWrongPassword)
{
    qbtest::PrivateDsn dsn;
    child<QListWidget>(dialog, "providerList")->setCurrentRow(1);
    dialog.showPage(1);
    QTest::mouseClick(child<QPushButton>(dialog, "odbcRefresh"), Qt::LeftButton);
    auto* sources = child<QComboBox>(dialog, "odbcDsn");
    const int index = sources->findData(dsn.name());
    ASSERT_GE(index, 0);
    sources->setCurrentIndex(index);
    EXPECT_TRUE(sources->currentText().contains(u"user, PostgreSQL Unicode")) << sources->currentText().toStdString();
    QTest::keyClicks(child<QLineEdit>(dialog, "odbcUser"), dsn.user());
    QTest::keyClicks(child<QLineEdit>(dialog, "odbcPassword"), dsn.password() + QStringLiteral("-wrong"));
    const QString wrong = runTest(dialog);
    EXPECT_TRUE(wrong.startsWith(u"Test connection failed:\n")) << wrong.toStdString();
    EXPECT_TRUE(wrong.contains(u"password authentication failed")) << wrong.toStdString();

    child<QLineEdit>(dialog, "odbcPassword")->clear();
    QTest::keyClicks(child<QLineEdit>(dialog, "odbcPassword"), dsn.password());
    EXPECT_EQ(runTest(dialog), u"Test connection succeeded.");
}

TEST(DataLinkFileEditing, SavedFilesAreWrittenPrivateAndAFailedWriteBringsTheDialogBack)
{
    qbtest::TempDir dir;
    const QString db = dir.qfile("a.db");
    const QString file = dir.qfile("a.udl");
    qb::data::writeDataLinkFile(file, QStringLiteral("Provider=SQLite;Data Source=/old.db"));

    QString shown;
    qbtest::ModalDriver save({[&](QWidget* modal) {
        auto* dialog = qobject_cast<DataLinkDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        shown = dialog->model().connectionString();
        dialog->model().setDatabaseFile(db);
        dialog->accept();
    }});
    EXPECT_EQ(editDataLinkFile(file), kEditSaved);
    EXPECT_EQ(shown, u"Provider=SQLite;Data Source=/old.db");
    EXPECT_EQ(qb::data::readDataLinkFile(file), QStringLiteral("Provider=SQLite;Data Source=") + db);
    EXPECT_EQ(QFile::permissions(file) & 0x0FFF, QFile::ReadUser | QFile::WriteUser);

    qbtest::ModalDriver cancel({[](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); }});
    EXPECT_EQ(editDataLinkFile(file), kEditCancelled);
    EXPECT_EQ(qb::data::readDataLinkFile(file), QStringLiteral("Provider=SQLite;Data Source=") + db);

    // A file in a folder that does not exist: the reason is shown, then the dialog again.
    QString reported;
    qbtest::ModalDriver failing({[](QWidget* modal) { static_cast<QDialog*>(modal)->accept(); },
                                 [&](QWidget* modal) {
                                     auto* box = qobject_cast<QMessageBox*>(modal);
                                     ASSERT_NE(box, nullptr);
                                     reported = box->text();
                                     box->accept();
                                 },
                                 [](QWidget* modal) {
                                     EXPECT_NE(qobject_cast<DataLinkDialog*>(modal), nullptr);
                                     static_cast<QDialog*>(modal)->reject();
                                 }});
    EXPECT_EQ(editDataLinkFile(dir.qfile("gone/b.udl")), kEditCancelled);
    EXPECT_EQ(failing.stepsLeft(), 0u);
    EXPECT_TRUE(reported.endsWith(u"cannot be written: No such file or directory")) << reported.toStdString();
}

TEST(DataLinkProgram, WithoutAFileItSaysHowToStartIt)
{
    QProcess program;
    program.start(QStringLiteral(QB_DATALINK_PROGRAM), {});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), kEditUsage);
    EXPECT_EQ(program.readAllStandardError(), "usage: datalink FILE.udl\n");
}

TEST(ConnectionPrompt, OkGivesAnInitializedDataSourceAndCancelNone)
{
    qbtest::TempDir dir;
    const QString db = dir.qfile("a.db");
    qbtest::makeSqliteFile(db);
    qbtest::ModalDriver ok({[&](QWidget* modal) {
        auto* dialog = static_cast<DataLinkDialog*>(modal);
        dialog->model().setDatabaseFile(db);
        dialog->accept();
    }});
    const auto source = promptDataSource(nullptr);
    ASSERT_NE(source, nullptr);
    EXPECT_TRUE(source->isInitialized());
    EXPECT_NE(source->createSession(), nullptr);

    qbtest::ModalDriver cancel({[](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); }});
    EXPECT_EQ(promptDataSource(nullptr), nullptr);

    qbtest::ModalDriver failing({[&](QWidget* modal) {
        static_cast<DataLinkDialog*>(modal)->model().setDatabaseFile(dir.qfile("gone.db"));
        static_cast<QDialog*>(modal)->accept();
    }});
    EXPECT_THROW(promptDataSource(nullptr), qb::data::ProviderError);
}

} // namespace
