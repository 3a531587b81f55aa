#include "console/ui/TextPane.h"

#include <QFontMetricsF>

namespace qb::console::ui {

double tabStopDistance(uint32_t tabCount, const QFont& font)
{
    return QFontMetricsF(font).averageCharWidth() * tabCount;
}

int tabbedColumn(QStringView text, uint32_t tabCount)
{
    int column = 0;
    for (const QChar c : text) {
        if (c == u'\t' && tabCount > 0)
            column = int((uint32_t(column) / tabCount + 1) * tabCount);
        else
            ++column;
    }
    return column;
}

} // namespace qb::console::ui
