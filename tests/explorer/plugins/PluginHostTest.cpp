// The plug-in host against real libraries: which files load, in what order and with which ids,
// the menu of a cell, the calls a plug-in gets and what it may not break.
#include "PluginTestSupport.h"

#include "explorer/plugins/ExternalBlobPlugin.h"
#include "explorer/plugins/PluginFolderScan.h"
#include "explorer/plugins/PluginText.h"

#include <gtest/gtest.h>

#include <filesystem>

extern "C" void qbtest_description_layout_from_c(size_t out[6]);
extern "C" const char16_t* qbtest_menu_text_from_c(void);

using namespace qb::plugins;

namespace qbtest {
namespace {

const QByteArray kBytes("\x00\x01\x02\xFFhello", 9);

QStringList externalPaths(const PluginHost& host)
{
    QStringList paths;
    for (int i = host.internalCount(); i < host.internalCount() + host.externalCount(); ++i)
        paths << QString::fromStdString(static_cast<ExternalBlobPlugin*>(PluginHost::pluginAt(i))->path());
    return paths;
}

TEST(PluginAbi, TheDescriptionRecordHasTheSameLayoutInCAndCpp)
{
    size_t c[6];
    qbtest_description_layout_from_c(c);
    EXPECT_EQ(c[0], offsetof(PluginDescription, name));
    EXPECT_EQ(c[1], 42u);
    EXPECT_EQ(c[2], 64u);
    EXPECT_EQ(c[3], 266u);
    EXPECT_EQ(c[4], 2314u);
    EXPECT_EQ(c[5], 4362u);
    EXPECT_EQ(copyPluginText(qbtest_menu_text_from_c(), kMaxMenuItemUnits), QStringLiteral("Hex \u00e9dition"));
}

TEST(PluginFolderScan, OnlyExactSuffixRegularFilesInNameOrderDepthFirstWithinTheDepthAndNoLinks)
{
    PluginFolder folder;
    for (const char* name : {"b.blob", "a.blob", "UPPER.BLOB", "c.blob.txt", "m/inner.blob", "m/deeper/deep.blob",
                             "m/deeper/too/far.blob", "z.blob"})
        folder.add(QBTEST_RECORDER, name);
    std::filesystem::create_directory_symlink(folder.dir().file("m"), folder.dir().file("linked-folder"));
    std::filesystem::create_symlink(folder.dir().file("a.blob"), folder.dir().file("linked.blob"));
    std::filesystem::create_directories(folder.dir().file("folder.blob"));

    std::vector<std::string> found;
    for (const auto& p : findPluginFiles(folder.dir().path(), 2))
        found.push_back(std::filesystem::relative(p, folder.dir().path()).string());
    EXPECT_EQ(found, (std::vector<std::string>{"a.blob", "b.blob", "m/deeper/deep.blob", "m/inner.blob", "z.blob"}));
    EXPECT_TRUE(findPluginFiles(folder.dir().file("missing")).empty());
}

TEST(PluginHost, AnEmptyOrMissingFolderLeavesTheTextViewerAlone)
{
    PluginFolder empty;
    for (const QString& folder : {empty.path(), empty.path() + QStringLiteral("missing/")}) {
        SCOPED_TRACE(folder.toStdString());
        HostInUse use(folder);
        ASSERT_EQ(PluginHost::count(), 1);
        EXPECT_TRUE(PluginHost::pluginAt(0)->isInternal());
        EXPECT_EQ(use.host().idAt(0), 0xD000);
        FixedCellSource cell;
        cell.set(kBytes, QB_TYPE_BYTES);
        auto menu = use.host().buildMenu(cell, 0, 1);
        ASSERT_TRUE(menu);
        EXPECT_EQ(menuLabels(*menu), QStringList{QStringLiteral("[disabled] (empty)")});
        EXPECT_EQ(menu->items()[0].id, 1);
        cell.set(QByteArray("text"), QB_TYPE_STR);
        menu = use.host().buildMenu(cell, 0, 1);
        EXPECT_EQ(menuLabels(*menu), QStringList{QStringLiteral("Show as a simple text")});
    }
    EXPECT_EQ(PluginHost::instance(), nullptr);
    EXPECT_EQ(PluginHost::count(), 0);
    EXPECT_EQ(PluginHost::pluginAt(0), nullptr);
}

TEST(PluginHost, LoadsTheRightFilesAndNumbersThemFrom0xD011InNameOrder)
{
    PluginFolder folder;
    const std::string second = folder.add(QBTEST_RECORDER_ANY, "b-any.blob");
    const std::string first = folder.add(QBTEST_RECORDER, "a-recorder.blob");
    const std::string nested = folder.add(QBTEST_RECORDER_REFUSE, "x/y/refuse.blob");
    folder.add(QBTEST_RECORDER, "UPPER.BLOB");
    const std::string noNameA = folder.add(QBTEST_RECORDER_NO_NAME_A, "c-no-name-a.blob");
    HostInUse use(folder.path());

    EXPECT_EQ(externalPaths(use.host()),
              (QStringList{QString::fromStdString(first), QString::fromStdString(second), QString::fromStdString(nested)}));
    EXPECT_EQ(use.host().idAt(0), 0xD000);
    EXPECT_EQ(use.host().idAt(1), 0xD011) << "the first external id, though only 0xD000 is taken";
    EXPECT_EQ(use.host().idAt(3), 0xD013);
    EXPECT_EQ(use.host().idAt(4), 0);
    EXPECT_EQ(use.host().pluginById(0xD001), nullptr) << "a lookup finds only ids handed out";
    EXPECT_EQ(use.host().pluginById(0xD014), nullptr);
    ASSERT_EQ(use.host().skippedFiles().size(), 1);
    EXPECT_TRUE(use.host().skippedFiles()[0].startsWith(QString::fromStdString(noNameA)));
    EXPECT_TRUE(use.host().skippedFiles()[0].contains(QStringLiteral("GetMenuItemNameA")));
}

TEST(PluginHost, ASecondInitCountsButAddsNothingAndTheLastTermEndsTheHost)
{
    PluginFolder one, two;
    one.add(QBTEST_RECORDER, "r.blob");
    two.add(QBTEST_RECORDER_ANY, "a.blob");
    two.add(QBTEST_RECORDER_REFUSE, "b.blob");
    {
        HostInUse first(one.path());
        const PluginHost* host = PluginHost::instance();
        {
            HostInUse second(two.path());
            EXPECT_EQ(PluginHost::instance(), host);
            EXPECT_EQ(PluginHost::count(), 2);
        }
        EXPECT_EQ(PluginHost::instance(), host) << "one user is left";
    }
    EXPECT_EQ(PluginHost::instance(), nullptr);
    PluginHost::term(); // without a host: nothing
    EXPECT_EQ(PluginHost::instance(), nullptr);
}

TEST(PluginHost, MenuOrderSeparatorRuleAndPluginsWithoutATest)
{
    PluginFolder folder;
    folder.add(QBTEST_RECORDER_ANY, "1.blob");
    folder.add(QBTEST_RECORDER_REFUSE, "2.blob");
    HostInUse use(folder.path());
    FixedCellSource cell;

    cell.set(QByteArray("text"), QB_TYPE_STR);
    auto menu = use.host().buildMenu(cell, 0, 1);
    EXPECT_EQ(menuLabels(*menu), (QStringList{QStringLiteral("Show as a simple text"), QStringLiteral("---"),
                                              QStringLiteral("Any value")}));
    EXPECT_EQ(menu->items()[2].id, 0xD011);

    cell.set(kBytes, QB_TYPE_BYTES);
    menu = use.host().buildMenu(cell, 0, 1);
    EXPECT_EQ(menuLabels(*menu), QStringList{QStringLiteral("Any value")}) << "no separator without an internal item";
    menu.reset();
    EXPECT_EQ(cell.fills, cell.releases);

    cell.set(std::nullopt, QB_TYPE_BYTES);
    EXPECT_EQ(use.host().buildMenu(cell, 0, 1), nullptr) << "a NULL cell gets no menu";
}

TEST(PluginHost, WithTheTextViewerAcceptingAndTheOnlyExternalRefusingTheMenuEndsInASeparator)
{
    PluginFolder folder;
    folder.add(QBTEST_RECORDER_REFUSE, "refuse.blob");
    HostInUse use(folder.path());
    FixedCellSource cell;
    cell.set(QByteArray("text"), QB_TYPE_WSTR);
    const auto menu = use.host().buildMenu(cell, 0, 1);
    EXPECT_EQ(menuLabels(*menu), (QStringList{QStringLiteral("Show as a simple text"), QStringLiteral("---")}));
}

TEST(PluginHost, EveryPluginIsTestedAndShownWithTheValueAtItsEndWhateverAnotherDid)
{
    PluginFolder folder;
    const std::string a = folder.add(QBTEST_RECORDER, "a.blob");
    const std::string b = folder.add(QBTEST_RECORDER, "b.blob");
    HostInUse use(folder.path());
    RecordedPlugin first(a), second(b);
    first.reset();
    second.reset();
    FixedCellSource cell;
    cell.set(kBytes, QB_TYPE_BYTES);

    auto menu = use.host().buildMenu(cell, 3, 2);
    ASSERT_EQ(menuLabels(*menu), (QStringList{QStringLiteral("Recorder"), QStringLiteral("Recorder")}));
    int parent = 0;
    const ShowOutcome outcome = menu->run(0xD012, &parent);
    EXPECT_TRUE(outcome.called);
    EXPECT_FALSE(outcome.warning);
    EXPECT_EQ(cell.fills, 1) << "the menu's value serves the show";
    menu.reset();
    EXPECT_EQ(cell.releases, 1);

    // Each TestBLOB moves the position to 0; the next call still starts at the end.
    EXPECT_EQ(first.calls(), (QStringList{QStringLiteral("TestBLOB type=128 size=9 position=9"),
                                          QStringLiteral("GetMenuItemNameW")}));
    EXPECT_EQ(second.calls(), (QStringList{QStringLiteral("TestBLOB type=128 size=9 position=9"),
                                           QStringLiteral("GetMenuItemNameW"),
                                           QStringLiteral("ShowBLOB parent=set reserved=0"),
                                           QStringLiteral("value type=128 size=9 position=9")}));
    EXPECT_EQ(second.lastValue(), kBytes);
}

TEST(PluginHost, ARoutedCommandFillsAfreshEachTimeAndIgnoresUnknownIds)
{
    PluginFolder folder;
    const std::string path = folder.add(QBTEST_RECORDER, "a.blob");
    HostInUse use(folder.path());
    RecordedPlugin plugin(path);
    FixedCellSource cell;
    cell.set(kBytes, QB_TYPE_BYTES);
    for (int i = 0; i < 2; ++i) {
        plugin.reset();
        EXPECT_TRUE(use.host().run(0xD011, cell, 0, 1, nullptr).called);
        EXPECT_EQ(plugin.lastValue(), kBytes) << "the stream is made anew, not appended to";
    }
    EXPECT_EQ(cell.fills, 2);
    EXPECT_EQ(cell.releases, 2);
    for (int id : {0xD001, 0xD010, 0xD012, 1})
        EXPECT_FALSE(use.host().run(id, cell, 0, 1, nullptr).called) << id;
    EXPECT_EQ(cell.fills, 2) << "no value is filled for an id no plug-in holds";
}

TEST(PluginHost, AnErrorTextWithPercentSignsComesBackUnchanged)
{
    PluginFolder folder;
    folder.add(QBTEST_RECORDER_FAILS, "fails.blob");
    HostInUse use(folder.path());
    FixedCellSource cell;
    cell.set(kBytes, QB_TYPE_BYTES);
    const ShowOutcome outcome = use.host().run(0xD011, cell, 0, 1, nullptr);
    EXPECT_TRUE(outcome.called);
    EXPECT_EQ(outcome.warning, QStringLiteral("Only 50% done: %s %n %1"));
}

TEST(PluginHost, APluginThatKeepsTheStreamGetsRevertedAnswersNotFreedMemory)
{
    PluginFolder folder;
    const std::string path = folder.add(QBTEST_RECORDER_KEEPER, "keeper.blob");
    HostInUse use(folder.path());
    RecordedPlugin keeper(path);
    FixedCellSource cell;
    cell.set(kBytes, QB_TYPE_BYTES);
    ASSERT_TRUE(use.host().run(0xD011, cell, 0, 1, nullptr).called);
    EXPECT_EQ(keeper.lastValue(), kBytes);
    // The plug-in reads after the host released the value (AddressSanitizer watches the memory).
    EXPECT_EQ(keeper.readKept(), QB_STG_E_REVERTED);
}

TEST(PluginHost, ExceptionsEscapingAPluginAreCaughtAtTheCall)
{
    PluginFolder folder;
    folder.add(QBTEST_THROWER, "thrower.blob");
    HostInUse use(folder.path());
    BlobPlugin* plugin = use.host().pluginById(0xD011);
    ASSERT_NE(plugin, nullptr);
    FixedCellSource cell;
    cell.set(kBytes, QB_TYPE_BYTES);
    const auto menu = use.host().buildMenu(cell, 0, 1);
    EXPECT_EQ(menuLabels(*menu), QStringList{QStringLiteral("thrower.blob")})
        << "accepted, as if it had no test, and named after its file for want of a menu text";
    const ShowOutcome outcome = use.host().run(0xD011, cell, 0, 1, nullptr);
    EXPECT_TRUE(outcome.called);
    EXPECT_FALSE(outcome.warning);
    PluginDescription description;
    plugin->getDescription(&description);
    EXPECT_EQ(readDescription(description).name, QStringLiteral("<Unknown>"));
}

TEST(PluginHost, DescriptionFieldsAreReadWithinTheirCapacity)
{
    PluginFolder folder;
    folder.add(QBTEST_RECORDER, "described.blob");
    folder.add(QBTEST_RECORDER_ANY, "plain.blob");
    HostInUse use(folder.path());
    PluginDescription description;
    use.host().pluginById(0xD011)->getDescription(&description);
    const PluginInfo info = readDescription(description);
    EXPECT_EQ(info.name, QStringLiteral("Recorder plug-in"));
    EXPECT_EQ(info.version, QString(11, u'9')) << "an unterminated field ends with the field";
    EXPECT_EQ(info.copyright, QString(101, u'c'));
    EXPECT_EQ(info.description, QString(1024, u'd'));
    EXPECT_EQ(info.languages, QString(1024, u'l'));
    EXPECT_TRUE(use.host().pluginById(0xD011)->hasAbout());
    EXPECT_TRUE(use.host().pluginById(0xD011)->hasConfigure());

    use.host().pluginById(0xD012)->getDescription(&description);
    EXPECT_EQ(readDescription(description).name, QStringLiteral("<Unknown>"));
    EXPECT_FALSE(use.host().pluginById(0xD012)->hasAbout());

    PluginHost::pluginAt(0)->getDescription(&description);
    EXPECT_EQ(readDescription(description).name, QStringLiteral("Simple text viewer ["));
}

TEST(PluginHost, TheExamplePluginCountsTheTextAndSaysSoThroughTheHost)
{
    PluginFolder folder;
    folder.add(QBTEST_EXAMPLE, "example.blob");
    HostInUse use(folder.path());
    FixedCellSource cell;
    cell.set(QByteArray(5000, 'x'), QB_TYPE_STR);
    auto menu = use.host().buildMenu(cell, 0, 1);
    EXPECT_EQ(menuLabels(*menu), (QStringList{QStringLiteral("Show as a simple text"), QStringLiteral("---"),
                                              QStringLiteral("Text length")}));
    EXPECT_EQ(menu->run(0xD011, nullptr).warning, QStringLiteral("The text is 5000 bytes long."));
    cell.set(kBytes, QB_TYPE_BYTES);
    menu = use.host().buildMenu(cell, 0, 1);
    EXPECT_EQ(menuLabels(*menu), QStringList{QStringLiteral("[disabled] (empty)")});
}

} // namespace
} // namespace qbtest
