// The console's settings: a fresh profile's defaults in the window, the round trip through the
// registry, the settings dialog's checks, and the colouring rebuilt when the Format page changes.
#include "ConsoleWindowFixture.h"

#include "common/ui/SqlHighlighter.h"
#include "console/settings/ConsoleSettingsStore.h"
#include "console/ui/CategoryFormats.h"
#include "console/ui/SettingsDialog.h"
#include "platform/Registry.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QtEndian>

namespace qbtest {
namespace {

using namespace qb::console;
using namespace qb::console::ui;

// Each test its own root, so no test sees another's settings.
QString testRoot()
{
    return "Software\\Marrowind\\quillbase\\tessmar-test-" + QString::fromStdString(
                                                                ::testing::UnitTest::GetInstance()->current_test_info()->name());
}

class ConsoleSettingsTest : public ::testing::Test {
protected:
    void TearDown() override { qb::reg::RegDeleteTree(qb::reg::HKEY_CURRENT_USER, testRoot()); }

    std::unique_ptr<ConsoleWindow> window()
    {
        ConsoleWindowOptions options;
        options.settingsRoot = testRoot();
        options.prompts = prompts;
        auto w = std::make_unique<ConsoleWindow>(options);
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        EXPECT_TRUE(waitUntil([&] { return w->splitter()->sizes().value(0) > 0; }));
        QCoreApplication::processEvents();
        return w;
    }
    std::shared_ptr<ScriptedPrompts> prompts = std::make_shared<ScriptedPrompts>();
};

TEST_F(ConsoleSettingsTest, AFreshProfileOpensTheDefaultWindow)
{
    auto w = window();
    EXPECT_EQ(w->pos(), QPoint(0, 0));
    EXPECT_EQ(w->size(), QSize(400, 400));
    const QList<int> sizes = w->splitter()->sizes();
    EXPECT_LE(std::abs(sizes[0] - sizes[1]), 1) << sizes[0] << " " << sizes[1];
    const ConsoleSettings& s = w->settings();
    EXPECT_TRUE(s.rowsShownDuringExecution());
    EXPECT_EQ(s.categories[kSqlKeywords].faceName, "Tahoma");
    EXPECT_EQ(categoryColor(s.categories[kSqlKeywords]), QColor(0, 0, 255));
    const QTextCharFormat results = categoryFormat(s.categories[kResultExecution]);
    EXPECT_EQ(results.fontFamilies().toStringList().value(0), "Courier New");
    EXPECT_EQ(results.fontWeight(), QFont::Bold);
    EXPECT_EQ(results.foreground().color(), QColor(0, 0, 255));
    EXPECT_EQ(s.splitterPos, kSplitterNotSet);
    EXPECT_EQ(w->sqlEditor().highlighter().ranges().size(), 0u);
}

TEST_F(ConsoleSettingsTest, EverySettingComesBackFromTheRegistryLongFaceNamesWhole)
{
    ConsoleSettings s = ConsoleSettings::defaults();
    s.left = 10;
    s.top = 20;
    s.right = 610;
    s.bottom = 520;
    s.fullWindow = true;
    s.splitterPos = 150;
    s.toolbarBand = 0x10000 | 300;
    s.hasToolbarBand = true;
    s.showDataDuringExec = 0;
    s.sqlWindow = {4, 10, 5, 100};
    s.resultWindow = {8, 1, 2, 0};
    s.categories[kSqlKeywords].faceName = "DejaVu Sans Mono Condensed Oblique";
    s.categories[kResultOther].textColor = 0x123456;
    s.categories[kSqlComment].effects = kEffectBold | kEffectUnderline;
    s.keywords = QString("select,from,") + QString(2000, u'k');
    const ConsoleSettingsStore store(testRoot());
    ASSERT_EQ(store.save(s), 0);
    ConsoleSettings back = ConsoleSettings::defaults();
    ASSERT_EQ(store.load(back), 0);
    EXPECT_TRUE(back == s);

    // Numbers are 250-byte REG_SZ text; a face name written in the old fixed 32 bytes still reads.
    qb::reg::KeyGuard key;
    ASSERT_EQ(qb::reg::RegOpenKeyEx(qb::reg::HKEY_CURRENT_USER, testRoot() + "\\1.6\\Property\\Format", key.out()), 0);
    uint32_t type = 0, size = 0;
    ASSERT_EQ(qb::reg::RegQueryValueEx(key.get(), "SQLWndTxtProp0 TextColor", &type, nullptr, &size), 0);
    EXPECT_EQ(type, qb::reg::REG_SZ);
    EXPECT_EQ(size, 250u);
    QByteArray old(32, '\0');
    const QString face = "Arial";
    for (int i = 0; i < face.size(); ++i)
        qToLittleEndian<quint16>(face[i].unicode(), old.data() + 2 * i);
    ASSERT_EQ(qb::reg::RegSetValueEx(key.get(), "SQLWndTxtProp1 FaceName", qb::reg::REG_SZ, old.constData(), 32), 0);
    ASSERT_EQ(store.load(back), 0);
    EXPECT_EQ(back.categories[kSqlComment].faceName, "Arial");
}

TEST_F(ConsoleSettingsTest, AnUnsetSplitterIsTheAllOnesNumberAndTheWindowPlacesAStoredOne)
{
    ConsoleSettings s = ConsoleSettings::defaults();
    s.splitterPos = 4294967295u;
    s.bottom = 700;
    ASSERT_EQ(ConsoleSettingsStore(testRoot()).save(s), 0);
    ConsoleSettings back;
    back.splitterPos = 5;
    ConsoleSettingsStore(testRoot()).load(back);
    EXPECT_EQ(back.splitterPos, kSplitterNotSet);

    {
        auto w = window();
        const QList<int> sizes = w->splitter()->sizes();
        w->splitter()->setSizes({130, sizes[0] + sizes[1] - 130});
        ASSERT_EQ(w->saveSettings(), 0);
    }
    auto w = window();
    EXPECT_EQ(w->settings().splitterPos, 130u);
    EXPECT_EQ(w->splitter()->sizes().value(0), 130);
}

TEST_F(ConsoleSettingsTest, TheEditorPageTakesATabCountOf100AndRefuses101WithTheRangeMessage)
{
    auto w = window();
    SettingsDialog dialog(w->settings(), *prompts, w.get());
    QObject::connect(&dialog, &SettingsDialog::applied, w.get(), &ConsoleWindow::applySettings);
    dialog.tabs()->setCurrentIndex(SettingsDialog::EditorPage);
    dialog.editorField(0)->setText("100");
    EXPECT_TRUE(dialog.apply());
    EXPECT_EQ(w->settings().sqlWindow.tabCount, 100u);
    EXPECT_TRUE(prompts->messages.empty());

    dialog.editorField(0)->setText("101");
    EXPECT_FALSE(dialog.apply());
    ASSERT_EQ(prompts->messages.size(), 1u);
    EXPECT_EQ(prompts->messages[0].text, "Please enter an integer value between 0 and 100\r\n");
    EXPECT_EQ(prompts->messages[0].caption, "Error");
    EXPECT_EQ(w->settings().sqlWindow.tabCount, 100u);

    // Not a number: a beep, no message; leaving the page is refused too.
    dialog.editorField(0)->setText("100");
    dialog.editorField(5)->setText("x1");
    dialog.tabs()->setCurrentIndex(SettingsDialog::FormatPage);
    EXPECT_EQ(dialog.tabs()->currentIndex(), int(SettingsDialog::EditorPage));
    EXPECT_EQ(prompts->beeps, 1);
    EXPECT_EQ(prompts->messages.size(), 1u);
}

TEST_F(ConsoleSettingsTest, ChangingTheKeywordsRecoloursTheSqlWindowAtOnce)
{
    auto w = window();
    w->sqlEditor().setPlainText("select frobnicate from t");
    const auto keywordTexts = [&] {
        QStringList words;
        const QString text = w->sqlEditor().toPlainText();
        for (const qb::SqlColourRange& r : w->sqlEditor().highlighter().ranges())
            if (r.category == qb::SqlTextCategory::Keyword)
                words << text.mid(r.start, r.length);
        return words;
    };
    EXPECT_EQ(keywordTexts(), (QStringList{"select", "from"}));
    SettingsDialog dialog(w->settings(), *prompts, w.get());
    QObject::connect(&dialog, &SettingsDialog::applied, w.get(), &ConsoleWindow::applySettings);
    dialog.tabs()->setCurrentIndex(SettingsDialog::FormatPage);
    EXPECT_TRUE(dialog.keywordsField()->isEnabled());
    dialog.keywordsField()->setText("frobnicate");
    ASSERT_TRUE(dialog.apply());
    EXPECT_EQ(keywordTexts(), (QStringList{"frobnicate"})) << "before any keystroke";
    dialog.categoryList()->setCurrentRow(kSqlComment);
    EXPECT_FALSE(dialog.keywordsField()->isEnabled());
    dialog.setCategoryFont(QFont("DejaVu Sans Mono", 12), QColor(10, 20, 30));
    ASSERT_TRUE(dialog.apply());
    EXPECT_EQ(w->settings().categories[kSqlComment].faceName, "DejaVu Sans Mono");
    EXPECT_EQ(w->settings().categories[kSqlComment].height, 240u);
    EXPECT_EQ(w->settings().categories[kSqlComment].textColor, 0x1E140Au);
}

} // namespace
} // namespace qbtest
