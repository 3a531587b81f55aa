#include "console/settings/ConsoleSettings.h"

#include "common/SqlColorizer.h"

namespace qb::console {
namespace {

// Character set 204 and the pitch-and-family bytes are what the settings always held; they are
// kept and written back, the window itself does not use them.
TextCategory category(const char* face, uint32_t colour, uint32_t effects, uint32_t pitchAndFamily)
{
    return TextCategory{QString::fromLatin1(face), colour, effects, pitchAndFamily, 204, 200};
}

} // namespace

ConsoleSettings ConsoleSettings::defaults()
{
    ConsoleSettings s;
    s.categories = {
        category("Tahoma", 0xFF0000, 0, 48),
        category("Tahoma", 0x008000, kEffectItalic, 48),
        category("Tahoma", 0x0000FF, 0, 48),
        category("Tahoma", 0, 0, 48),
        category("Courier New", 0xFF0000, kEffectBold, 49),
        category("Courier New", 0, 0, 49),
    };
    s.keywords = SqlColorizer::defaultKeywordList();
    return s;
}

QString categoryName(int index)
{
    static const char* const names[kCategoryCount] = {
        "SQL Keywords", "Comment", "String value", "Other text in the SQL window",
        "Execution results in the result window", "Other text in the result window",
    };
    return index >= 0 && index < kCategoryCount ? QString::fromLatin1(names[index]) : QString();
}

QString categoryPrefix(int index)
{
    if (index < 0 || index >= kCategoryCount)
        return QString();
    return index < 4 ? QStringLiteral("SQLWndTxtProp%1").arg(index) : QStringLiteral("RsltWndTxtProp%1").arg(index - 4);
}

} // namespace qb::console
