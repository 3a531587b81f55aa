// "Save the Configuration" and "Export the Configuration...": the flow with its question and
// file choice, and the exact bytes of an exported settings tree against a reference file.
#include "FakeUserPrompts.h"

#include "common/RecentDocumentList.h"
#include "common/settings/SettingsNumber.h"
#include "docking/BandValue.h"
#include "explorer/settings/ConfigurationCommands.h"
#include "explorer/settings/ElementListStyles.h"
#include "explorer/settings/LayoutStore.h"
#include "explorer/settings/OptionsGroups.h"
#include "support/SettingsTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QFileInfo>

using namespace qb::settings;
using namespace qb::reg;
using qb::docking::BandValue;

namespace {

const QString kRoot = explorerRootPath();
const QString kQuestion = QStringLiteral(
    "Vexa@Qorvex: Question|Configuration file will be updated using the configuration information from the "
    "registry. Do you want to save the current configuration intormation?");
const QString kSaved = QStringLiteral("1|Vexa@Qorvex: Information|Configuration saving into the registry is complete.");

WindowLayout sampleLayout()
{
    WindowLayout layout;
    layout.rect = {40, 30, 1064, 798};
    layout.bands = {{60160, BandValue{1016, false, 0}.encode()},
                    {60161, BandValue{420, true, 1}.encode()},
                    {60162, BandValue{180, false, 2}.encode()}};
    for (int i = 0; i < kDockingRecordSize; ++i) {
        layout.report[i] = uchar(i);
        layout.dataQuickView[i] = uchar(0x80 + i);
        layout.dataTree[i] = uchar(i * 3);
        layout.sqlEdit[i] = uchar(255 - i);
    }
    return layout;
}

class ConfigurationCommandsTest : public ::testing::Test {
protected:
    // A window's worth of settings: options groups, view group, recent list, one element's styles.
    long saveLayout()
    {
        ++m_layoutSaves;
        return LayoutStore().save(m_view, sampleLayout(), true, m_recent);
    }
    void buildSettingsTree()
    {
        ASSERT_EQ(writeDwordSetting(kRoot + versionKey(), QStringLiteral("ShowTipOfTheDay"), 1), ERROR_SUCCESS);
        m_recent.add(QStringLiteral("/home/ann/shop.udl"));
        m_groups.general().setValue(QStringLiteral("MaxBackupPoints"), 35);
        m_groups.dataList().setValue(QStringLiteral("IsShowGrid"), 0);
        saveConfiguration([this] { return saveLayout(); }, m_groups, m_prompts);
        ElementListStyles styles(1);
        styles.setListViewStyles(1);
        styles.setListViewStylesEx(0x00010020);
        ASSERT_EQ(styles.loadSave(SettingsGroup::Write), ERROR_SUCCESS);
    }

    qbtest::ScopedRegistryDir m_registry;
    qbtest::TempDir m_files;
    qbtest::FakeUserPrompts m_prompts;
    OptionsGroups m_groups;
    ViewSettings m_view;
    qb::RecentDocumentList m_recent;
    int m_layoutSaves = 0;
};

TEST_F(ConfigurationCommandsTest, SaveRunsTheLayoutSaveWritesTheGroupsAndTells)
{
    m_groups.dataTree().setValue(QStringLiteral("IsTrackSelect"), 1);
    saveConfiguration([this] { return saveLayout(); }, m_groups, m_prompts);
    EXPECT_EQ(m_layoutSaves, 1);
    EXPECT_EQ(qbtest::getValue(kRoot + dataTreeKey(), QStringLiteral("IsTrackSelect"))->data.left(4), QByteArray("1\0\0\0", 4));
    EXPECT_TRUE(qbtest::getValue(kRoot + viewKey(), QStringLiteral("sqledt")).has_value());
    EXPECT_EQ(m_prompts.messages, QStringList{kSaved});
}

TEST_F(ConfigurationCommandsTest, SaveReportsARegistryWriteThatFailed)
{
    // Prior to the fix, the completion message was shown whatever the writes answered.
    EXPECT_FALSE(saveConfiguration([] { return 5L; }, m_groups, m_prompts));
    ASSERT_EQ(m_prompts.messages.size(), 1);
    EXPECT_EQ(m_prompts.messages.first(),
              QStringLiteral("4|Vexa@Qorvex: Error message|The configuration could not be saved into the registry (error 5)."));
}

TEST_F(ConfigurationCommandsTest, ExportedSettingsTreeMatchesTheReferenceByteForByte)
{
    buildSettingsTree();
    m_prompts.chosenFile = m_files.qfile("settings.reg");
    ASSERT_TRUE(exportConfiguration(m_prompts, nullptr));
    const QByteArray exported = qbtest::readFile(m_prompts.chosenFile);
    const QString reference = QStringLiteral(QB_SETTINGS_TEST_DATA "/settings-tree.reg");
    if (qEnvironmentVariableIsSet("QB_REGENERATE_REFERENCES"))
        qbtest::writeFile(reference, exported);
    EXPECT_EQ(exported, qbtest::readFile(reference)) << "to regenerate after an intended change, run with "
                                                        "QB_REGENERATE_REFERENCES=1 and review the difference";
}

TEST_F(ConfigurationCommandsTest, ExportAnsweredNoWritesTheRegistryAsItIs)
{
    buildSettingsTree();
    m_prompts.messages.clear();
    m_groups.general().setValue(QStringLiteral("MaxBackupPoints"), 499); // not saved yet
    m_prompts.answer = Answer::No;
    m_prompts.chosenFile = m_files.qfile("no.reg");
    const int savesBefore = m_layoutSaves;
    bool saved = false;
    ASSERT_TRUE(exportConfiguration(m_prompts, [&saved] { saved = true; }));
    EXPECT_FALSE(saved);
    EXPECT_EQ(m_layoutSaves, savesBefore);
    EXPECT_EQ(m_prompts.questions, QStringList{kQuestion});
    const QByteArray text = qbtest::readFile(m_prompts.chosenFile);
    EXPECT_TRUE(text.contains("\"MaxBackupPoints\" = \"35\"\r\n"));
    EXPECT_TRUE(text.contains("\"SingleInstance\" = dword:00000001\r\n"));
    EXPECT_FALSE(text.contains("Recent Document List")); // outside the versioned tree
    EXPECT_EQ(m_prompts.lastRequest.filterName, QStringLiteral("Microsoft REG files"));
    EXPECT_EQ(m_prompts.lastRequest.pattern, QStringLiteral("*.reg"));
    EXPECT_EQ(m_prompts.lastRequest.defaultSuffix, QStringLiteral("reg"));
    EXPECT_TRUE(m_prompts.messages.isEmpty());
}

TEST_F(ConfigurationCommandsTest, ExportAnsweredYesSavesFirst)
{
    buildSettingsTree();
    m_groups.general().setValue(QStringLiteral("MaxBackupPoints"), 499);
    m_prompts.answer = Answer::Yes;
    m_prompts.chosenFile = m_files.qfile("yes.reg");
    ASSERT_TRUE(exportConfiguration(m_prompts, [this] { saveConfiguration([this] { return saveLayout(); }, m_groups, m_prompts); }));
    EXPECT_TRUE(qbtest::readFile(m_prompts.chosenFile).contains("\"MaxBackupPoints\" = \"499\"\r\n"));
    EXPECT_EQ(m_prompts.messages.last(), kSaved);
}

TEST_F(ConfigurationCommandsTest, CancelAtTheQuestionOrTheFileDialogWritesNothing)
{
    m_prompts.answer = Answer::Cancel;
    m_prompts.chosenFile = m_files.qfile("cancel.reg");
    EXPECT_FALSE(exportConfiguration(m_prompts, nullptr));
    EXPECT_EQ(m_prompts.fileDialogs, 0);
    m_prompts.answer = Answer::No;
    m_prompts.chosenFile.clear();
    EXPECT_FALSE(exportConfiguration(m_prompts, nullptr));
    EXPECT_EQ(m_prompts.fileDialogs, 1);
    EXPECT_FALSE(QFileInfo::exists(m_files.qfile("cancel.reg")));
}

TEST_F(ConfigurationCommandsTest, UnwritableFileIsReportedWithoutIcon)
{
    m_prompts.chosenFile = m_files.qfile("missing/folder.reg");
    EXPECT_FALSE(exportConfiguration(m_prompts, nullptr));
    EXPECT_EQ(m_prompts.messages, QStringList{QStringLiteral("0|Registry export|Error while creating the file")});
}

} // namespace
