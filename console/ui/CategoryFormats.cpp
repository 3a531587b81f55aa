#include "console/ui/CategoryFormats.h"

namespace qb::console::ui {

QFont categoryFont(const TextCategory& category)
{
    QFont font(category.faceName);
    font.setPointSizeF(category.height > 0 ? category.height / 20.0 : 10.0);
    font.setBold((category.effects & kEffectBold) != 0);
    font.setItalic((category.effects & kEffectItalic) != 0);
    font.setUnderline((category.effects & kEffectUnderline) != 0);
    font.setStrikeOut((category.effects & kEffectStrikeOut) != 0);
    // 49: fixed pitch, modern family (the result window's faces); a table needs equal columns.
    if ((category.pitchAndFamily & 0x3) == 1)
        font.setStyleHint(QFont::TypeWriter);
    return font;
}

QColor categoryColor(const TextCategory& category)
{
    const uint32_t c = category.textColor;
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

QTextCharFormat categoryFormat(const TextCategory& category)
{
    QTextCharFormat format;
    format.setFont(categoryFont(category), QTextCharFormat::FontPropertiesAll);
    format.setForeground(categoryColor(category));
    return format;
}

TextCategory categoryFrom(const TextCategory& old, const QFont& font, const QColor& color)
{
    TextCategory c = old;
    c.faceName = font.family();
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : 10.0;
    c.height = uint32_t(points * 20.0 + 0.5);
    c.effects = (font.bold() ? kEffectBold : 0) | (font.italic() ? kEffectItalic : 0) |
                (font.underline() ? kEffectUnderline : 0) | (font.strikeOut() ? kEffectStrikeOut : 0);
    c.textColor = uint32_t(color.red()) | uint32_t(color.green()) << 8 | uint32_t(color.blue()) << 16;
    return c;
}

} // namespace qb::console::ui
