// The host side of the tip of the day: the flag in the registry, the library loaded from a folder
// by full path, the message naming the library when it is missing.
#include "explorer/startup/TipsLauncher.h"
#include "platform/Registry.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace qb::explorer;
namespace reg = qb::reg;

namespace {

const QString kKey = QStringLiteral("Software\\Marrowind\\quillbase\\qorvex\\1.6");

std::optional<uint32_t> storedFlag()
{
    reg::KeyGuard key;
    if (reg::RegOpenKeyEx(reg::HKEY_CURRENT_USER, kKey, key.out()) != reg::ERROR_SUCCESS)
        return std::nullopt;
    uint32_t type = 0, value = 0, size = sizeof value;
    if (reg::RegQueryValueEx(key.get(), QStringLiteral("ShowTipOfTheDay"), &type, &value, &size) != reg::ERROR_SUCCESS ||
        type != reg::REG_DWORD)
        return std::nullopt;
    return value;
}

void storeFlag(uint32_t value)
{
    reg::KeyGuard key;
    ASSERT_EQ(reg::RegCreateKeyEx(reg::HKEY_CURRENT_USER, kKey, key.out()), reg::ERROR_SUCCESS);
    ASSERT_EQ(reg::RegSetValueEx(key.get(), QStringLiteral("ShowTipOfTheDay"), reg::REG_DWORD, &value, sizeof value),
              reg::ERROR_SUCCESS);
}

class TipsLauncherTest : public ::testing::Test {
protected:
    TipsLauncherTest()
    {
        launcher.folder = QStringLiteral(QB_BIN_DIR);
        launcher.showError = [this](const QString& text) { errors << text; };
    }

    // Once a dialog is up: records the tip and whether the box was checked, then `keys`.
    void whenShown(std::function<void(QDialog*)> keys)
    {
        QTimer::singleShot(0, [this, keys] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            shownTip = dialog->findChild<QObject*>(QStringLiteral("tipText"))->property("text").toString();
            boxWasChecked = dialog->findChild<QObject*>(QStringLiteral("showAtStartup"))->property("checked").toBool();
            keys(dialog);
        });
    }
    static void toggleAndClose(QDialog* dialog)
    {
        QObject* box = dialog->findChild<QObject*>(QStringLiteral("showAtStartup"));
        box->setProperty("checked", !box->property("checked").toBool());
        QTest::keyClick(dialog, Qt::Key_Escape);
    }

    qbtest::ScopedRegistryDir registry;
    TipsLauncher launcher;
    QStringList errors;
    QString shownTip;
    bool boxWasChecked = false;
};

TEST_F(TipsLauncherTest, AMissingFlagShowsTheShippedTipsAndIsWrittenAfterwards)
{
    ASSERT_EQ(storedFlag(), std::nullopt);
    whenShown([](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); });
    EXPECT_EQ(launcher.show(nullptr, false), TipsOutcome::Shown);
    EXPECT_TRUE(shownTip.startsWith(u"Qorvex shows what is inside a database")) << shownTip.toStdString();
    EXPECT_TRUE(boxWasChecked);
    EXPECT_EQ(storedFlag(), 1u);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(TipsLauncherTest, TheAnswerBecomesTheFlagAndAZeroFlagShowsNothingUnlessForced)
{
    whenShown(toggleAndClose);
    EXPECT_EQ(launcher.show(nullptr, false), TipsOutcome::Shown);
    EXPECT_EQ(storedFlag(), 0u);

    EXPECT_EQ(launcher.show(nullptr, false), TipsOutcome::NotWanted);
    EXPECT_EQ(storedFlag(), 0u);

    whenShown(toggleAndClose);
    EXPECT_EQ(launcher.show(nullptr, true), TipsOutcome::Shown);
    EXPECT_FALSE(boxWasChecked);
    EXPECT_EQ(storedFlag(), 1u);
}

TEST_F(TipsLauncherTest, AMissingLibraryIsReportedByNameAndTheFlagKept)
{
    qbtest::TempDir empty;
    launcher.folder = empty.qpath();
    storeFlag(5);
    EXPECT_EQ(launcher.show(nullptr, false), TipsOutcome::LibraryMissing);
    EXPECT_EQ(errors, QStringList{QStringLiteral("Program can't load the \"liboltiva.so\" library. Please, reinstall this software.")});
    EXPECT_EQ(storedFlag(), 5u);
}

TEST_F(TipsLauncherTest, ALibraryWithoutTheExportShowsNothing)
{
    qbtest::TempDir folder;
    ASSERT_TRUE(QFile::copy(QStringLiteral(QB_NO_EXPORT_LIBRARY), folder.qfile("liboltiva.so")));
    launcher.folder = folder.qpath();
    EXPECT_EQ(launcher.show(nullptr, true), TipsOutcome::ExportMissing);
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(storedFlag(), 1u);
}

} // namespace
