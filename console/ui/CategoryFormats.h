#pragma once
// The settings' text categories as Qt formats and fonts, and back from what the font dialog gives.
#include "console/settings/ConsoleSettings.h"

#include <QColor>
#include <QFont>
#include <QTextCharFormat>

namespace qb::console::ui {

QFont categoryFont(const TextCategory& category);
QColor categoryColor(const TextCategory& category);
QTextCharFormat categoryFormat(const TextCategory& category);
// The category with the font's face, size and effects and the colour; the character set and
// pitch-and-family bytes stay as they were.
TextCategory categoryFrom(const TextCategory& old, const QFont& font, const QColor& color);

} // namespace qb::console::ui
