#pragma once
// Every setting of the console, as plain values: the window's place, the splitter and toolbar
// band, "show data during SQL query execution", the editor options of the SQL and result windows
// and the six text categories with the keyword list. ConsoleSettingsStore reads and writes them.
#include <QString>
#include <array>
#include <cstdint>

namespace qb::console {

// The registry root of the console below HKEY_CURRENT_USER.
inline QString consoleRootPath() { return QStringLiteral("Software\\Marrowind\\quillbase\\tessmar"); }

// A character format as the settings keep it.
struct TextCategory {
    QString faceName;
    uint32_t textColor = 0; // 0x00BBGGRR
    uint32_t effects = 0;   // TextEffect bits
    uint32_t pitchAndFamily = 0;
    uint32_t charSet = 0;
    uint32_t height = 200; // twips: 20 a point
    bool operator==(const TextCategory&) const = default;
};

enum TextEffect : uint32_t { kEffectBold = 1, kEffectItalic = 2, kEffectUnderline = 4, kEffectStrikeOut = 8 };

// The categories in the order the Format page lists them.
enum CategoryIndex : int {
    kSqlKeywords = 0,
    kSqlComment = 1,
    kSqlString = 2,
    kSqlOther = 3,
    kResultExecution = 4,
    kResultOther = 5,
    kCategoryCount = 6,
};

struct EditorOptions {
    uint32_t tabCount = 2;
    uint32_t leftMargin = 0;
    uint32_t rightMargin = 0;
    uint32_t undoSize = 32;
    bool operator==(const EditorOptions&) const = default;
};

// The ranges the Editor page accepts (the undo size takes any unsigned number).
constexpr uint32_t kMaxTabCount = 100;
constexpr uint32_t kMaxMargin = 200;

constexpr uint32_t kSplitterNotSet = 0xFFFFFFFFu;
constexpr uint32_t kToolbarBandId = 60160;

struct ConsoleSettings {
    // \1.6\view
    int left = 0, top = 0, right = 400, bottom = 400;
    bool fullWindow = false;
    uint32_t splitterPos = kSplitterNotSet; // the SQL window's height; "not set" puts it in the middle
    // \1.6\view\rebar: the toolbar's band (width, line break, position packed as one value).
    uint32_t toolbarBand = 0;
    bool hasToolbarBand = false;
    // \1.6\Property\General
    uint32_t showDataDuringExec = 1;
    // \1.6\Property\Editor
    EditorOptions sqlWindow{2, 20, 0, 32};
    EditorOptions resultWindow{2, 0, 0, 32};
    // \1.6\Property\Format
    std::array<TextCategory, kCategoryCount> categories;
    QString keywords;

    // The fresh-profile values.
    static ConsoleSettings defaults();
    // "show data": a stored value outside 0 to 2 counts as off.
    bool rowsShownDuringExecution() const { return showDataDuringExec == 1 || showDataDuringExec == 2; }

    bool operator==(const ConsoleSettings&) const = default;
};

// The display names of the categories, in CategoryIndex order.
QString categoryName(int index);
// The settings prefix of a category ("SQLWndTxtProp0" ...).
QString categoryPrefix(int index);

} // namespace qb::console
