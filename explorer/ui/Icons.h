#pragma once
// The pictures of the explorer: SVG files compiled into the program (sharp at any scale), or the
// desktop theme's icon of the same meaning where the theme has one.
#include <QIcon>

namespace qb::ui {

// A freedesktop theme name tried first (may be null), then our own file ":/icons/<own>.svg".
QIcon themedIcon(const char* themeName, const char* ownName);
// The icon of an element kind or item by its image index (ElementImage); a null icon for none.
QIcon elementIcon(int imageIndex);
// Report entries: 0 error, 1 information; a null icon for any other kind.
QIcon reportKindIcon(int kind);
QIcon programIcon();

} // namespace qb::ui
